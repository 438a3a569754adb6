#include "high_pressure_section_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

HighPressureSectionScreen::HighPressureSectionScreen()
    : SectionScreen(QStringLiteral("gyxd"),
                    {"Frame1",
                     {{"Label43", "Label51"},
                      {"Label46", "Label54"},
                      {"Label45", "Label53"},
                      {"Label48", "Label57"},
                      {"Label47", "Label55"},
                      {"Label49", "Label56"}},
                     "Frame6",
                     "Label80",
                     "Text4",
                     "Label81",
                     "Text9",
                     "Command4",
                     "Frame4",
                     QString(),
                     {QStringLiteral("Label20"), QStringLiteral("Label40"), QStringLiteral("Label77")},
                     "Frame5",
                     "Label42",
                     {QStringLiteral("低压管段水力计算"), QStringLiteral("校验低压层流管段管径"),
                      QStringLiteral("管网水力计算表"), QStringLiteral("管网计算")}})
{
    build();
    m_steel->setChecked(true);
}

int HighPressureSectionScreen::numberWidth() const
{
    const QFontMetrics metrics = fontMetrics();
    return std::max(metrics.horizontalAdvance(QStringLiteral("-8.88888888888888E-308")),
                    metrics.horizontalAdvance(calc::noEndPressureText()))
        + metrics.averageCharWidth();
}

QGroupBox *HighPressureSectionScreen::buildResults()
{
    using namespace toolkit;
    const calc::Calculation &calc = calculation();
    // The pre-selected diameter takes the place of the given diameter's two results; only one set shows.
    QGroupBox *results = frame("Frame3", QStringLiteral("得出结果"));
    auto *grid = new QGridLayout(results);
    const struct
    {
        const char *caption;
        const char *key;
        int row;
    } rows[] = {{"Label78", "given_unit_drop", 0},
                {"Label79", "given_end_pressure", 1},
                {"Label50", "preselected_diameter", 0}};
    for (const auto &row : rows) {
        const calc::Result *result = calc.result(QString::fromLatin1(row.key));
        QLabel *caption = label(row.caption, result->caption);
        QLabel *value = resultLabel(result->design.toLatin1().constData());
        grid->addWidget(caption, row.row, 0);
        grid->addWidget(value, row.row, 1);
        (row.key == std::string_view("preselected_diameter") ? m_preselectLabels : m_givenLabels) << caption << value;
    }
    grid->setColumnMinimumWidth(1, numberWidth());
    return results;
}

QList<QStringList> HighPressureSectionScreen::widestCells() const
{
    return {{QStringLiteral("1220")}, toolkit::widestNumbers(), toolkit::widestNumbers() << calc::noEndPressureText()};
}

void HighPressureSectionScreen::arrangeTable(QGridLayout *grid, QGroupBox *banner)
{
    grid->setHorizontalSpacing(2 * fontMetrics().averageCharWidth());
    for (int row = 1; row <= int(m_cells.size()); ++row)
        grid->setRowMinimumHeight(row, m_headers.front()->sizeHint().height());
    grid->setColumnMinimumWidth(1, numberWidth());
    grid->setColumnMinimumWidth(2, numberWidth());
    // The banner panel lies over the middle of the empty table.
    grid->addWidget(banner, 1, 0, int(m_cells.size()), 3, Qt::AlignCenter);
}

void HighPressureSectionScreen::showFreshResults()
{
    for (QLabel *l : m_givenLabels + m_preselectLabels)
        l->hide();
}
