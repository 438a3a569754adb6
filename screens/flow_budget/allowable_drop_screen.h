#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// yl: the allowable unit pressure drop of a low-pressure network.
class AllowableDropScreen : public Screen
{
    Q_OBJECT

public:
    AllowableDropScreen();

    void Command1_Click();

private:
    QLineEdit *m_outletPressure;
    QLineEdit *m_meterPressure;
    QLineEdit *m_loopLength;
    QLabel *m_result;
};
