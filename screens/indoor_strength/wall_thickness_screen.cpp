#include "wall_thickness_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

WallThicknessScreen::WallThicknessScreen()
    : Screen(QStringLiteral("bh"), QStringLiteral("Form1"), Border::Sizeable)
{
    using namespace toolkit;
    // A sizeable window: the layout sets the minimum size only.
    auto *layout = new QVBoxLayout(this);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_diameter = addField(inputGrid, 0, "Label1", QStringLiteral("内径(mm):"), "Text1");
    m_pressure = addField(inputGrid, 0, "Label2", QStringLiteral("设计压力(MPa):"), "Text2", 2);
    m_corrosion = addField(inputGrid, 1, "Label3", QStringLiteral("腐蚀余量(mm):"), "Text3");
    inputGrid->addWidget(label("Label6", QStringLiteral("根据实际情况在0.5~1之间")), 1, 2, 1, 2);
    layout->addWidget(input);

    layout->addWidget(optionGroup("Frame2", QStringLiteral("焊缝系数"),
                                  {{"Option1", QStringLiteral("无缝钢管")},
                                   {"Option2", QStringLiteral("直缝管和螺旋焊缝钢管")},
                                   {"Option3", QStringLiteral("螺旋埋地弧焊钢管")}}));
    layout->addWidget(optionGroup("Frame3", QStringLiteral("钢管材质"),
                                  {{"Option4", QStringLiteral("优质碳素钢20")},
                                   {"Option5", QStringLiteral("碳素钢A3F")},
                                   {"Option6", QStringLiteral("低合金钢16Mn")}}));
    layout->addWidget(optionGroup("Frame4", QStringLiteral("管线"),
                                  {{"Option7", QStringLiteral("输气管线")}, {"Option8", QStringLiteral("输油管线")}}));
    layout->addWidget(optionGroup("Frame5", QStringLiteral("工作环境"),
                                  {{"Option9", QStringLiteral("居住区\\站场内\\穿越铁路\\公路\\小河渠")},
                                   {"Option10", QStringLiteral("野外地区")}}));

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame6", QStringLiteral("得出结果"));
    auto *outputGrid = new QGridLayout(output);
    m_thickness = addResult(outputGrid, 0, "Label5", QStringLiteral("壁厚(mm):"), "Label4");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);
    layout->addStretch();

    connect(calculate, &QPushButton::clicked, this, &WallThicknessScreen::Command1_Click);
}

QRadioButton *WallThicknessScreen::option(const char *name) const
{
    return control<QRadioButton>(QString::fromUtf8(name));
}

void WallThicknessScreen::Form_Load()
{
    // Seamless pipe, steel 20, gas line in a residential area: F = 0.5.
    for (const char *name : {"Option1", "Option4", "Option7", "Option9"})
        option(name)->setChecked(true);
}

void WallThicknessScreen::Command1_Click()
{
    const double D = parseLeadingNumber(m_diameter->text());
    const double P = parseLeadingNumber(m_pressure->text());
    const double C = parseLeadingNumber(m_corrosion->text());
    // Empty fields would show a thickness of 0, a negative pressure a negative
    // thickness: both are refused rather than shown as a result.
    if (D <= 0 || P <= 0 || C <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }

    double phi = 0.9;
    if (option("Option1")->isChecked())
        phi = 1;
    else if (option("Option2")->isChecked())
        phi = 1;

    double sigmaS = 353;
    if (option("Option4")->isChecked())
        sigmaS = 245;
    else if (option("Option5")->isChecked())
        sigmaS = 235;

    // Design factor by line (gas, oil) and surroundings (residential etc., open country).
    constexpr double kDesignFactor[2][2] = {{0.5, 0.6}, {0.6, 0.72}};
    const int line = option("Option7")->isChecked() ? 0 : 1;
    const int surroundings = option("Option9")->isChecked() ? 0 : 1;
    const double F = kDesignFactor[line][surroundings];

    const double thickness = hs::PipeWallThickness(D, P, C, phi, sigmaS, F);
    if (!allFinite({D, P, C, thickness})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_thickness, formatNumber(thickness));
}
