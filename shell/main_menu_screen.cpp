#include "main_menu_screen.h"

#include "widgets.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct MenuButton
{
    const char *name;
    const char *caption;
};

QGroupBox *buttonFrame(const char *name, const QString &caption, std::initializer_list<MenuButton> buttons)
{
    QGroupBox *f = toolkit::frame(name, caption);
    auto *box = new QVBoxLayout(f);
    for (const MenuButton &b : buttons)
        box->addWidget(toolkit::commandButton(b.name, QString::fromUtf8(b.caption)));
    return f;
}

} // namespace

MainMenuScreen::MainMenuScreen()
    : Screen(QStringLiteral("xz"), QStringLiteral("选择计算项目"))
{
    using namespace toolkit;
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *frames = new QVBoxLayout;
    frames->addWidget(buttonFrame("Frame2", QStringLiteral("流量\\允许单位压力降计算"),
                                  {{"Command2", "流量计算-不均匀系数法"},
                                   {"Command7", "流量计算-同时工作系数法"},
                                   {"Command3", "允许单位压力降计算"}}));
    frames->addWidget(buttonFrame("Frame1", QStringLiteral("室内管网水力计算"),
                                  {{"Command1", "室内局部压力计算"}, {"Command8", "附加压头"}}));
    frames->addWidget(buttonFrame(
        "Frame3", QStringLiteral("管段水力计算"),
        {{"Command5", "低压管段水力计算"}, {"Command6", "中高压管段水力计算"}, {"Command4", "校验低压层流管段管径"}}));
    frames->addWidget(buttonFrame("Frame5", QStringLiteral("壁厚计算"), {{"Command9", "壁厚设计计算"}}));
    layout->addLayout(frames);
    layout->addWidget(banner("Frame4", "Label1", Qt::Vertical));

    QMenuBar *bar = menuBar(this);
    QMenu *system = subMenu(bar, QStringLiteral("系统"));
    menuItem(system, QStringLiteral("修改密码"))->setEnabled(false);
    menuItem(system, QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    system->addSeparator();
    menuItem(system, QStringLiteral("打开设计..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    menuItem(system, QStringLiteral("保存设计..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuItem(system, QStringLiteral("项目信息..."));
    menuItem(system, QStringLiteral("计算书..."), QKeySequence(Qt::CTRL | Qt::Key_P));

    QMenu *calculate = subMenu(bar, QStringLiteral("计算"));
    QMenu *flow = subMenu(calculate, QStringLiteral("流量计算"));
    menuItem(flow, QStringLiteral("不均匀系数法"), QKeySequence(Qt::CTRL | Qt::Key_B));
    menuItem(flow, QStringLiteral("同时工作系数法"), QKeySequence(Qt::CTRL | Qt::Key_T));
    menuItem(calculate, QStringLiteral("单位压降计算"), QKeySequence(Qt::CTRL | Qt::Key_D));
    QMenu *indoor = subMenu(calculate, QStringLiteral("室内水力计算"));
    menuItem(indoor, QStringLiteral("室内局部压力计算"), QKeySequence(Qt::CTRL | Qt::Key_S));
    menuItem(indoor, QStringLiteral("附加压头"), QKeySequence(Qt::CTRL | Qt::Key_F));
    QMenu *diameter = subMenu(calculate, QStringLiteral("管径选定"));
    menuItem(diameter, QStringLiteral("低压管段预选管径"), QKeySequence(Qt::CTRL | Qt::Key_X));
    menuItem(diameter, QStringLiteral("中高压管段预选管径"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    menuItem(diameter, QStringLiteral("校验低压层流管段管径"), QKeySequence(Qt::CTRL | Qt::Key_C));
    menuItem(diameter, QStringLiteral("管网水力计算表"), QKeySequence(Qt::CTRL | Qt::Key_G));
    menuItem(diameter, QStringLiteral("管网计算"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));

    QMenu *help = subMenu(bar, QStringLiteral("帮助"));
    menuItem(help, QStringLiteral("帮助主题"))->setEnabled(false);
    menuItem(help, QStringLiteral("关于"));
    menuItem(help, QStringLiteral("公式说明"));

    // Menu shortcuts work wherever the focus is in this window.
    for (QAction *action : findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty())
            addAction(action);
    }
}
