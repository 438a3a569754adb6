#pragma once

#include "screen.h"
#include "section_modes.h"

#include <array>
#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// gyxd: a medium/high-pressure section over the 19 standard diameters: the pressure-squared drop per km and
// the end pressure of each, with pre-selection against an allowable end pressure or one given diameter.
class HighPressureSectionScreen : public Screen
{
    Q_OBJECT

public:
    // The standard diameter series, mm, from the top row of the table down.
    static constexpr std::array<int, 19> kDiameters{50,  70,  80,  100, 125, 150, 219, 273,  325, 377,
                                                    426, 480, 530, 630, 720, 820, 920, 1020, 1220};

    HighPressureSectionScreen();

    void Form_Load() override;
    void Check1_Click();
    void Option4_Click();
    void Option5_Click();
    void Command1_Click();

private:
    using Drop = double (*)(double Q, double nu, double rho, double T, double d);
    Drop selectedDrop() const;
    static QString endPressureText(std::optional<double> endPressure);

    QLineEdit *m_startPressure;
    QLineEdit *m_length;
    QLineEdit *m_density;
    QLineEdit *m_viscosity;
    QLineEdit *m_temperature;
    QLineEdit *m_flow;
    QRadioButton *m_steel;
    QRadioButton *m_castIron;
    QRadioButton *m_plastic;
    QCheckBox *m_modeCheck;
    QRadioButton *m_preselect;
    QLineEdit *m_allowableEndPressure;
    QRadioButton *m_given;
    QLineEdit *m_givenDiameter;

    QLabel *m_dropCaption;
    QLabel *m_drop;
    QLabel *m_endPressureCaption;
    QLabel *m_endPressure;
    QLabel *m_preselectedCaption;
    QLabel *m_preselected;

    std::array<QLabel *, kDiameters.size()> m_diameterCells;
    std::array<QLabel *, kDiameters.size()> m_dropCells;
    std::array<QLabel *, kDiameters.size()> m_endPressureCells;
    QAction *m_copyTable;
    QGroupBox *m_banner;
    QLabel *m_bannerText;

    std::optional<SectionModes> m_modes;
};
