#pragma once

#include "screen.h"

class QLineEdit;

// hy: the login screen, the first window of the program.
class LoginScreen : public Screen
{
    Q_OBJECT

public:
    LoginScreen();

    void Command1_Click();

signals:
    void loginSucceeded();

private:
    QLineEdit *m_user;
    QLineEdit *m_password;
};
