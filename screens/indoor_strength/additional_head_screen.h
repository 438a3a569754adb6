#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;

// yt: the additional pressure head of an indoor riser.
class AdditionalHeadScreen : public Screen
{
    Q_OBJECT

public:
    AdditionalHeadScreen();

    void Command1_Click();

private:
    QLineEdit *m_density;
    QLineEdit *m_heightDifference;
    QLabel *m_head;
};
