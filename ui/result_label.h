#pragma once

#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QStaticText>

#include <optional>

class TextLineCache;

// A result label: its text can be selected and copied, it can be marked out of
// date (drawn in the disabled text colour) or chosen (drawn in the highlight
// colours), and while nothing of it is selected it paints its plain text itself,
// without laying out a text document, so that a table of them fills quickly.
// The pixels of its last two looks of the same text are kept, so a label that
// only turns current or out of date again is copied, not drawn anew.
class ResultLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ResultLabel(const QString &name);

    bool isStale() const { return m_stale; }
    bool isChosen() const { return m_chosen; }
    // Each sets the dynamic property of the same name ("stale", "chosen") too.
    void setStale(bool stale);
    void setChosen(bool chosen);

    // The colour the text is drawn in, and the background (invalid: none).
    QColor textColor() const;
    QColor backgroundColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // What a look was drawn from, and the pixels it left in the window's backing store.
    struct Look
    {
        QString text;
        QRgb pen = 0;
        QRgb background = 0;
        qreal scale = 1;
        QImage pixels;
    };

    const Look *keptLook(QRgb pen, QRgb background, qreal scale) const;
    // Drops every layout and look, for a new font or screen resolution.
    void forgetDrawing();
    void keepLook(const QPainter &painter, const QPaintEvent *event, QRgb pen, QRgb background);

    // The text as last laid out: as glyphs placed from the font's cache, or else as a static text.
    QString m_laidOut;
    std::optional<QGlyphRun> m_glyphs;
    QStaticText m_layout;
    TextLineCache *m_lineCache = nullptr;
    QList<Look> m_looks;
    // The logical resolution the layouts and looks were made at.
    int m_dpi = 0;
    bool m_stale = false;
    bool m_chosen = false;
};
