#include "laminar_check_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"
#include "pd.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

LaminarCheckScreen::LaminarCheckScreen()
    : Screen(QStringLiteral("fxgj"), QStringLiteral("校验低压层流管段管径"))
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
    m_unitDrop = addFieldWithUnit(fields, 0, "Label2", QStringLiteral("计算压力降:"), "Label14",
                                  QStringLiteral("(Pa/m)"), "Text1");
    m_flow = addFieldWithUnit(fields, 2, "Label3", QStringLiteral("计算流量:"), "Label15", QStringLiteral("(Nm^3/h)"),
                              "Text2");
    m_viscosity = addFieldWithUnit(fields, 4, "Label4", QStringLiteral("运动粘度:"), "Label16",
                                   QStringLiteral("(m^2/s)"), "Text3");
    m_density = addFieldWithUnit(fields, 6, "Label5", QStringLiteral("燃气密度:"), "Label17",
                                 QStringLiteral("(kg/Nm^3)"), "Text4");
    m_temperature
        = addFieldWithUnit(fields, 8, "Label6", QStringLiteral("绝对温度:"), "Label18", QStringLiteral("(K)"), "Text5");

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
    m_flowState = addResult(results, 0, "Label9", QStringLiteral("流态："), "Label8");
    m_reynolds = addResult(results, 1, "Label10", QStringLiteral("雷诺数："), "Label7");
    m_diameter = addResult(results, 2, "Label11", QStringLiteral("管径(mm)："), "Label1");
    results->setColumnStretch(1, 1);
    right->addLayout(results);
    right->addStretch();

    grid->addWidget(banner("Frame3", "Label13"), 2, 0, 1, 2);

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("低压管段水力计算"));
    menuItem(bar, QStringLiteral("中高压管段水力计算"));

    connect(calculate, &QPushButton::clicked, this, &LaminarCheckScreen::Command1_Click);
}

void LaminarCheckScreen::Command1_Click()
{
    // Every input is held in single precision and tested after rounding, so 1e-50 counts as 0.
    const float drop = toSingle(parseLeadingNumber(m_unitDrop->text()));
    const float Q = toSingle(parseLeadingNumber(m_flow->text()));
    const float nu = toSingle(parseLeadingNumber(m_viscosity->text()));
    const float rho = toSingle(parseLeadingNumber(m_density->text()));
    const float T = toSingle(parseLeadingNumber(m_temperature->text()));
    if (drop <= 0 || Q <= 0 || nu <= 0 || rho <= 0 || T <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    float diameter = toSingle(hs::LaminarDiameter(Q, nu, rho, T, drop));
    // An input beyond the single-precision range rounds to infinity, and so does a diameter beyond it.
    if (!allFinite({drop, Q, nu, rho, T, diameter})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    pd::SelectStandardDiameter(diameter);

    // Finite: every operand is a finite float and the diameter is at least 15 mm now.
    const double reynolds = double(Q) * 4 / 3.14159 / 3.6 / nu / diameter;
    QString state;
    if (reynolds < 2100)
        state = QStringLiteral("层流");
    else
        showMessage(this, QStringLiteral("本校验只适合层流,你的输入经计算不是层流,嘿嘿"));

    toolkit::setText(m_diameter, formatSingle(diameter));
    toolkit::setText(m_reynolds, formatNumber(reynolds));
    toolkit::setText(m_flowState, state);
}
