#include "section_screen.h"

#include "appearance.h"
#include "copying.h"
#include "pd.h"
#include "widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The first label of a table column, from its range "Label21..Label39".
int firstLabelNumber(const QString &range)
{
    return range.section(QStringLiteral(".."), 0, 0).mid(5).toInt();
}

} // namespace

SectionScreen::SectionScreen(const QString &code, const Names &names)
    : CalculationScreen(code)
    , m_names(names)
{}

void SectionScreen::build()
{
    using namespace toolkit;
    const calc::Calculation &calc = calculation();
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *left = new QVBoxLayout;
    layout->addLayout(left);

    // The inputs in two columns, each caption with its unit under it; their
    // reading order is the order of Tab.
    QList<QWidget *> tabChain;
    QGroupBox *input = frame(m_names.inputFrame, QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    for (int i = 0; i < m_names.fields.size(); ++i) {
        const calc::Field &field = calc.fields[std::size_t(i)];
        tabChain << addFieldWithUnit(inputGrid, 2 * (i / 2), m_names.fields[i].first, m_names.fields[i].second,
                                     field.design.toLatin1().constData(), 2 * (i % 2));
    }
    left->addWidget(input);

    QGroupBox *materials = choiceFrame("material");
    const QList<QRadioButton *> materialOptions = materials->findChildren<QRadioButton *>();
    m_steel = materialOptions.value(0);
    tabChain << QList<QWidget *>(materialOptions.begin(), materialOptions.end());
    left->addWidget(materials);

    const calc::Check &check = calc.checks.front();
    m_check = checkBox(check.design.toLatin1().constData(), check.caption);
    left->addWidget(m_check);

    // The two mode options carry no text of their own; the label beside each names it.
    const calc::Choice *modeChoice = calc.choice(QStringLiteral("mode"));
    QGroupBox *modes = frame(m_names.modeFrame, modeChoice->caption);
    auto *modeGrid = new QGridLayout(modes);
    QRadioButton *preselect = optionButton(modeChoice->options[0].design.toLatin1().constData());
    QLineEdit *allowance = addOptionField(modeGrid, 0, preselect, m_names.preselectCaption,
                                          captionOf(m_names.preselectField), m_names.preselectField);
    QRadioButton *given = optionButton(modeChoice->options[1].design.toLatin1().constData());
    QLineEdit *diameter
        = addOptionField(modeGrid, 1, given, m_names.givenCaption, captionOf(m_names.givenField), m_names.givenField);
    left->addWidget(modes);
    toolkit::watchReading(allowance);
    toolkit::watchReading(diameter);
    tabChain << m_check << preselect << allowance << given << diameter;

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    QPushButton *back = commandButton(m_names.backButton, QStringLiteral("返回"));
    left->addLayout(buttonRow(calculate, back));
    tabChain << calculate << back;

    left->addWidget(buildResults());
    const QList<QLabel *> modeLabels = m_givenLabels + m_preselectLabels;
    for (QLabel *l : modeLabels) {
        QSizePolicy policy = l->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        l->setSizePolicy(policy);
    }
    left->addStretch();

    // The table: headers over 19 rows of cells that keep their size.
    QGroupBox *table = frame(m_names.tableFrame, m_names.tableCaption);
    auto *tableGrid = new QGridLayout(table);
    const QList<QStringList> widest = widestCells();
    for (int column = 0; column < int(calc.tableColumns.size()); ++column) {
        const calc::Result &col = calc.tableColumns[std::size_t(column)];
        QLabel *header = label(m_names.headerNames[column].toLatin1().constData(), col.caption);
        m_headers << header;
        tableGrid->addWidget(header, 0, column);
    }
    const int rows = int(pd::kLowPressureSection.size());
    for (int row = 0; row < rows; ++row) {
        QList<QLabel *> cells;
        for (int column = 0; column < int(calc.tableColumns.size()); ++column) {
            const int number = firstLabelNumber(calc.tableColumns[std::size_t(column)].design) + row;
            QLabel *cell = resultCell(("Label" + QByteArray::number(number)).constData(), widest[column]);
            tableGrid->addWidget(cell, row + 1, column);
            cells << cell;
        }
        m_cells << cells;
    }
    m_copyTable = copyTableAction(table, QList<QList<QLabel *>>{m_headers} + m_cells);
    // Beside "复制表格": the whole screen as CSV (Ctrl+E).
    if (auto *exportCsv = findChild<QAction *>(QStringLiteral("exportCsv")))
        table->addAction(exportCsv);

    // The banner lies over the table until the first calculation.
    m_banner = banner(m_names.bannerFrame, m_names.bannerLabel, Qt::Vertical);
    m_banner->setAutoFillBackground(true);
    m_bannerText = m_banner->findChild<QLabel *>(QString::fromLatin1(m_names.bannerLabel));
    m_bannerText->setFont(heiti(15));
    arrangeTable(tableGrid, m_banner);
    m_banner->raise();
    // The cells keep their size: room the window has to spare goes below the last row.
    tableGrid->setRowStretch(rows + 1, 1);
    layout->addWidget(table);

    QMenuBar *bar = menuBar(this);
    for (const QString &item : m_names.menuItems)
        menuItem(bar, item);

    for (qsizetype i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1], tabChain[i]);

    m_modes = std::make_unique<SectionModes>(m_check, preselect, allowance, given, diameter, modeLabels);

    connect(m_check, &QCheckBox::clicked, this, &SectionScreen::Check1_Click);
    connect(preselect, &QRadioButton::clicked, this, &SectionScreen::Option4_Click);
    connect(given, &QRadioButton::clicked, this, &SectionScreen::Option5_Click);
    connect(calculate, &QPushButton::clicked, this, &SectionScreen::Command1_Click);
}

void SectionScreen::Form_Load()
{
    m_modes->load();
    showFreshResults();
}

void SectionScreen::resetResults()
{
    CalculationScreen::resetResults();
    choose(-1);
    m_banner->show();
    m_bannerText->show();
    m_copyTable->setEnabled(false);
    showFreshResults();
    m_modes->sync();
}

void SectionScreen::Check1_Click()
{
    choose(-1);
    m_modes->checkClicked();
}

void SectionScreen::Option4_Click()
{
    choose(-1);
    m_modes->preselectClicked();
}

void SectionScreen::Option5_Click()
{
    choose(-1);
    m_modes->givenClicked();
}

void SectionScreen::inputChanged()
{
    choose(-1);
    CalculationScreen::inputChanged();
}

void SectionScreen::choose(int row, const QString &excess)
{
    if (row != m_chosenRow && m_chosenRow >= 0) {
        for (QLabel *cell : m_cells[m_chosenRow]) {
            toolkit::setChosen(cell, false);
            toolkit::setOverAllowance(cell, QString());
        }
    }
    m_chosenRow = row;
    if (row >= 0) {
        for (QLabel *cell : m_cells[row]) {
            toolkit::setChosen(cell, true);
            toolkit::setOverAllowance(cell, excess);
        }
    }
}

void SectionScreen::beforeCalculation()
{
    choose(-1);
    // The banner goes for good at the first press, whatever the input.
    m_bannerText->hide();
    m_banner->hide();
}

OutcomeView SectionScreen::outcomeView() const
{
    OutcomeView view = CalculationScreen::outcomeView();
    view.table = m_cells;
    view.tableFilled = [action = m_copyTable] { action->setEnabled(true); };
    view.showMode = [this](calc::SectionMode mode) { const_cast<SectionScreen *>(this)->showMode(mode); };
    view.chooseRow = [this](int row, const QString &excess) { const_cast<SectionScreen *>(this)->choose(row, excess); };
    return view;
}

void SectionScreen::showMode(calc::SectionMode mode)
{
    const bool given = mode == calc::SectionMode::Given;
    for (QLabel *l : m_givenLabels)
        l->setVisible(given);
    for (QLabel *l : m_preselectLabels)
        l->setVisible(!given);
}
