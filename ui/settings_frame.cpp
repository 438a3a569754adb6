#include "settings_frame.h"

#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

SettingsFrame::SettingsFrame(const QList<gas::Setting> &settings, const QString &materialCaption, QWidget *parent)
    : QGroupBox(QStringLiteral("计算条件"), parent)
    , m_list(settings)
{
    using namespace toolkit;
    setObjectName(QStringLiteral("conditions"));
    auto *grid = new QGridLayout(this);
    auto optionsOf = [](const QList<gas::NamedOption> &named) {
        QList<Option> options;
        for (const gas::NamedOption &o : named)
            options.append({o.name, o.caption});
        return options;
    };
    QGroupBox *classBox
        = optionGroup(QStringLiteral("pressureClass"), gas::kPressureCaption, optionsOf(gas::pressureOptions()));
    m_low = classBox->findChild<QRadioButton *>(gas::pressureOptions()[0].name);
    m_high = classBox->findChild<QRadioButton *>(gas::pressureOptions()[1].name);
    QGroupBox *materialBox = optionGroup(QStringLiteral("material"), materialCaption, optionsOf(gas::materialOptions()));
    for (const gas::NamedOption &o : gas::materialOptions())
        m_materials << materialBox->findChild<QRadioButton *>(o.name);
    grid->addWidget(classBox, 0, 0, 1, 2);
    grid->addWidget(materialBox, 0, 2, 1, 4);
    int place = 0;
    for (const gas::Setting &s : m_list) {
        const QByteArray name = s.name.toLatin1();
        const QByteArray caption = name + "Caption";
        const QString text = s.lowCaption.isEmpty() ? s.highCaption : s.lowCaption;
        const int row = 1 + place / 3, column = 2 * (place % 3);
        if (s.isChoice()) {
            auto *choice = new QComboBox;
            choice->setObjectName(s.name);
            choice->addItems(s.captions);
            choice->setCurrentIndex(int(s.values.indexOf(s.initial)));
            QLabel *captionLabel = label(caption.constData(), text);
            captionLabel->setBuddy(choice);
            grid->addWidget(captionLabel, row, column);
            grid->addWidget(choice, row, column + 1);
            m_fields << choice;
            m_captions << captionLabel;
            connect(choice, &QComboBox::currentIndexChanged, this, &SettingsFrame::update);
        } else {
            QLineEdit *box = addField(grid, row, caption.constData(), text, name.constData(), column);
            box->setText(s.initial);
            if (s.isNumber)
                watchReading(box);
            m_fields << box;
            m_captions << findChild<QLabel *>(QString::fromLatin1(caption));
            connect(box, &QLineEdit::textChanged, this, &SettingsFrame::update);
        }
        ++place;
    }
    m_digits = digitsChoice();
    grid->addWidget(label("digitsCaption", QStringLiteral("显示位数：")), 1 + place / 3, 2 * (place % 3));
    grid->addWidget(m_digits, 1 + place / 3, 2 * (place % 3) + 1);

    m_low->setChecked(true);
    m_materials.front()->setChecked(true);
    // One change for a click: the option turned on, not the one turned off.
    for (QRadioButton *option : m_materials) {
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                update();
        });
    }
    // The class is switched by the screen, with what it converts: until then the frame shows the class it has.
    for (QRadioButton *option : {m_low, m_high}) {
        connect(option, &QRadioButton::toggled, this, [this, option](bool on) {
            const gas::Pressure chosen = option == m_high ? gas::Pressure::High : gas::Pressure::Low;
            if (!on || m_setting || chosen == m_pressure)
                return;
            m_setting = true;
            (m_pressure == gas::Pressure::High ? m_high : m_low)->setChecked(true);
            m_setting = false;
            emit pressureRequested(chosen);
        });
    }
    connect(m_digits, &QComboBox::currentIndexChanged, this, &SettingsFrame::update);
    update();
}

gas::Settings SettingsFrame::settings() const
{
    gas::Settings s;
    s.pressure = m_pressure;
    for (int i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i]->isChecked())
            s.material = i;
    }
    for (qsizetype i = 0; i < m_list.size(); ++i) {
        if (const auto *choice = qobject_cast<const QComboBox *>(m_fields[i]))
            s.setText(m_list[i].name, m_list[i].values.value(choice->currentIndex()));
        else
            s.setText(m_list[i].name, static_cast<const QLineEdit *>(m_fields[i])->text());
    }
    s.digits = toolkit::digitsOf(m_digits);
    return s;
}

void SettingsFrame::setSettings(const gas::Settings &s)
{
    m_setting = true;
    m_pressure = s.pressure;
    (s.pressure == gas::Pressure::High ? m_high : m_low)->setChecked(true);
    m_materials.value(s.material, m_materials.front())->setChecked(true);
    for (qsizetype i = 0; i < m_list.size(); ++i) {
        const gas::Setting &setting = m_list[i];
        const QString text = s.texts.contains(setting.name) ? s.text(setting.name) : setting.initial;
        if (auto *choice = qobject_cast<QComboBox *>(m_fields[i])) {
            // A value the list does not hold (a design file edited by hand) shows the initial one.
            const qsizetype at = setting.values.indexOf(text.trimmed());
            choice->setCurrentIndex(int(at >= 0 ? at : setting.values.indexOf(setting.initial)));
        } else {
            static_cast<QLineEdit *>(m_fields[i])->setText(text);
        }
    }
    toolkit::setDigits(m_digits, s.digits);
    m_setting = false;
    update();
}

void SettingsFrame::setPressure(gas::Pressure pressure, const QMap<QString, QString> &texts)
{
    m_setting = true;
    m_pressure = pressure;
    (pressure == gas::Pressure::High ? m_high : m_low)->setChecked(true);
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        if (QLineEdit *b = box(it.key()))
            b->setText(it.value());
        for (qsizetype i = 0; i < m_list.size(); ++i) {
            auto *choice = qobject_cast<QComboBox *>(m_fields[i]);
            if (choice && m_list[i].name == it.key() && m_list[i].values.contains(it.value()))
                choice->setCurrentIndex(int(m_list[i].values.indexOf(it.value())));
        }
    }
    m_setting = false;
    update();
}

void SettingsFrame::update()
{
    if (m_setting)
        return;
    gas::Settings now = settings();
    now.pressure = m_pressure;
    for (qsizetype i = 0; i < m_list.size(); ++i) {
        const bool serves = m_list[i].serves(now.pressure);
        m_fields[i]->setEnabled(serves);
        if (serves)
            toolkit::setText(m_captions[i], gas::shownCaption(m_list[i], now));
    }
    emit changed();
}

void SettingsFrame::showProblem(const QString &name, const QString &problem)
{
    for (QWidget *field : m_fields) {
        if (auto *box = qobject_cast<QLineEdit *>(field))
            toolkit::setProblem(box, !name.isEmpty() && box->objectName() == name ? problem : QString());
    }
}

QLineEdit *SettingsFrame::box(const QString &name) const
{
    for (QWidget *field : m_fields) {
        if (field->objectName() == name)
            return qobject_cast<QLineEdit *>(field);
    }
    return nullptr;
}

QComboBox *SettingsFrame::choice(const QString &name) const
{
    for (QWidget *field : m_fields) {
        if (field->objectName() == name)
            return qobject_cast<QComboBox *>(field);
    }
    return nullptr;
}
