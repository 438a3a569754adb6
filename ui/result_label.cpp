#include "result_label.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

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
    painter.fillRect(event->rect(), m_chosen ? backgroundColor() : palette().color(backgroundRole()));
    // A selection is drawn by the label's own text control.
    if (hasSelectedText() || hasFocus()) {
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    painter.setPen(textColor());
    const QRect room = contentsRect();
    if ((alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft || !(alignment() & Qt::AlignVCenter)) {
        painter.drawText(room, int(alignment()) | Qt::TextSingleLine, text());
        return;
    }
    // One line from the left, centred in height. Its layout is kept until the text or the font
    // changes, so a label that only turns current or out of date paints at once.
    if (m_layout.text() != text()) {
        m_layout.setText(text());
        m_layout.setTextFormat(Qt::PlainText);
        m_layout.prepare(QTransform(), font());
    }
    const QFontMetrics metrics = fontMetrics();
    painter.drawStaticText(QPointF(room.left(), room.top() + (room.height() - metrics.height()) / 2.0), m_layout);
}

void ResultLabel::changeEvent(QEvent *event)
{
    // A new font lays the text out anew.
    if (event->type() == QEvent::FontChange)
        m_layout = QStaticText();
    QLabel::changeEvent(event);
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
