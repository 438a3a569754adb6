#include "laminar_check_screen.h"

#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

LaminarCheckScreen::LaminarCheckScreen()
    : Screen(QStringLiteral("fxgj"), QStringLiteral("校验低压层流管段管径"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));
    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("低压管段水力计算"));
    menuItem(bar, QStringLiteral("中高压管段水力计算"));
}
