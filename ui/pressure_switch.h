#pragma once

#include "gas_settings.h"

#include <QList>
#include <QStringList>

class EditSession;
class QLabel;
class QWidget;
class SettingsFrame;
class TextTableModel;

// What a screen converts when its pressure class is switched: the typed length and
// pressure columns of its tables, and the names of its pressure settings.
struct ClassUnits
{
    struct Columns
    {
        TextTableModel *model;
        QList<int> lengths;
        QList<int> pressures;
    };
    QList<Columns> tables;
    QStringList pressureSettings;
    // The low-pressure figures are gauge: switching to medium/high sets 表压.
    bool gaugeAtMediumHigh = false;
};

// Switches the frame to the class with the typed lengths (m ⇄ km) and pressures
// (Pa ⇄ kPa) converted, as one step on the session's undo stack, and says so in the
// status line. When some cannot be converted (not read whole) it asks first and leaves
// them as typed; false, and nothing changed, when the user declines.
bool switchPressureClass(QWidget *parent, SettingsFrame *frame, EditSession *session, const ClassUnits &units,
                         gas::Pressure to, QLabel *statusLine);
