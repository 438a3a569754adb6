#include "indoor_local_loss_screen.h"

#include <QPushButton>
#include <QVBoxLayout>

IndoorLocalLossScreen::IndoorLocalLossScreen()
    : Screen(QStringLiteral("jb"), QStringLiteral("室内局部压力计算"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));}
