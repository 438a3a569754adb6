#pragma once

#include <QList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The mode controls that both section screens share: a check box that turns on
// two mode options (pre-selection against an allowance, or one given diameter),
// each with its own text box, and the result labels of the modes.
class SectionModes
{
public:
    SectionModes(QCheckBox *check, QRadioButton *preselect, QLineEdit *allowance, QRadioButton *given,
                 QLineEdit *diameter, QList<QLabel *> resultLabels);

    // Initial state: both options and both fields disabled, neither option selected.
    void load();
    // The check box was clicked: ticked enables the options and fields without
    // selecting either; clear disables them, hides every result label and
    // deselects both options without running their handlers. Field texts stay.
    void checkClicked();
    // The pre-selection option was selected: only its field is enabled.
    void preselectClicked();
    // The given-diameter option was selected: only its field is enabled.
    void givenClicked();
    // The enabled states that the check box and options now call for, after they were set by program.
    void sync();

private:
    void enableModes(bool enabled);

    QCheckBox *m_check;
    QRadioButton *m_preselect;
    QLineEdit *m_allowance;
    QRadioButton *m_given;
    QLineEdit *m_diameter;
    QList<QLabel *> m_resultLabels;
};
