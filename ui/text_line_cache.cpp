#include "text_line_cache.h"

#include <QList>
#include <QTextLayout>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The glyph runs of a text laid out on one unbounded line from the origin, as
// QStaticText lays out plain text, and the height of that line.
QList<QGlyphRun> laidOut(const QString &text, const QFont &font, qreal *height = nullptr)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    if (height)
        *height = layout.boundingRect().height();
    return layout.glyphRuns();
}

// Characters that a left-to-right line keeps in their order.
bool leftToRight(QChar c)
{
    switch (c.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
        return true;
    default:
        return false;
    }
}

} // namespace

TextLineCache &TextLineCache::of(const QFont &font, int dpi)
{
    static std::vector<std::unique_ptr<TextLineCache>> caches;
    for (const auto &cache : caches) {
        if (cache->m_font == font && cache->m_dpi == dpi)
            return *cache;
    }
    caches.push_back(std::make_unique<TextLineCache>(font, dpi));
    return *caches.back();
}

TextLineCache::TextLineCache(const QFont &font, int dpi)
    : m_font(font)
    , m_dpi(dpi)
{}

const TextLineCache::Glyph &TextLineCache::glyph(QChar c)
{
    const auto found = m_glyphs.constFind(c.unicode());
    if (found != m_glyphs.constEnd())
        return *found;
    // The font's own engine is the one that draws its digits; glyphs from a fallback font are not placed here.
    if (!m_rawFont.isValid()) {
        const QList<QGlyphRun> digit = laidOut(QStringLiteral("0"), m_font, &m_height);
        if (digit.size() != 1 || digit[0].positions().size() != 1)
            return *m_glyphs.insert(c.unicode(), Glyph{});
        m_rawFont = digit[0].rawFont();
        m_ascent = digit[0].positions().constFirst().y();
    }
    Glyph g;
    if (c.isPrint() && !c.isSpace() && !c.isMark() && !c.isSurrogate() && leftToRight(c)) {
        const QList<QGlyphRun> runs = laidOut(QString(c), m_font);
        if (runs.size() == 1 && runs[0].glyphIndexes().size() == 1) {
            const QGlyphRun &run = runs[0];
            if (run.rawFont() == m_rawFont && run.positions().constFirst() == QPointF(0, m_ascent)) {
                g.index = run.glyphIndexes().constFirst();
                g.advance = m_rawFont.advancesForGlyphIndexes(QList<quint32>{g.index}).value(0).x();
                g.plain = true;
            }
        }
    }
    return *m_glyphs.insert(c.unicode(), g);
}

bool TextLineCache::plainPair(QChar first, QChar second)
{
    const quint32 key = (quint32(first.unicode()) << 16) | second.unicode();
    const auto found = m_pairs.constFind(key);
    if (found != m_pairs.constEnd())
        return *found;
    const Glyph a = glyph(first);
    const Glyph b = glyph(second);
    bool plain = false;
    if (a.plain && b.plain) {
        const QList<QGlyphRun> runs = laidOut(QString(first) + second, m_font);
        plain = runs.size() == 1 && runs[0].rawFont() == m_rawFont
            && runs[0].glyphIndexes() == QList<quint32>{a.index, b.index}
            && runs[0].positions() == QList<QPointF>{QPointF(0, m_ascent), QPointF(a.advance, m_ascent)};
    }
    m_pairs.insert(key, plain);
    return plain;
}

std::optional<QGlyphRun> TextLineCache::line(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    qreal x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Glyph g = glyph(text[i]);
        if (!g.plain || (i > 0 && !plainPair(text[i - 1], text[i])))
            return std::nullopt;
        indexes.append(g.index);
        positions.append(QPointF(x, m_ascent));
        x += g.advance;
    }
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    return run;
}
