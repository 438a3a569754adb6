#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// fxgj: the diameter of a laminar low-pressure section, rounded up to a standard size.
class LaminarCheckScreen : public Screen
{
    Q_OBJECT

public:
    LaminarCheckScreen();

    void Command1_Click();

private:
    QLineEdit *m_unitDrop;
    QLineEdit *m_flow;
    QLineEdit *m_viscosity;
    QLineEdit *m_density;
    QLineEdit *m_temperature;
    QLabel *m_flowState;
    QLabel *m_reynolds;
    QLabel *m_diameter;
};
