#include "login_screen.h"

#include "appearance.h"
#include "message_box.h"
#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The one user of the program; compared as exact text.
constexpr char kUserName[] = "wmk";
constexpr char kPassword[] = "862047";

} // namespace

LoginScreen::LoginScreen()
    : Screen(QStringLiteral("hy"), QStringLiteral("欢迎使用！"))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QLabel *title = label("Label3", QStringLiteral("Velmora"));
    title->setFont(heiti(20));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    QGroupBox *entrance = frame("Frame1", QStringLiteral("登陆入口"));
    auto *grid = new QGridLayout(entrance);
    m_user = addField(grid, 0, "Label1", QStringLiteral("用户名："), "Text1");
    m_password = addField(grid, 1, "Label2", QStringLiteral("密码："), "Text2");
    m_password->setEchoMode(QLineEdit::Password);
    // Each character of the password shows as '*'.
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    QPushButton *enter = commandButton("Command1", QStringLiteral("点击进入"));
    grid->addWidget(enter, 2, 0, 1, 2);
    layout->addWidget(entrance);

    QLabel *credit = label("Label5", QStringLiteral("Velmora 开发组"));
    credit->setAlignment(Qt::AlignCenter);
    layout->addWidget(credit);

    QGroupBox *bannerFrame = banner("Frame2", "Label4");
    layout->addWidget(bannerFrame);

    setTabOrder(m_user, m_password);
    setTabOrder(m_password, enter);
    setTabOrder(enter, m_user);
    m_user->setFocus();

    connect(enter, &QPushButton::clicked, this, &LoginScreen::Command1_Click);
}

void LoginScreen::Command1_Click()
{
    const QString user = m_user->text();
    const QString password = m_password->text();
    if (password == QLatin1String(kPassword) && user == QLatin1String(kUserName)) {
        emit loginSucceeded();
        return;
    }
    showMessage(this, QStringLiteral("用户名/密码不正确"));
}
