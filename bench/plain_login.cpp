#include "plain_login.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

// The faces are named as the program finds them installed where the bench runs
// (tools/install-deps.sh), so that both windows ask Qt for the same fonts.
QDialog *showPlainLogin()
{
    const QStringList chinese{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    QFont font = QGuiApplication::font();
    font.setFamilies(QStringList{font.family()} + chinese);
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);
    QFont heiti;
    heiti.setFamilies(chinese);
    heiti.setHintingPreference(QFont::PreferNoHinting);

    auto *window
        = new QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(QStringLiteral("欢迎使用！"));
    auto *layout = new QVBoxLayout(window);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *title = new QLabel(QStringLiteral("Velmora"));
    QFont titleFont = heiti;
    titleFont.setPointSize(20);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto *entrance = new QGroupBox(QStringLiteral("登陆入口"));
    auto *grid = new QGridLayout(entrance);
    auto *userCaption = new QLabel(QStringLiteral("用户名："));
    auto *user = new QLineEdit;
    userCaption->setBuddy(user);
    grid->addWidget(userCaption, 0, 0);
    grid->addWidget(user, 0, 1);
    auto *passwordCaption = new QLabel(QStringLiteral("密码："));
    auto *password = new QLineEdit;
    passwordCaption->setBuddy(password);
    grid->addWidget(passwordCaption, 1, 0);
    grid->addWidget(password, 1, 1);
    password->setEchoMode(QLineEdit::Password);
    password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    auto *enter = new QPushButton(QStringLiteral("点击进入"));
    enter->setAutoDefault(false);
    grid->addWidget(enter, 2, 0, 1, 2);
    layout->addWidget(entrance);

    auto *credit = new QLabel(QStringLiteral("Velmora 开发组"));
    credit->setAlignment(Qt::AlignCenter);
    layout->addWidget(credit);

    auto *banner = new QGroupBox;
    auto *bannerLayout = new QVBoxLayout(banner);
    auto *bannerText = new QLabel(QStringLiteral("Orvane"));
    bannerText->setFont(heiti);
    bannerText->setAlignment(Qt::AlignCenter);
    bannerLayout->addWidget(bannerText);
    layout->addWidget(banner);

    user->setFocus();
    window->adjustSize();
    if (const QScreen *display = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->activateWindow();
    return window;
}
