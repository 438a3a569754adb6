#include "wall_thickness_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

WallThicknessScreen::WallThicknessScreen()
    : CalculationScreen(QStringLiteral("bh"), QStringLiteral("Form1"), Border::Sizeable)
{
    using namespace toolkit;
    // A sizeable window: the layout sets the minimum size only.
    auto *layout = new QVBoxLayout(this);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    addField(inputGrid, 0, "Label1", "Text1");
    addField(inputGrid, 0, "Label2", "Text2", 2);
    addField(inputGrid, 1, "Label3", "Text3");
    inputGrid->addWidget(label("Label6", QStringLiteral("根据实际情况在0.5~1之间")), 1, 2, 1, 2);
    layout->addWidget(input);

    for (const calc::Choice &choice : calculation().choices)
        layout->addWidget(choiceFrame(choice.key.toLatin1().constData()));

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame6", QStringLiteral("得出结果"));
    auto *outputGrid = new QGridLayout(output);
    addResult(outputGrid, 0, "Label5", "Label4");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);
    layout->addStretch();

    connect(calculate, &QPushButton::clicked, this, &WallThicknessScreen::Command1_Click);
}

void WallThicknessScreen::Form_Load()
{
    // Seamless pipe, steel 20, gas line in a residential area: F = 0.5.
    for (const calc::Choice &choice : calculation().choices)
        control<QRadioButton>(choice.options[std::size_t(choice.initial)].design)->setChecked(true);
}
