#include "additional_head_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AdditionalHeadScreen::AdditionalHeadScreen()
    : CalculationScreen(QStringLiteral("yt"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    addField(inputGrid, 0, "Label1", "Text1");
    addField(inputGrid, 1, "Label2", "Text2");
    layout->addWidget(input);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame2", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    addResult(outputGrid, 0, "Label3", "Label4");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    layout->addWidget(banner("Frame3", "Label5"));

    connect(calculate, &QPushButton::clicked, this, &AdditionalHeadScreen::Command1_Click);
}
