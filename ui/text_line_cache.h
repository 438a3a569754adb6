#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>

#include <optional>

// One line of plain text in one font, placed without shaping it anew each time.
// What Qt's text layout does with each character (its glyph and advance) and with
// each pair of neighbours is learnt once per font, from the layout itself; a text
// whose characters and pairs all come out as plain glyphs side by side is then
// placed by adding advances, exactly where the layout would put it. Anything else
// (a character from a fallback font, kerning, ligatures, marks, right-to-left
// text) is not placed here and is left to the layout.
class TextLineCache
{
public:
    // The cache of a font on screens of a logical resolution, kept for the life of the program.
    static TextLineCache &of(const QFont &font, int dpi);

    TextLineCache(const QFont &font, int dpi);

    // The glyphs of the text with their positions, the baseline at the line's
    // ascent, as QStaticText or QTextLayout would draw them from the same origin;
    // nothing when the text needs the layout.
    std::optional<QGlyphRun> line(const QString &text);
    // The height of such a line, leading included, as QStaticText::size() gives it.
    qreal lineHeight() const { return m_height; }

private:
    struct Glyph
    {
        bool plain = false;
        quint32 index = 0;
        qreal advance = 0;
    };

    const Glyph &glyph(QChar c);
    bool plainPair(QChar first, QChar second);

    QFont m_font;
    int m_dpi = 0;
    QRawFont m_rawFont;
    qreal m_ascent = 0;
    qreal m_height = 0;
    QHash<char16_t, Glyph> m_glyphs;
    QHash<quint32, bool> m_pairs;
};
