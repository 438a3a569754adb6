#include "allowable_drop_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AllowableDropScreen::AllowableDropScreen()
    : CalculationScreen(QStringLiteral("yl"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    addField(inputGrid, 0, "Label1", "Text1");
    addField(inputGrid, 1, "Label2", "Text2");
    addField(inputGrid, 2, "Label3", "Text3");
    layout->addWidget(input);

    QGroupBox *output = frame("Frame2", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    addResult(outputGrid, 0, "Label4", "Label5");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));
    layout->addWidget(banner("Frame3", "Label6"));

    connect(calculate, &QPushButton::clicked, this, &AllowableDropScreen::Command1_Click);
}
