#include "wall_thickness_screen.h"

#include <QPushButton>
#include <QVBoxLayout>

WallThicknessScreen::WallThicknessScreen()
    : Screen(QStringLiteral("bh"), QStringLiteral("Form1"), Border::Sizeable)
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(commandButton("Command2", QStringLiteral("返回")));}
