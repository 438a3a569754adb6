#include "non_uniformity_flow_screen.h"

#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

NonUniformityFlowScreen::NonUniformityFlowScreen()
    : Screen(QStringLiteral("ll"), QStringLiteral("流量计算-不均匀系数法"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_residents = addField(inputGrid, 0, "Label1", QStringLiteral("居民人数(人)："), "Text1");
    // The rate enters the product as typed, so the caption asks for a fraction, not a percentage.
    m_gasificationRate = addField(inputGrid, 0, "Label2", QStringLiteral("气化率(0~1):"), "Text2", 2);
    m_quota = addField(inputGrid, 1, "Label3", QStringLiteral("用气定额(kJ/人*a):"), "Text3");
    m_heatingValue = addField(inputGrid, 1, "Label4", QStringLiteral("低热值(kJ/Nm^3)："), "Text4", 2);
    layout->addWidget(input);

    QGroupBox *output = frame("Frame1", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    // The coefficients turn the annual consumption into a flow per hour.
    m_result = addResult(outputGrid, 0, "Label5", QStringLiteral("计算流量(Nm^3/h)："), "Label6");
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

void NonUniformityFlowScreen::Command1_Click()
{
    const double N = parseLeadingNumber(m_residents->text());
    const double r = parseLeadingNumber(m_gasificationRate->text());
    const double q = parseLeadingNumber(m_quota->text());
    const double H = parseLeadingNumber(m_heatingValue->text());
    if (N <= 0 || r <= 0 || q <= 0 || H <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    // Annual consumption times k2, k1 and k3, spread over the hours of a year, per unit of heating value.
    const double flow = N * r * q * 1.1 * 1.2 * 3 / 365 / 24 / H;
    if (!allFinite({N, r, q, H, flow})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_result, formatNumber(flow));
}
