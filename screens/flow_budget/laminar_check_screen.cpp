#include "laminar_check_screen.h"

#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

LaminarCheckScreen::LaminarCheckScreen()
    : CalculationScreen(QStringLiteral("fxgj"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *grid = new QGridLayout(input);
    layout->addWidget(input);

    // Inputs on the left, each caption with its unit under it.
    auto *fields = new QGridLayout;
    grid->addLayout(fields, 0, 0);
    addFieldWithUnit(fields, 0, "Label2", "Label14", "Text1");
    addFieldWithUnit(fields, 2, "Label3", "Label15", "Text2");
    addFieldWithUnit(fields, 4, "Label4", "Label16", "Text3");
    addFieldWithUnit(fields, 6, "Label5", "Label17", "Text4");
    addFieldWithUnit(fields, 8, "Label6", "Label18", "Text5");

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    grid->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))), 1, 0);

    // The note above the results on the right.
    auto *right = new QVBoxLayout;
    grid->addLayout(right, 0, 1, 2, 1);
    QGroupBox *note = frame("Frame2", QStringLiteral("说明"));
    auto *noteBox = new QVBoxLayout(note);
    QLabel *noteText
        = label("Label12",
                QStringLiteral("    适合于低压燃气管道（层流状态）。无论预选还是最后选定管径都同样实用。一般用于效验"));
    noteText->setWordWrap(true);
    noteText->setFixedWidth(noteText->fontMetrics().averageCharWidth() * 30);
    noteBox->addWidget(noteText);
    right->addWidget(note);
    auto *results = new QGridLayout;
    addResult(results, 0, "Label9", "Label8");
    addResult(results, 1, "Label10", "Label7");
    addResult(results, 2, "Label11", "Label1");
    results->setColumnStretch(1, 1);
    right->addLayout(results);
    right->addStretch();

    grid->addWidget(banner("Frame3", "Label13"), 2, 0, 1, 2);

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("低压管段水力计算"));
    menuItem(bar, QStringLiteral("中高压管段水力计算"));

    connect(calculate, &QPushButton::clicked, this, &LaminarCheckScreen::Command1_Click);
}
