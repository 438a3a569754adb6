#include "section_modes.h"

#include "screen.h"
#include "widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

SectionModes::SectionModes(QCheckBox *check, QRadioButton *preselect, QLineEdit *allowance, QRadioButton *given,
                           QLineEdit *diameter, QList<QLabel *> resultLabels)
    : m_check(check)
    , m_preselect(preselect)
    , m_allowance(allowance)
    , m_given(given)
    , m_diameter(diameter)
    , m_resultLabels(std::move(resultLabels))
{}

void SectionModes::load()
{
    enableModes(false);
}

void SectionModes::checkClicked()
{
    if (m_check->isChecked()) {
        enableModes(true);
        return;
    }
    enableModes(false);
    for (QLabel *label : m_resultLabels)
        label->hide();
    toolkit::deselect({m_preselect, m_given});
}

void SectionModes::preselectClicked()
{
    m_diameter->setEnabled(false);
    m_allowance->setEnabled(true);
}

void SectionModes::givenClicked()
{
    m_allowance->setEnabled(false);
    m_diameter->setEnabled(true);
}

void SectionModes::enableModes(bool enabled)
{
    m_preselect->setEnabled(enabled);
    m_given->setEnabled(enabled);
    m_allowance->setEnabled(enabled);
    m_diameter->setEnabled(enabled);
}

void SectionModes::sync()
{
    enableModes(m_check->isChecked());
    if (!m_check->isChecked())
        return;
    if (m_preselect->isChecked())
        preselectClicked();
    else if (m_given->isChecked())
        givenClicked();
}
