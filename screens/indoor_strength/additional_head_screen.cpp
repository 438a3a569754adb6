#include "additional_head_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AdditionalHeadScreen::AdditionalHeadScreen()
    : Screen(QStringLiteral("yt"), QStringLiteral("附加压头计算"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_density = addField(inputGrid, 0, "Label1", QStringLiteral("燃气密度(KG/Nm^3):"), "Text1");
    m_heightDifference = addField(inputGrid, 1, "Label2", QStringLiteral("高程差(m):"), "Text2");
    layout->addWidget(input);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame2", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    m_head = addResult(outputGrid, 0, "Label3", QStringLiteral("附加压头(Pa):"), "Label4");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    layout->addWidget(banner("Frame3", "Label5"));

    connect(calculate, &QPushButton::clicked, this, &AdditionalHeadScreen::Command1_Click);
}

void AdditionalHeadScreen::Command1_Click()
{
    const double rho = parseLeadingNumber(m_density->text());
    const double dZ = parseLeadingNumber(m_heightDifference->text());
    // A downward run (negative height difference) is refused like an empty field.
    if (rho <= 0 || dZ <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const double head = hs::AdditionalPressureHead(rho, dZ);
    if (!allFinite({rho, dZ, head})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_head, formatNumber(head));
}
