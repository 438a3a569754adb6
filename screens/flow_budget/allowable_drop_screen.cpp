#include "allowable_drop_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AllowableDropScreen::AllowableDropScreen()
    : Screen(QStringLiteral("yl"), QStringLiteral("允许单位压力降"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_outletPressure = addField(inputGrid, 0, "Label1", QStringLiteral("调压箱出口压力(Pa)："), "Text1");
    m_meterPressure = addField(inputGrid, 1, "Label2", QStringLiteral("表前压力(Pa)："), "Text2");
    m_loopLength = addField(inputGrid, 2, "Label3", QStringLiteral("最不利环路管长(m)："), "Text3");
    layout->addWidget(input);

    QGroupBox *output = frame("Frame2", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    m_result = addResult(outputGrid, 0, "Label4", QStringLiteral("允许单位压力降(Pa/m)："), "Label5");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));
    layout->addWidget(banner("Frame3", "Label6"));

    connect(calculate, &QPushButton::clicked, this, &AllowableDropScreen::Command1_Click);
}

void AllowableDropScreen::Command1_Click()
{
    const double P1 = parseLeadingNumber(m_outletPressure->text());
    const double P2 = parseLeadingNumber(m_meterPressure->text());
    const double L = parseLeadingNumber(m_loopLength->text());
    if (P1 <= 0 || P2 <= 0 || L <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const double drop = hs::AllowableUnitPressureDrop(P1, P2, L);
    if (!allFinite({P1, P2, L, drop})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_result, formatNumber(drop));
}
