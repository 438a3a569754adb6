#include "simultaneity_flow_screen.h"

#include "message_box.h"
#include "number_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <optional>

namespace {

// Households from `from` up to below `below`; a row whose bounds are equal matches that exact count only.
struct SimultaneityRow
{
    double from;
    double below;
    double k;
};

// In the order of testing: 1 to 9 households exactly, the ranges from 10 up, then exactly 200.
// clang-format off
constexpr std::array kSimultaneity{
    SimultaneityRow{1, 1, 1.0},
    SimultaneityRow{2, 2, 0.56},
    SimultaneityRow{3, 3, 0.44},
    SimultaneityRow{4, 4, 0.38},
    SimultaneityRow{5, 5, 0.35},
    SimultaneityRow{6, 6, 0.31},
    SimultaneityRow{7, 7, 0.29},
    SimultaneityRow{8, 8, 0.27},
    SimultaneityRow{9, 9, 0.26},
    SimultaneityRow{10, 15, 0.25},
    SimultaneityRow{15, 20, 0.22},
    SimultaneityRow{20, 25, 0.21},
    SimultaneityRow{25, 30, 0.20},
    SimultaneityRow{30, 40, 0.19},
    SimultaneityRow{40, 50, 0.18},
    SimultaneityRow{50, 60, 0.178},
    SimultaneityRow{60, 70, 0.176},
    SimultaneityRow{70, 80, 0.174},
    SimultaneityRow{80, 90, 0.172},
    SimultaneityRow{90, 100, 0.171},
    SimultaneityRow{100, 200, 0.17},
    SimultaneityRow{200, 200, 0.16},
};
// clang-format on

std::optional<double> simultaneityCoefficient(double households)
{
    for (const SimultaneityRow &row : kSimultaneity) {
        const bool match
            = row.from == row.below ? households == row.from : row.from <= households && households < row.below;
        if (match)
            return row.k;
    }
    return std::nullopt;
}

} // namespace

SimultaneityFlowScreen::SimultaneityFlowScreen()
    : Screen(QStringLiteral("lll"), QStringLiteral("流量计算-同时工作系数法"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_households = addField(inputGrid, 0, "Label1", QStringLiteral("户数(人):"), "Text1");
    m_ratedFlow = addField(inputGrid, 1, "Label2", QStringLiteral("额定流量(Nm^3/h):"), "Text2");
    layout->addWidget(input);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    layout->addLayout(buttonRow(calculate, commandButton("Command2", QStringLiteral("返回"))));

    QGroupBox *output = frame("Frame2", QStringLiteral("得到结果"));
    auto *outputGrid = new QGridLayout(output);
    m_result = addResult(outputGrid, 0, "Label3", QStringLiteral("计算流量(Nm^3/h):"), "Label4");
    outputGrid->setColumnStretch(1, 1);
    layout->addWidget(output);

    layout->addWidget(banner("Frame3", "Label5"));

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("不均匀系数法"));

    connect(calculate, &QPushButton::clicked, this, &SimultaneityFlowScreen::Command1_Click);
}

void SimultaneityFlowScreen::Command1_Click()
{
    const double N = parseLeadingNumber(m_households->text());
    const double Qn = parseLeadingNumber(m_ratedFlow->text());
    const std::optional<double> k = simultaneityCoefficient(N);
    if (!k) {
        showMessage(this, QStringLiteral("录入数据应为1~200的整数,嘿嘿"));
        return;
    }
    // A missing or negative rated flow would otherwise show a flow of 0 or below as if it were a result.
    if (Qn <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const double flow = (*k * N) * Qn;
    if (!allFinite({Qn, flow})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_result, formatNumber(flow));
}
