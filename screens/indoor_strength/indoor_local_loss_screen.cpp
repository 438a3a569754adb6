#include "indoor_local_loss_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

IndoorLocalLossScreen::IndoorLocalLossScreen()
    : Screen(QStringLiteral("jb"), QStringLiteral("室内局部压力计算"))
{
    using namespace toolkit;
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *column = new QVBoxLayout;

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_flow = addField(inputGrid, 0, "Label1", QStringLiteral("计算流量(Nm^3/h):"), "Text1");
    m_density = addField(inputGrid, 1, "Label2", QStringLiteral("燃气密度(KG/Nm^3):"), "Text2");
    m_temperature = addField(inputGrid, 2, "Label3", QStringLiteral("燃气温度(K):"), "Text3");
    m_resistance = addField(inputGrid, 3, "Label4", QStringLiteral("局部阻力系数:"), "Text4");
    m_diameter = addField(inputGrid, 4, "Label7", QStringLiteral("室内管径(mm):"), "Text5");
    column->addWidget(input);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    column->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame2", QStringLiteral("得到数据"));
    auto *outputGrid = new QGridLayout(output);
    m_loss = addResult(outputGrid, 0, "Label5", QStringLiteral("室内局部压力(Pa):"), "Label6");
    outputGrid->setColumnStretch(1, 1);
    column->addWidget(output);

    layout->addLayout(column);
    layout->addWidget(banner("Frame3", "Label8", Qt::Vertical));

    connect(calculate, &QPushButton::clicked, this, &IndoorLocalLossScreen::Command1_Click);
}

void IndoorLocalLossScreen::Command1_Click()
{
    const double Q = parseLeadingNumber(m_flow->text());
    const double rho = parseLeadingNumber(m_density->text());
    const double T = parseLeadingNumber(m_temperature->text());
    const double zeta = parseLeadingNumber(m_resistance->text());
    const double d = parseLeadingNumber(m_diameter->text());
    if (Q <= 0 || rho <= 0 || T <= 0 || zeta <= 0 || d <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const double loss = hs::IndoorLocalPressureLoss(Q, rho, T, zeta, d);
    if (!allFinite({Q, rho, T, zeta, d, loss})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_loss, formatNumber(loss));
}
