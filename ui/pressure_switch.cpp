#include "pressure_switch.h"

#include "message_box.h"
#include "settings_frame.h"
#include "text_table.h"
#include "widgets.h"

#include <QLabel>
#include <QUndoStack>

namespace {

QString classCaption(gas::Pressure pressure)
{
    return gas::pressureOptions().value(pressure == gas::Pressure::High ? 1 : 0).caption;
}

// The class with the settings' texts it has before and after, and what the status line says of each.
class PressureClassCommand : public QUndoCommand
{
public:
    PressureClassCommand(SettingsFrame *frame, QLabel *status, gas::Pressure to, QMap<QString, QString> before,
                         QMap<QString, QString> after, QString done, QUndoCommand *parent)
        : QUndoCommand(parent)
        , m_frame(frame)
        , m_status(status)
        , m_to(to)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_done(std::move(done))
    {}

    void redo() override
    {
        m_frame->setPressure(m_to, m_after);
        toolkit::setText(m_status, m_done);
    }

    void undo() override
    {
        const gas::Pressure from = m_to == gas::Pressure::High ? gas::Pressure::Low : gas::Pressure::High;
        m_frame->setPressure(from, m_before);
        toolkit::setText(m_status, QStringLiteral("已撤销换算：恢复为%1").arg(classCaption(from)));
    }

private:
    SettingsFrame *m_frame;
    QLabel *m_status;
    gas::Pressure m_to;
    QMap<QString, QString> m_before;
    QMap<QString, QString> m_after;
    QString m_done;
};

} // namespace

bool switchPressureClass(QWidget *parent, SettingsFrame *frame, EditSession *session, const ClassUnits &units,
                         gas::Pressure to, QLabel *statusLine)
{
    const gas::Settings settings = frame->settings();
    const gas::Pressure from = settings.pressure;
    if (from == to)
        return true;
    QStringList left; // the texts that cannot be converted
    bool converted = false;
    QList<QList<CellChange>> changes;
    for (const ClassUnits::Columns &table : units.tables) {
        QList<CellChange> cells;
        for (int row = 0; row < table.model->typedRowCount(); ++row) {
            for (const int column : table.lengths + table.pressures) {
                const QString text = table.model->cell(row, column);
                const std::optional<QString> after = gas::inClassUnits(text, from, to);
                if (!after)
                    left << text;
                else if (*after != text)
                    cells.append({row, column, text, *after});
            }
        }
        converted = converted || !cells.isEmpty();
        changes << cells;
    }
    QMap<QString, QString> before, after;
    for (const QString &name : units.pressureSettings) {
        const QString text = settings.text(name);
        before.insert(name, text);
        const std::optional<QString> inUnits = gas::inClassUnits(text, from, to);
        if (!inUnits)
            left << text;
        after.insert(name, inUnits.value_or(text));
    }
    const bool gauge = units.gaugeAtMediumHigh && to == gas::Pressure::High;
    if (gauge) {
        before.insert(gas::kPressureBasis, settings.text(gas::kPressureBasis));
        after.insert(gas::kPressureBasis, gas::kGauge);
    }
    converted = converted || before != after;
    if (!left.isEmpty()
        && !askQuestion(parent,
                        QStringLiteral("%1个数未能完整读取，无法换算（如“%2”），将保持原样。仍切换为%3并换算其余的吗？")
                            .arg(left.size())
                            .arg(left.front(), classCaption(to)),
                        QStringLiteral("切换"), QStringLiteral("取消")))
        return false;

    bool lengths = false, pressures = !units.pressureSettings.isEmpty();
    for (const ClassUnits::Columns &table : units.tables) {
        lengths = lengths || !table.lengths.isEmpty();
        pressures = pressures || !table.pressures.isEmpty();
    }
    const bool high = to == gas::Pressure::High;
    QStringList what;
    if (lengths)
        what << (high ? QStringLiteral("管长 m→km") : QStringLiteral("管长 km→m"));
    if (pressures)
        what << (high ? QStringLiteral("压力 Pa→kPa") : QStringLiteral("压力 kPa→Pa"));
    QString done = converted ? QStringLiteral("已换算为%1：%2").arg(classCaption(to), what.join(QStringLiteral("，")))
                             : QStringLiteral("已切换为%1").arg(classCaption(to));
    if (gauge)
        done += QStringLiteral("（表压）");
    if (!left.isEmpty())
        done += QStringLiteral("；%1个数未能换算，保持原样").arg(left.size());

    auto *command = new BatchCommand(session, QStringLiteral("切换为") + classCaption(to));
    for (qsizetype i = 0; i < units.tables.size(); ++i) {
        if (!changes[i].isEmpty())
            new SetCellsCommand(units.tables[i].model, changes[i], QStringLiteral("换算"), command);
    }
    new PressureClassCommand(frame, statusLine, to, before, after, done, command);
    session->undoStack()->push(command);
    return true;
}
