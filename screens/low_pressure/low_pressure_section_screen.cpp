#include "low_pressure_section_screen.h"

#include "hs.h"
#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

QStringList stateTexts()
{
    return {QString::fromUtf8(hs::FlowStateText(hs::FlowState::Laminar)),
            QString::fromUtf8(hs::FlowStateText(hs::FlowState::Critical)),
            QString::fromUtf8(hs::FlowStateText(hs::FlowState::Turbulent))};
}

} // namespace

LowPressureSectionScreen::LowPressureSectionScreen()
    : SectionScreen(
        QStringLiteral("xd"),
        {"Frame2",
         {{"Label81", "Label89"}, {"Label82", "Label91"}, {"Label83", "Label90"}, {"Label84", "Label92"}},
         "Frame4",
         "Label85",
         "Text1",
         "Label93",
         "Text6",
         "Command4",
         "Frame3",
         QStringLiteral("数据区"),
         {QStringLiteral("Label20"), QStringLiteral("Label40"), QStringLiteral("Label60"), QStringLiteral("Label80")},
         "Frame7",
         "Label88",
         {QStringLiteral("中高压管段水力计算"), QStringLiteral("校验低压层流管段管径"),
          QStringLiteral("管网水力计算表"), QStringLiteral("管网计算")}})
{
    build();
}

QGroupBox *LowPressureSectionScreen::buildResults()
{
    using namespace toolkit;
    const calc::Calculation &calc = calculation();
    QGroupBox *results = frame("Frame6", QStringLiteral("得出结果"));
    auto *grid = new QGridLayout(results);
    const QStringList keys{QStringLiteral("given_reynolds"), QStringLiteral("given_state"),
                           QStringLiteral("given_unit_drop")};
    const char *headerNames[] = {"Label97", "Label98", "Label99"};
    QList<QLabel *> headers;
    QList<QLabel *> values;
    for (int i = 0; i < keys.size(); ++i) {
        const calc::Result *result = calc.result(keys[i]);
        headers << label(headerNames[i], result->caption);
        const QByteArray design = result->design.toLatin1();
        values << resultCell(design.constData(), i == 1 ? stateTexts() : widestNumbers());
        grid->addWidget(headers.back(), 0, i);
        grid->addWidget(values.back(), 1, i);
    }
    const calc::Result *caption = calc.result(QStringLiteral("preselected_caption"));
    const calc::Result *preselected = calc.result(QStringLiteral("preselected_diameter"));
    QLabel *captionLabel = resultCell(caption->design.toLatin1().constData(), {caption->caption});
    QLabel *preselectedLabel = resultCell(preselected->design.toLatin1().constData(), {QStringLiteral("630")});
    // The pre-selected diameter shares the band of the given diameter's values:
    // one set shows at a time, and the frame keeps its size when they swap.
    grid->addWidget(captionLabel, 1, 0);
    grid->addWidget(preselectedLabel, 1, 1, 1, 2);
    m_givenLabels = values + headers;
    m_preselectLabels = {preselectedLabel, captionLabel};
    return results;
}

QList<QStringList> LowPressureSectionScreen::widestCells() const
{
    return {{QStringLiteral("630")}, toolkit::widestNumbers(), stateTexts(), toolkit::widestNumbers()};
}

void LowPressureSectionScreen::arrangeTable(QGridLayout *grid, QGroupBox *banner)
{
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(12);
    // The banner lies over the middle columns of the table.
    grid->addWidget(banner, 1, 1, int(m_cells.size()), 2);
}

void LowPressureSectionScreen::Form_Load()
{
    m_steel->setChecked(true);
    SectionScreen::Form_Load();
}

void LowPressureSectionScreen::showFreshResults()
{
    for (QLabel *l : m_givenLabels + m_preselectLabels)
        l->show();
    // The headers of the given diameter's values wait for their mode.
    for (QLabel *header : m_givenLabels.mid(3))
        header->hide();
}
