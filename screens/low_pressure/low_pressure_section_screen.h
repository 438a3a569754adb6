#pragma once

#include "hs.h"
#include "screen.h"
#include "section_modes.h"

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// xd: a low-pressure pipe section over the 19 standard diameters, with
// pre-selection against an allowable unit drop or the drop of one given diameter.
class LowPressureSectionScreen : public Screen
{
    Q_OBJECT

public:
    LowPressureSectionScreen();
    ~LowPressureSectionScreen() override;

    void Form_Load() override;
    void Check1_Click();
    void Option4_Click();
    void Option5_Click();
    void Command1_Click();

private:
    static constexpr std::size_t kSizes = 19;

    struct Gas
    {
        double Q;
        double nu;
        double T;
        double rho;
    };
    struct Section
    {
        double reynolds;
        hs::FlowState state;
        double drop;
    };
    struct TableRow
    {
        QLabel *diameter;
        QLabel *reynolds;
        QLabel *state;
        QLabel *drop;
    };

    // Reynolds number, flow state and unit drop of one diameter for the chosen material.
    Section evaluate(const Gas &gas, double d) const;
    void preselect(const std::array<double, kSizes> &drops);
    void computeGivenDiameter(const Gas &gas);

    QLineEdit *m_flow;
    QLineEdit *m_viscosity;
    QLineEdit *m_density;
    QLineEdit *m_temperature;
    QRadioButton *m_steel;
    QRadioButton *m_castIron;
    QRadioButton *m_plastic;
    QCheckBox *m_check;
    QRadioButton *m_preselect;
    QLineEdit *m_allowance;
    QRadioButton *m_given;
    QLineEdit *m_givenDiameter;

    QLabel *m_reynoldsHeader;
    QLabel *m_stateHeader;
    QLabel *m_dropHeader;
    QLabel *m_givenReynolds;
    QLabel *m_givenState;
    QLabel *m_givenDrop;
    QLabel *m_preselectCaption;
    QLabel *m_preselected;

    std::array<TableRow, kSizes> m_table;
    QAction *m_copyTable;
    QGroupBox *m_bannerFrame;
    QLabel *m_banner;

    std::unique_ptr<SectionModes> m_modes;
};
