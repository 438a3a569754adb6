#include "indoor_local_loss_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

IndoorLocalLossScreen::IndoorLocalLossScreen()
    : CalculationScreen(QStringLiteral("jb"))
{
    using namespace toolkit;
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *column = new QVBoxLayout;

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    addField(inputGrid, 0, "Label1", "Text1");
    addField(inputGrid, 1, "Label2", "Text2");
    addField(inputGrid, 2, "Label3", "Text3");
    addField(inputGrid, 3, "Label4", "Text4");
    addField(inputGrid, 4, "Label7", "Text5");
    column->addWidget(input);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    column->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame2", QStringLiteral("得到数据"));
    auto *outputGrid = new QGridLayout(output);
    addResult(outputGrid, 0, "Label5", "Label6");
    outputGrid->setColumnStretch(1, 1);
    column->addWidget(output);

    layout->addLayout(column);
    layout->addWidget(banner("Frame3", "Label8", Qt::Vertical));

    connect(calculate, &QPushButton::clicked, this, &IndoorLocalLossScreen::Command1_Click);
}
