#include "network_columns.h"

#include "gas_settings.h"
#include "number_text.h"
#include "network_geometry.h"

namespace network {

namespace {

using Kind = Column::Kind;

template<typename T>
Value optionalValue(const std::optional<T> &v)
{
    return v ? Value(double(*v)) : Value();
}

// A number of a solved network's node or pipe; nothing where it was not solved.
#define NODE(expression) [](const Result &r, int i) -> Value { \
    if (!r.solved() || i >= r.nodes.size()) \
        return {}; \
    const NodeResult &n = r.nodes[i]; \
    return expression; \
}
#define PIPE(expression) [](const Result &r, int k) -> Value { \
    if (!r.solved() || k >= r.pipes.size()) \
        return {}; \
    const PipeResult &p = r.pipes[k]; \
    return expression; \
}

Column both(const char *key, const char *caption, Kind kind, bool typed, Value (*value)(const Result &, int))
{
    const QString c = QString::fromUtf8(caption);
    return Column{QString::fromLatin1(key), c, c, kind, typed, value, true};
}

Column classes(const char *key, const char *low, const char *high, Kind kind, bool typed,
               Value (*value)(const Result &, int))
{
    return Column{QString::fromLatin1(key), QString::fromUtf8(low), QString::fromUtf8(high), kind, typed, value, true};
}

Column notInReport(Column c)
{
    c.inReport = false;
    return c;
}

Column pressure(Column c)
{
    c.isPressure = true;
    return c;
}

Column shownAs(Column c, QString (*shown)(const Result &, int))
{
    c.shown = shown;
    return c;
}

Column markedWhen(Column c, bool (*marked)(const Result &, int))
{
    c.marked = marked;
    return c;
}

const QList<Column> &nodeColumns()
{
    static const QList<Column> all{
        both("node", "节点", Kind::Text, true,
             [](const Result &r, int i) -> Value { return i < r.nodes.size() ? Value(r.nodes[i].id) : Value(); }),
        both("load", "负荷(Nm^3/h)", Kind::Number, true, NODE(n.load)),
        classes("elevation", "高程(m)", "", Kind::Number, true, NODE(n.elevation)),
        notInReport(both("x", "X", Kind::Number, true,
                         [](const Result &r, int i) -> Value {
                             return i < r.nodes.size() && r.nodes[i].place ? Value(r.nodes[i].place->x()) : Value();
                         })),
        notInReport(both("y", "Y", Kind::Number, true,
                         [](const Result &r, int i) -> Value {
                             return i < r.nodes.size() && r.nodes[i].place ? Value(r.nodes[i].place->y()) : Value();
                         })),
        pressure(classes("source_pressure", "气源压力(Pa)", "气源压力(kPa)", Kind::Number, true,
                         NODE(optionalValue(n.sourcePressure)))),
        both("households", "户数", Kind::Number, true, NODE(n.households)),
        both("appliance", "用具", Kind::Number, true, NODE(double(n.appliance))),
        both("supply", "供气量(Nm^3/h)", Kind::Number, false, NODE(optionalValue(n.supply))),
        pressure(classes("pressure", "压力(Pa)", "压力(kPa)", Kind::Number, false, NODE(optionalValue(n.pressure)))),
        both("calc_load", "计算负荷(Nm^3/h)", Kind::Number, false, NODE(optionalValue(n.calcLoad))),
        both("message", "提示", Kind::Text, false, NODE(n.message)),
    };
    return all;
}

const QList<Column> &pipeColumns()
{
    static const QList<Column> all{
        both("pipe", "管段", Kind::Text, true,
             [](const Result &r, int k) -> Value { return k < r.pipes.size() ? Value(r.pipes[k].id) : Value(); }),
        both("from", "起点", Kind::Text, true,
             [](const Result &r, int k) -> Value {
                 return k < r.pipes.size() && r.pipes[k].from >= 0 ? Value(r.nodes[r.pipes[k].from].id) : Value();
             }),
        both("to", "终点", Kind::Text, true,
             [](const Result &r, int k) -> Value {
                 return k < r.pipes.size() && r.pipes[k].to >= 0 ? Value(r.nodes[r.pipes[k].to].id) : Value();
             }),
        classes("length", "管长(m)", "管长(km)", Kind::Number, true, PIPE(p.length)),
        both("diameter", "管径(mm)", Kind::Number, true, PIPE(p.diameter)),
        shownAs(both("material", "管材", Kind::Number, true, PIPE(double(p.material + 1))),
                [](const Result &r, int k) {
                    return r.solved() && k < r.pipes.size() ? gas::materialOptions().value(r.pipes[k].material).caption
                                                            : QString();
                }),
        both("local_percent", "局部阻力(%)", Kind::Number, true, PIPE(p.localPercent)),
        both("path_load", "途泄流量(Nm^3/h)", Kind::Number, true, PIPE(p.pathLoad)),
        // The bends between the ends: drawn and exported, not a number of the calculation.
        notInReport(both("vertices", "折点", Kind::Text, true,
                         [](const Result &r, int k) -> Value {
                             return k < r.pipes.size() ? Value(verticesText(r.pipes[k].bends)) : Value();
                         })),
        both("flow", "计算流量(Nm^3/h)", Kind::Number, false, PIPE(p.flow)),
        both("households_1", "户数(双眼灶)", Kind::Number, false, PIPE(optionalValue(p.households[0]))),
        both("households_2", "户数(双眼灶和快速热水器)", Kind::Number, false, PIPE(optionalValue(p.households[1]))),
        both("k_1", "K(双眼灶)", Kind::Number, false, PIPE(optionalValue(p.k[0]))),
        both("k_2", "K(双眼灶和快速热水器)", Kind::Number, false, PIPE(optionalValue(p.k[1]))),
        classes("reynolds", "雷诺数", "", Kind::Number, false, PIPE(p.reynolds)),
        classes("state", "流态", "", Kind::Text, false, PIPE(p.state)),
        classes("unit_drop", "单位压降(Pa/m)", "单位压降(kPa^2/km)", Kind::Number, false, PIPE(p.unitDrop)),
        classes("friction_drop", "摩擦压降(Pa)", "", Kind::Number, false, PIPE(p.frictionDrop)),
        classes("local_drop", "局部压降(Pa)", "", Kind::Number, false, PIPE(p.localDrop)),
        classes("gravity_head", "附加压头(Pa)", "", Kind::Number, false, PIPE(p.gravityHead)),
        classes("pipe_dp2", "", "ΔP²(kPa^2)", Kind::Number, false, PIPE(p.dp2)),
        classes("pipe_drop", "管段压降(Pa)", "管段压降(kPa)", Kind::Number, false, PIPE(p.pipeDrop)),
        both("size", "规格", Kind::Text, false, PIPE(p.size.isEmpty() ? Value() : Value(p.size))),
        markedWhen(both("velocity", "流速(m/s)", Kind::Number, false, PIPE(optionalValue(p.velocity))),
                   [](const Result &r, int k) { return r.solved() && k < r.pipes.size() && r.pipes[k].tooFast; }),
        both(
            "auto", "自动", Kind::Flag, false,
            [](const Result &r, int k) -> Value { return k < r.pipes.size() ? Value(r.pipes[k].automatic) : Value(); }),
        both("message", "提示", Kind::Text, false, PIPE(p.message)),
    };
    return all;
}

#undef NODE
#undef PIPE

} // namespace

const QList<Column> &columns(Table table)
{
    return table == Table::Nodes ? nodeColumns() : pipeColumns();
}

int typedCount(Table table)
{
    return table == Table::Nodes ? int(node::Count) : int(pipe::Count);
}

QStringList typedKeys(Table table)
{
    QStringList keys;
    for (int c = 0; c < typedCount(table); ++c)
        keys << columns(table)[c].key;
    return keys;
}

int typedColumnOf(Table table, const QString &header)
{
    // A pressure's caption as the screen shows it, with its basis, is its caption.
    QString h = header.trimmed();
    h.replace(QStringLiteral("，表压)"), QStringLiteral(")")).replace(QStringLiteral("，绝压)"), QStringLiteral(")"));
    for (int c = 0; c < typedCount(table); ++c) {
        const Column &column = columns(table)[c];
        if (h == column.key || (!column.lowCaption.isEmpty() && h == column.lowCaption)
            || (!column.highCaption.isEmpty() && h == column.highCaption))
            return c;
    }
    return -1;
}

bool isNumberColumn(Table table, int column)
{
    // A material or an appliance set may be typed by its caption.
    return column >= 0 && column < typedCount(table) && columns(table)[column].kind == Kind::Number
        && !(table == Table::Pipes && (column == pipe::Material || column == pipe::Diameter))
        && !(table == Table::Nodes && column == node::Appliance);
}

QString Column::shownCaption(const Settings &settings) const
{
    const QString c = caption(settings.pressure);
    return isPressure ? gas::withBasis(c, settings) : c;
}

QStringList loopKeys()
{
    return {QStringLiteral("loop"), QStringLiteral("pipe"),    QStringLiteral("direction"),
            QStringLiteral("drop"), QStringLiteral("closure"), QStringLiteral("closure_percent")};
}

QList<QStringList> loopRows(const Result &r)
{
    QList<QStringList> rows{loopKeys()};
    for (qsizetype l = 0; l < r.loops.size(); ++l) {
        const Loop &loop = r.loops[l];
        for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
            rows << QStringList{QString::number(l + 1),
                                r.pipes[loop.pipes[i]].id,
                                QString::number(loop.directions.value(i)),
                                formatNumber(r.pipes[loop.pipes[i]].lawDrop),
                                formatNumber(loop.closure),
                                formatNumber(loop.closurePercent)};
        }
    }
    return rows;
}

quantities::Table quantitiesOf(const Result &r)
{
    if (!r.solved())
        return {};
    QList<quantities::Pipe> pipes;
    pipes.reserve(r.pipes.size());
    for (const PipeResult &p : r.pipes)
        pipes.append({p.material, p.size, p.diameter, p.length});
    return quantities::tally(pipes);
}

QStringList quantityKeys()
{
    return {QStringLiteral("material"), QStringLiteral("size"), QStringLiteral("length"), QStringLiteral("pipes")};
}

QList<QStringList> quantityRows(const Result &r)
{
    const quantities::Table table = quantitiesOf(r);
    QList<QStringList> rows{quantityKeys()};
    for (const quantities::Row &row : table.rows)
        rows << QStringList{row.materialCaption, row.size, formatNumber(row.length), QString::number(row.count)};
    rows << QStringList{QStringLiteral("合计"), QString(), formatNumber(table.length), QString::number(table.count)};
    return rows;
}

} // namespace network
