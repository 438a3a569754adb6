#pragma once

#include "gas_settings.h"

#include <QGroupBox>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The frame "计算条件" of the route table and the network: the pressure class, the
// (default) material, the typed settings three to a row (a text box, or a list of
// its captions for a choice), and the digits shown. A setting that does not serve the
// pressure class is disabled; captions follow the class. A click on the other class
// does not switch it: the frame asks with pressureRequested, and the screen switches it
// with what it converts, as one step it can undo.
class SettingsFrame : public QGroupBox
{
    Q_OBJECT

public:
    SettingsFrame(const QList<gas::Setting> &settings, const QString &materialCaption, QWidget *parent = nullptr);

    gas::Settings settings() const;
    // Sets every control at once, with one changed() at the end.
    void setSettings(const gas::Settings &settings);
    // Sets the class and the given settings' texts, with one changed() at the end.
    void setPressure(gas::Pressure pressure, const QMap<QString, QString> &texts = {});
    // Marks a setting's box with the reason it cannot be used (empty: no mark on any).
    void showProblem(const QString &name, const QString &problem);
    QLineEdit *box(const QString &name) const;
    QComboBox *choice(const QString &name) const;

signals:
    void changed();
    // The user chose the other class; the frame still shows the one it had.
    void pressureRequested(gas::Pressure pressure);

private:
    void update();

    QList<gas::Setting> m_list;
    QRadioButton *m_low;
    QRadioButton *m_high;
    QList<QRadioButton *> m_materials;
    QList<QWidget *> m_fields; // by setting: a QLineEdit, or a QComboBox for a choice
    QList<QLabel *> m_captions;
    QComboBox *m_digits;
    gas::Pressure m_pressure = gas::Pressure::Low;
    bool m_setting = false;
};
