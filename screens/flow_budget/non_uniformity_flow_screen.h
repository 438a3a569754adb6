#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// ll: the design flow of a residential area by non-uniformity coefficients.
class NonUniformityFlowScreen : public Screen
{
    Q_OBJECT

public:
    NonUniformityFlowScreen();

    void Command1_Click();

private:
    QLineEdit *m_residents;
    QLineEdit *m_gasificationRate;
    QLineEdit *m_quota;
    QLineEdit *m_heatingValue;
    QLabel *m_result;
};
