#include "non_uniformity_flow_screen.h"

#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

NonUniformityFlowScreen::NonUniformityFlowScreen()
    : Screen(QStringLiteral("ll"), QStringLiteral("流量计算-不均匀系数法"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));
    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("同时工作系数法"));
}
