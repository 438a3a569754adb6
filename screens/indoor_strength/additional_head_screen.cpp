#include "additional_head_screen.h"

#include <QPushButton>
#include <QVBoxLayout>

AdditionalHeadScreen::AdditionalHeadScreen()
    : Screen(QStringLiteral("yt"), QStringLiteral("附加压头计算"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));}
