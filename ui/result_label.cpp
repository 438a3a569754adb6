#include "result_label.h"

#include "text_line_cache.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

#include <cmath>

ResultLabel::ResultLabel(const QString &name)
{
    setObjectName(name);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The label fills its own background, so a new text repaints no widget beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResultLabel::setStale(bool stale)
{
    if (m_stale == stale)
        return;
    m_stale = stale;
    setProperty("stale", stale);
    update();
}

void ResultLabel::setChosen(bool chosen)
{
    if (m_chosen == chosen)
        return;
    m_chosen = chosen;
    setProperty("chosen", chosen);
    update();
}

QColor ResultLabel::textColor() const
{
    if (m_chosen)
        return palette().color(QPalette::HighlightedText);
    if (m_stale)
        return palette().color(QPalette::Disabled, QPalette::WindowText);
    return palette().color(QPalette::WindowText);
}

QColor ResultLabel::backgroundColor() const
{
    return m_chosen ? palette().color(QPalette::Highlight) : QColor();
}

void ResultLabel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QColor background = m_chosen ? backgroundColor() : palette().color(backgroundRole());
    // A selection is drawn by the label's own text control.
    if (hasSelectedText() || hasFocus()) {
        painter.fillRect(event->rect(), background);
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    const QColor pen = textColor();
    const QRect room = contentsRect();
    if ((alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft || !(alignment() & Qt::AlignVCenter)) {
        painter.fillRect(event->rect(), background);
        painter.setPen(pen);
        painter.drawText(room, int(alignment()) | Qt::TextSingleLine, text());
        return;
    }
    // A screen of another resolution draws every text anew.
    if (logicalDpiY() != m_dpi) {
        m_dpi = logicalDpiY();
        forgetDrawing();
    }
    // The same text in a look drawn before: its pixels, one to one.
    if (const Look *look = keptLook(pen.rgba(), background.rgba(), painter.deviceTransform().m11())) {
        painter.setWorldTransform(QTransform::fromScale(1 / look->scale, 1 / look->scale));
        if (painter.deviceTransform().type() <= QTransform::TxTranslate) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QPoint(0, 0), look->pixels);
            return;
        }
        painter.resetTransform();
    }
    painter.fillRect(event->rect(), background);
    painter.setPen(pen);
    // One line from the left, centred in height as a label centres it: by the height of the
    // line, which a character from a fallback font (a CJK one among Latin digits) makes taller.
    // Its layout is kept until the text or the font changes, so a label that only turns current
    // or out of date paints at once. Glyphs are placed for the screen this label is on, one to one.
    const QPaintDevice *device = painter.device();
    const bool unscaled = painter.deviceTransform().type() <= QTransform::TxTranslate
        && device->logicalDpiX() == logicalDpiX() && device->logicalDpiY() == logicalDpiY();
    if (!m_lineCache || m_laidOut != text()) {
        if (!m_lineCache)
            m_lineCache = &TextLineCache::of(font(), logicalDpiY());
        m_laidOut = text();
        m_glyphs = m_lineCache->line(m_laidOut);
        m_layout = QStaticText();
    }
    if (m_glyphs && unscaled) {
        painter.drawGlyphRun(QPointF(room.left(), room.top() + (room.height() - m_lineCache->lineHeight()) / 2.0),
                             *m_glyphs);
    } else {
        if (m_layout.text() != m_laidOut) {
            m_layout.setText(m_laidOut);
            m_layout.setTextFormat(Qt::PlainText);
            m_layout.prepare(QTransform(), font());
        }
        painter.drawStaticText(QPointF(room.left(), room.top() + (room.height() - m_layout.size().height()) / 2.0),
                               m_layout);
    }
    keepLook(painter, event, pen.rgba(), background.rgba());
}

const ResultLabel::Look *ResultLabel::keptLook(QRgb pen, QRgb background, qreal scale) const
{
    for (const Look &look : m_looks) {
        if (look.pen == pen && look.background == background && look.scale == scale && look.text == text())
            return &look;
    }
    return nullptr;
}

void ResultLabel::keepLook(const QPainter &painter, const QPaintEvent *event, QRgb pen, QRgb background)
{
    // Only what this label drew alone over all of itself, straight into the window's
    // backing store at whole pixels: a partial paint, a translucent background, a
    // rendering into a picture (grab, effects) or a fractional scale keeps nothing.
    if (qAlpha(background) != 255 || !(QRegion(rect()) - event->region()).isEmpty())
        return;
    const QPaintEngine *engine = painter.paintEngine();
    QBackingStore *store = backingStore();
    QPaintDevice *target = engine ? engine->paintDevice() : nullptr;
    if (!target || !store || target != store->paintDevice() || target->devType() != QInternal::Image)
        return;
    const QTransform toDevice = painter.deviceTransform();
    const qreal scale = toDevice.m11();
    if (toDevice.type() > QTransform::TxScale || toDevice.m22() != scale || scale != std::floor(scale))
        return;
    const QRectF area = toDevice.mapRect(QRectF(rect()));
    const QRect pixels = area.toAlignedRect();
    const auto *image = static_cast<const QImage *>(target);
    if (QRectF(pixels) != area || !image->rect().contains(pixels))
        return;
    m_looks.removeIf([this](const Look &look) { return look.text != text(); });
    if (m_looks.size() >= 2)
        m_looks.removeFirst();
    // Kept as plain device pixels: drawn one to one under the inverse of the scale.
    QImage kept = image->copy(pixels);
    kept.setDevicePixelRatio(1);
    m_looks.append(Look{text(), pen, background, scale, kept});
}

void ResultLabel::changeEvent(QEvent *event)
{
    // A new font lays the text out anew; a new font, style or palette draws it anew.
    if (event->type() == QEvent::FontChange)
        forgetDrawing();
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange
        || event->type() == QEvent::ContentsRectChange)
        m_looks.clear();
    QLabel::changeEvent(event);
}

void ResultLabel::forgetDrawing()
{
    m_lineCache = nullptr;
    m_laidOut = QString();
    m_glyphs.reset();
    m_layout = QStaticText();
    m_looks.clear();
}

void ResultLabel::resizeEvent(QResizeEvent *event)
{
    m_looks.clear();
    QLabel::resizeEvent(event);
}

void ResultLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void ResultLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}
