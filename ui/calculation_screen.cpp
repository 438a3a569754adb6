#include "calculation_screen.h"

#include "csv.h"
#include "design_file.h"
#include "file_dialog.h"
#include "widgets.h"

#include <QAction>
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
{
    // Ctrl+E: the screen's inputs and results as CSV for a spreadsheet.
    auto *exportAction = new QAction(QStringLiteral("导出CSV..."), this);
    exportAction->setObjectName(QStringLiteral("exportCsv"));
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addAction(exportAction);
    connect(exportAction, &QAction::triggered, this, [this] {
        const QString path = chooseFile(
            this, {FileDialogRequest::Mode::Save, QStringLiteral("导出CSV"), kCsvFilter, m_calculation.title + ".csv"});
        if (!path.isEmpty())
            exportCsv(path);
    });
}

void CalculationScreen::Command1_Click()
{
    beforeCalculation();
    ensureView();
    m_lastInput = readInput(this, m_calculation);
    m_lastOutcome = m_calculation.calculate(*m_lastInput);
    if (applyOutcome(this, *m_view, *m_lastOutcome))
        m_resultsShown = true;
    m_outOfDate = false;
}

void CalculationScreen::loadInput(const calc::Input &input)
{
    for (const calc::Field &field : m_calculation.fields) {
        if (auto *box = findChild<QLineEdit *>(field.design))
            box->setText(m_calculation.text(input, field.key));
    }
    for (const calc::Check &check : m_calculation.checks) {
        if (auto *box = findChild<QCheckBox *>(check.design))
            box->setChecked(m_calculation.isChecked(input, check.key));
    }
    for (const calc::Choice &choice : m_calculation.choices) {
        const int selected = m_calculation.selected(input, choice.key);
        for (std::size_t i = 0; i < choice.options.size(); ++i) {
            auto *button = findChild<QRadioButton *>(choice.options[i].design);
            if (!button)
                continue;
            if (int(i) == selected)
                button->setChecked(true);
            else if (button->isChecked())
                toolkit::deselect({button});
        }
    }
    resetResults();
}

void CalculationScreen::ensureView()
{
    if (m_view)
        return;
    m_view = outcomeView();
    watchInputs();
}

void CalculationScreen::resetResults()
{
    ensureView();
    for (QLabel *label : resultLabels()) {
        toolkit::setText(label, QString());
        toolkit::setStale(label, false);
        toolkit::setChosen(label, false);
    }
    m_resultsShown = false;
    m_outOfDate = false;
    m_lastInput.reset();
    m_lastOutcome.reset();
}

QVariantMap CalculationScreen::typedState() const
{
    return design::valuesOf(m_calculation, readInput(this, m_calculation));
}

void CalculationScreen::loadState(const QVariantMap &state)
{
    loadInput(design::inputOf(m_calculation, state));
}

bool CalculationScreen::exportCsv(const QString &path)
{
    const calc::Input input = m_lastInput && !m_outOfDate ? *m_lastInput : readInput(this, m_calculation);
    QList<QStringList> rows{
        {QStringLiteral("类别"), QStringLiteral("项目"), QStringLiteral("内容"), QStringLiteral("单位")}};
    rows << QStringList{QStringLiteral("计算"), m_calculation.title, QString(), QString()};
    for (const calc::Field &f : m_calculation.fields)
        rows << QStringList{QStringLiteral("录入"), f.caption, m_calculation.text(input, f.key), f.unit};
    for (const calc::Check &k : m_calculation.checks) {
        rows << QStringList{QStringLiteral("选项"), k.caption,
                            m_calculation.isChecked(input, k.key) ? QStringLiteral("是") : QStringLiteral("否"),
                            QString()};
    }
    for (const calc::Choice &ch : m_calculation.choices) {
        const int selected = m_calculation.selected(input, ch.key);
        rows << QStringList{QStringLiteral("选项"), ch.caption,
                            selected >= 0 ? ch.options[std::size_t(selected)].spoken() : QString(), QString()};
    }
    // The results on show, when they are current.
    const std::optional<calc::Outcome> current
        = m_resultsShown && !m_outOfDate && m_lastInput ? m_lastOutcome : std::nullopt;
    if (current && !current->stopped) {
        for (const calc::Result &r : m_calculation.results) {
            if (current->results.contains(r.key) && r.value)
                rows << QStringList{QStringLiteral("结果"), r.caption, current->results.value(r.key), r.unit};
        }
    }
    if (current) {
        for (const QString &message : current->messages)
            rows << QStringList{QStringLiteral("提示"), message, QString(), QString()};
        if (!current->table.isEmpty()) {
            rows << QStringList();
            QStringList header;
            for (const calc::Result &column : m_calculation.tableColumns)
                header << column.caption;
            rows << header;
            rows += current->table;
        }
    }
    return saveFile(this, path, csv::write(rows, true));
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
    m_outOfDate = true;
    for (QLabel *label : resultLabels())
        toolkit::setStale(label, true);
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
    QLineEdit *box = toolkit::addField(grid, row, captionName, captionOf(textName), textName, column);
    toolkit::watchReading(box);
    return box;
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
    QLineEdit *box
        = toolkit::addFieldWithUnit(grid, row, captionName, captionOf(textName), unitName, unit, textName, column);
    toolkit::watchReading(box);
    return box;
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
    QList<toolkit::Option> options;
    for (const calc::Option &option : choice->options)
        options.append({option.design, option.caption});
    return toolkit::optionGroup(choice->design, choice->caption, options, orientation);
}
