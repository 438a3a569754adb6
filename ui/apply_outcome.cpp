#include "apply_outcome.h"

#include "message_box.h"
#include "widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

calc::Input readInput(const QWidget *screen, const calc::Calculation &calculation)
{
    calc::Input input;
    for (const calc::Field &field : calculation.fields) {
        if (const auto *box = screen->findChild<QLineEdit *>(field.design))
            input.texts.insert(field.key, box->text());
    }
    for (const calc::Choice &choice : calculation.choices) {
        int selected = -1;
        for (std::size_t i = 0; i < choice.options.size(); ++i) {
            const auto *option = screen->findChild<QRadioButton *>(choice.options[i].design);
            if (option && option->isChecked())
                selected = int(i);
        }
        input.choices.insert(choice.key, selected);
    }
    for (const calc::Check &check : calculation.checks) {
        if (const auto *box = screen->findChild<QCheckBox *>(check.design))
            input.checks.insert(check.key, box->isChecked());
    }
    return input;
}

OutcomeView resultView(const QWidget *screen, const calc::Calculation &calculation)
{
    OutcomeView view;
    for (const calc::Result &result : calculation.results) {
        if (auto *label = screen->findChild<QLabel *>(result.design))
            view.results.insert(result.key, label);
    }
    return view;
}

namespace {

void write(QLabel *label, const QString &text)
{
    toolkit::setText(label, text);
    toolkit::setStale(label, false);
}

} // namespace

bool applyOutcome(QWidget *screen, const OutcomeView &view, const calc::Outcome &outcome)
{
    bool wrote = false;
    if (!outcome.table.isEmpty()) {
        for (int row = 0; row < outcome.table.size() && row < view.table.size(); ++row) {
            const QStringList &texts = outcome.table[row];
            const QList<QLabel *> &cells = view.table[row];
            for (int column = 0; column < texts.size() && column < cells.size(); ++column)
                write(cells[column], texts[column]);
        }
        wrote = true;
        if (view.tableFilled)
            view.tableFilled();
    }
    if (outcome.mode != calc::SectionMode::Unchanged && view.showMode)
        view.showMode(outcome.mode);
    for (const QString &message : outcome.messages)
        showMessage(screen, message);
    if (outcome.stopped)
        return wrote;
    for (auto it = outcome.results.constBegin(); it != outcome.results.constEnd(); ++it) {
        if (QLabel *label = view.results.value(it.key())) {
            write(label, it.value());
            wrote = true;
        }
    }
    if (outcome.chosenRow && view.chooseRow)
        view.chooseRow(*outcome.chosenRow, outcome.overAllowance);
    return wrote;
}
