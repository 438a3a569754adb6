#include "simultaneity_flow_screen.h"

#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

SimultaneityFlowScreen::SimultaneityFlowScreen()
    : Screen(QStringLiteral("lll"), QStringLiteral("流量计算-同时工作系数法"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));
    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("不均匀系数法"));
}
