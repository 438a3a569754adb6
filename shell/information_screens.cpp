#include "information_screens.h"

#include "appearance.h"
#include "widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutScreen::AboutScreen()
    : Screen(QStringLiteral("gy"), QStringLiteral("关于"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QLabel *title = label("Label1", QStringLiteral("Velmora"));
    title->setFont(heiti(20));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    QLabel *bannerLine = label("Label2", QStringLiteral("Orvane"));
    bannerLine->setAlignment(Qt::AlignCenter);
    layout->addWidget(bannerLine);

    QGroupBox *contact = frame("Frame1");
    auto *row = new QHBoxLayout(contact);
    row->addWidget(label("Label3", QStringLiteral("联系：Velmora 开发组")));
    row->addWidget(label("Label4", QStringLiteral("交流学习")));
    row->addWidget(commandButton("Command1", QStringLiteral("确定")));
    layout->addWidget(contact);
}

ForewordScreen::ForewordScreen()
    : Screen(QStringLiteral("cs"), QStringLiteral("写在前面的话"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QLabel *note = label("Label1",
                         QStringLiteral("各位做燃气管网课程设计的同学：\n"
                                        "\n"
                                        "本程序中低压管段和中高压管段水力计算的预选管径，已经用教材中的数据校核过；\n"
                                        "其余各项计算尚未逐一校核，使用时请对照手算结果，谨慎采用。\n"
                                        "如果发现问题，请告诉我们，以便及时改正。\n"
                                        "\n"
                                        "祝大家设计顺利！\n"
                                        "\n"
                                        "Velmora 开发组"));
    note->setWordWrap(false);
    layout->addWidget(note);
    layout->addWidget(commandButton("Command1", QStringLiteral("了解")));
}
