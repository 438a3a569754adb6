#pragma once

#include <QLabel>
#include <QStaticText>

// A result label: its text can be selected and copied, it can be marked out of
// date (drawn in the disabled text colour) or chosen (drawn in the highlight
// colours), and while nothing of it is selected it paints its plain text itself,
// without laying out a text document, so that a table of them fills quickly.
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
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QStaticText m_layout;
    bool m_stale = false;
    bool m_chosen = false;
};
