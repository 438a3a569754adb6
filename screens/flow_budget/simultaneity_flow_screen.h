#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// lll: the design flow of 1 to 200 households by simultaneity coefficients.
class SimultaneityFlowScreen : public Screen
{
    Q_OBJECT

public:
    SimultaneityFlowScreen();

    void Command1_Click();

private:
    QLineEdit *m_households;
    QLineEdit *m_ratedFlow;
    QLabel *m_result;
};
