#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// jb: the local pressure loss of indoor piping.
class IndoorLocalLossScreen : public Screen
{
    Q_OBJECT

public:
    IndoorLocalLossScreen();

    void Command1_Click();

private:
    QLineEdit *m_flow;
    QLineEdit *m_density;
    QLineEdit *m_temperature;
    QLineEdit *m_resistance;
    QLineEdit *m_diameter;
    QLabel *m_loss;
};
