#include "non_uniformity_flow_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

NonUniformityFlowScreen::NonUniformityFlowScreen()
    : CalculationScreen(QStringLiteral("ll"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    addField(inputGrid, 0, "Label1", "Text1");
    // The rate enters the product as typed, so the caption asks for a fraction, not a percentage.
    addField(inputGrid, 0, "Label2", "Text2", 2);
    addField(inputGrid, 1, "Label3", "Text3");
    addField(inputGrid, 1, "Label4", "Text4", 2);
    layout->addWidget(input);

    QGroupBox *output = frame("Frame1", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    // The coefficients turn the annual consumption into a flow per hour.
    addResult(outputGrid, 0, "Label5", "Label6");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    auto *noteRow = new QHBoxLayout;
    layout->addLayout(noteRow);
    QGroupBox *note = frame("Frame3", QStringLiteral("说明"));
    (new QVBoxLayout(note))->addWidget(label("Label8", QStringLiteral("取k1=1.2 k2=1.1 k3=3.0")));
    noteRow->addWidget(note);
    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    noteRow->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))), 1);

    layout->addWidget(banner("Frame2", "Label7"));

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("同时工作系数法"));

    connect(calculate, &QPushButton::clicked, this, &NonUniformityFlowScreen::Command1_Click);
}
