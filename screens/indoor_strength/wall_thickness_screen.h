#pragma once

#include "screen.h"

class QLabel;
class QLineEdit;
class QRadioButton;

// bh: the design wall thickness of a steel pipeline. A sizeable window without banner.
class WallThicknessScreen : public Screen
{
    Q_OBJECT

public:
    WallThicknessScreen();

    void Form_Load() override;
    void Command1_Click();

private:
    QRadioButton *option(const char *name) const;

    QLineEdit *m_diameter;
    QLineEdit *m_pressure;
    QLineEdit *m_corrosion;
    QLabel *m_thickness;
};
