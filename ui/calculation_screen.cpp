#include "calculation_screen.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const calc::Calculation &described(const QString &code)
{
    const calc::Calculation *calculation = calc::find(code);
    Q_ASSERT(calculation);
    return *calculation;
}

} // namespace

CalculationScreen::CalculationScreen(const QString &code, const QString &caption, Border border)
    : Screen(code, caption.isEmpty() ? described(code).title : caption, border)
    , m_calculation(described(code))
{}

void CalculationScreen::Command1_Click()
{
    beforeCalculation();
    if (!m_view) {
        m_view = outcomeView();
        watchInputs();
    }
    if (applyOutcome(this, *m_view, m_calculation.calculate(readInput(this, m_calculation))))
        m_resultsShown = true;
}

void CalculationScreen::watchInputs()
{
    for (const calc::Field &field : m_calculation.fields) {
        if (auto *box = findChild<QLineEdit *>(field.design))
            connect(box, &QLineEdit::textChanged, this, &CalculationScreen::inputChanged);
    }
    for (const calc::Check &check : m_calculation.checks) {
        if (auto *box = findChild<QCheckBox *>(check.design))
            connect(box, &QCheckBox::toggled, this, &CalculationScreen::inputChanged);
    }
    for (const calc::Choice &choice : m_calculation.choices) {
        for (const calc::Option &option : choice.options) {
            if (auto *button = findChild<QRadioButton *>(option.design))
                connect(button, &QRadioButton::toggled, this, &CalculationScreen::inputChanged);
        }
    }
}

void CalculationScreen::inputChanged()
{
    if (!m_resultsShown)
        return;
    for (QLabel *label : resultLabels())
        setStale(label, true);
}

QList<QLabel *> CalculationScreen::resultLabels() const
{
    if (!m_view)
        return {};
    QList<QLabel *> labels = m_view->results.values();
    for (const QList<QLabel *> &row : m_view->table)
        labels += row;
    return labels;
}

OutcomeView CalculationScreen::outcomeView() const
{
    return resultView(this, m_calculation);
}

QString CalculationScreen::captionOf(const char *design) const
{
    const QString name = QString::fromLatin1(design);
    for (const calc::Field &f : m_calculation.fields) {
        if (f.design == name)
            return f.caption;
    }
    for (const calc::Result &r : m_calculation.results) {
        if (r.design == name)
            return r.caption;
    }
    Q_ASSERT_X(false, "CalculationScreen::captionOf", design);
    return {};
}

QLineEdit *CalculationScreen::addField(QGridLayout *grid, int row, const char *captionName, const char *textName,
                                       int column)
{
    return toolkit::addField(grid, row, captionName, captionOf(textName), textName, column);
}

QLineEdit *CalculationScreen::addFieldWithUnit(QGridLayout *grid, int row, const char *captionName,
                                               const char *unitName, const char *textName, int column)
{
    const QString name = QString::fromLatin1(textName);
    QString unit;
    for (const calc::Field &f : m_calculation.fields) {
        if (f.design == name)
            unit = f.unitText;
    }
    return toolkit::addFieldWithUnit(grid, row, captionName, captionOf(textName), unitName, unit, textName, column);
}

QLabel *CalculationScreen::addResult(QGridLayout *grid, int row, const char *captionName, const char *resultName,
                                     int column)
{
    return toolkit::addResult(grid, row, captionName, captionOf(resultName), resultName, column);
}

QGroupBox *CalculationScreen::choiceFrame(const char *key, Qt::Orientation orientation) const
{
    const calc::Choice *choice = m_calculation.choice(QString::fromLatin1(key));
    Q_ASSERT(choice);
    QGroupBox *frame = toolkit::frame(choice->design.toLatin1().constData(), choice->caption);
    auto *box
        = new QBoxLayout(orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, frame);
    for (const calc::Option &option : choice->options)
        box->addWidget(toolkit::optionButton(option.design.toLatin1().constData(), option.caption));
    return frame;
}
