#pragma once

#include "apply_outcome.h"
#include "calculation.h"
#include "screen.h"
#include "work_screen.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;

// A screen of one calculation: its captions and units come from the
// calculation's description, and "计算" reads the screen, runs the calculation
// and applies the outcome.
class CalculationScreen : public Screen, public WorkScreen
{
    Q_OBJECT

public:
    // The window caption is the calculation's title unless one is given.
    explicit CalculationScreen(const QString &code, const QString &caption = QString(), Border border = Border::Fixed);

    const calc::Calculation &calculation() const { return m_calculation; }

    // "计算": read, run, show.
    void Command1_Click();

    QVariantMap typedState() const override;
    // Sets every text, option and check box as the state says; the results then
    // show what a fresh screen shows, until the next "计算".
    void loadState(const QVariantMap &state) override;
    // The screen as CSV: inputs, choices, results and messages with captions and
    // units, and the table; with a byte-order mark. False (after a message) when it cannot be written.
    bool exportCsv(const QString &path);

protected:
    // What a press changes before anything is read (the section screens' banner).
    virtual void beforeCalculation() {}
    // Where the outcome shows; by default the result labels of the description.
    virtual OutcomeView outcomeView() const;
    // An input text, option or check box has changed.
    virtual void inputChanged();
    // The result labels as on a fresh screen.
    virtual void resetResults();

    // The caption of the field, result or choice with that design name.
    QString captionOf(const char *design) const;

    // A caption label and the field's text box, captioned as its description says.
    QLineEdit *addField(QGridLayout *grid, int row, const char *captionName, const char *textName, int column = 0);
    // The same with the unit label under the caption.
    QLineEdit *addFieldWithUnit(QGridLayout *grid, int row, const char *captionName, const char *unitName,
                                const char *textName, int column = 0);
    // A caption and the result label with that design name.
    QLabel *addResult(QGridLayout *grid, int row, const char *captionName, const char *resultName, int column = 0);
    // The frame of a choice, with its options.
    QGroupBox *choiceFrame(const char *key, Qt::Orientation orientation = Qt::Horizontal) const;

    // The result labels and table cells of the screen.
    QList<QLabel *> resultLabels() const;

private:
    void loadInput(const calc::Input &input);
    // Finds the result labels and watches the inputs, the first time either is needed.
    void ensureView();
    // Watches the inputs, so that results turn out of date when one changes.
    void watchInputs();

    const calc::Calculation &m_calculation;
    mutable std::optional<OutcomeView> m_view;
    bool m_resultsShown = false;
    bool m_outOfDate = false;
    std::optional<calc::Input> m_lastInput;
    std::optional<calc::Outcome> m_lastOutcome;
};
