#include "design_file.h"

#include "calculation.h"
#include "network_catalogue.h"
#include "network_columns.h"
#include "network_options.h"
#include "route_options.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>

namespace design {

namespace {

const QString kSections = QStringLiteral("sections");
// The digits a table shows: "15" or "4".
const QString kDigits = QStringLiteral("digits");

QString digitsText(int digits)
{
    return QString::number(digits == 4 ? 4 : 15);
}

int digitsOf(const Values &values)
{
    return values.value(kDigits).toString().trimmed() == u"4" ? 4 : 15;
}

enum class Kind { Text, Flag, Rows, Networks, Catalogues };

// A network's catalogues: an object of each material's rows by its key.
const QString kCatalogues = QStringLiteral("catalogues");

// How many texts a row of a list may hold: a route's section, a network's node or pipe.
int rowWidth(const QString &name)
{
    if (name == kSections)
        return route::kInputColumns;
    return network::typedCount(name == network::kNodesKey ? network::Table::Nodes : network::Table::Pipes);
}

// The settings of the route table or the network: the pressure class and default
// material as option flags, the typed settings as texts, and the digits shown.
void insertSettingControls(QMap<QString, Kind> &controls, const QList<gas::Setting> &settings)
{
    for (const gas::NamedOption &o : gas::pressureOptions() + gas::materialOptions())
        controls.insert(o.name, Kind::Flag);
    for (const gas::Setting &t : settings)
        controls.insert(t.name, Kind::Text);
    controls.insert(kDigits, Kind::Text);
}

Values settingValues(const gas::Settings &s, const QList<gas::Setting> &settings)
{
    Values values;
    const QList<gas::NamedOption> &pressures = gas::pressureOptions();
    values.insert(pressures[0].name, s.pressure == gas::Pressure::Low);
    values.insert(pressures[1].name, s.pressure == gas::Pressure::High);
    const QList<gas::NamedOption> &materials = gas::materialOptions();
    for (qsizetype i = 0; i < materials.size(); ++i)
        values.insert(materials[i].name, s.material == i);
    for (const gas::Setting &t : settings)
        values.insert(t.name, s.texts.contains(t.name) ? s.text(t.name) : t.initial);
    values.insert(kDigits, digitsText(s.digits));
    return values;
}

gas::Settings settingsOf(const Values &values, const QList<gas::Setting> &settings)
{
    gas::Settings s = gas::initialSettings(settings);
    s.pressure = values.value(gas::pressureOptions()[1].name).toBool() ? gas::Pressure::High : gas::Pressure::Low;
    const QList<gas::NamedOption> &materials = gas::materialOptions();
    for (qsizetype i = 0; i < materials.size(); ++i) {
        if (values.value(materials[i].name).toBool())
            s.material = int(i);
    }
    for (const gas::Setting &t : settings) {
        if (values.contains(t.name))
            s.setText(t.name, values.value(t.name).toString());
    }
    s.digits = digitsOf(values);
    return s;
}

// The controls that a screen may store, with their kinds; empty for an unknown screen.
const Work *workOf(const QString &code)
{
    for (const Work &w : works()) {
        if (w.code == code)
            return &w;
    }
    return nullptr;
}

// The controls of one network, as kept in an object of "networks" (or, in a design of
// one network, at the top of the screen's values).
QMap<QString, Kind> networkControls()
{
    QMap<QString, Kind> controls;
    insertSettingControls(controls, network::textSettings());
    controls.insert(network::kNodesKey, Kind::Rows);
    controls.insert(network::kPipesKey, Kind::Rows);
    controls.insert(kCatalogues, Kind::Catalogues);
    return controls;
}

QMap<QString, Kind> controlsOf(const QString &code)
{
    QMap<QString, Kind> controls;
    const Work *work = workOf(code);
    if (!work)
        return controls;
    if (work->family == Work::Family::Route) {
        insertSettingControls(controls, route::textSettings());
        controls.insert(kSections, Kind::Rows);
        return controls;
    }
    if (work->family == Work::Family::Network) {
        controls = networkControls();
        controls.insert(kNetworksKey, Kind::Networks);
        return controls;
    }
    const calc::Calculation *c = calc::find(code);
    if (!c)
        return controls;
    for (const calc::Field &f : c->fields)
        controls.insert(f.design, Kind::Text);
    for (const calc::Check &k : c->checks)
        controls.insert(k.design, Kind::Flag);
    for (const calc::Choice &ch : c->choices) {
        for (const calc::Option &o : ch.options)
            controls.insert(o.design, Kind::Flag);
    }
    return controls;
}

QJsonValue toJson(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::QVariantMap) {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), toJson(it.value()));
        return object;
    }
    const QVariantList list = value.toList();
    if (!list.isEmpty() && list.front().typeId() == QMetaType::QVariantMap) {
        QJsonArray objects;
        for (const QVariant &item : list)
            objects.append(toJson(item));
        return objects;
    }
    QJsonArray rows;
    for (const QVariant &row : value.toList())
        rows.append(QJsonArray::fromStringList(row.toStringList()));
    return rows;
}

} // namespace

Values valuesOf(const calc::Calculation &c, const calc::Input &input)
{
    Values values;
    for (const calc::Field &f : c.fields)
        values.insert(f.design, c.text(input, f.key));
    for (const calc::Check &k : c.checks)
        values.insert(k.design, c.isChecked(input, k.key));
    for (const calc::Choice &ch : c.choices) {
        const int selected = c.selected(input, ch.key);
        for (std::size_t i = 0; i < ch.options.size(); ++i)
            values.insert(ch.options[i].design, int(i) == selected);
    }
    return values;
}

calc::Input inputOf(const calc::Calculation &c, const Values &values)
{
    calc::Input input = c.initialInput();
    for (const calc::Field &f : c.fields)
        input.texts[f.key] = values.value(f.design).toString();
    for (const calc::Check &k : c.checks)
        input.checks[k.key] = values.value(k.design).toBool();
    for (const calc::Choice &ch : c.choices) {
        int selected = -1;
        for (std::size_t i = 0; i < ch.options.size(); ++i) {
            if (values.value(ch.options[i].design).toBool())
                selected = int(i);
        }
        input.choices[ch.key] = selected;
    }
    return input;
}

Values routeValues(const route::Settings &s, const QList<route::Section> &sections)
{
    Values values = settingValues(s, route::textSettings());
    QVariantList rows;
    for (const route::Section &section : sections) {
        QStringList cells;
        for (int column = 0; column < route::kInputColumns; ++column)
            cells << route::sectionField(section, column);
        rows.append(cells);
    }
    values.insert(kSections, rows);
    return values;
}

route::Settings routeSettings(const Values &values)
{
    return settingsOf(values, route::textSettings());
}

QList<route::Section> routeSections(const Values &values)
{
    QList<route::Section> sections;
    for (const QVariant &row : values.value(kSections).toList()) {
        const QStringList cells = row.toStringList();
        route::Section section;
        for (int column = 0; column < route::kInputColumns; ++column)
            route::sectionField(section, column) = cells.value(column);
        sections.append(section);
    }
    return sections;
}

const QList<Work> &works()
{
    static const QList<Work> all = [] {
        QList<Work> list;
        for (const calc::Calculation &c : calc::all())
            list.append({c.code, Work::Family::Calculation});
        list.append({route::kCode, Work::Family::Route});
        list.append({network::kCode, Work::Family::Network});
        return list;
    }();
    return all;
}

Values networkValues(const network::Network &net)
{
    Values values = settingValues(net.settings, network::textSettings());
    for (const auto &[key, rows, table] : {std::tuple{network::kNodesKey, &net.nodes, network::Table::Nodes},
                                           std::tuple{network::kPipesKey, &net.pipes, network::Table::Pipes}}) {
        const int width = network::typedCount(table);
        QVariantList list;
        list.reserve(rows->size());
        for (const network::Row &row : *rows) {
            network::Row cells = row;
            cells.resize(width);
            list.append(cells);
        }
        values.insert(key, list);
    }
    QVariantMap catalogues;
    for (int material = 0; material < int(net.catalogues.size()); ++material) {
        QVariantList list;
        for (const network::Row &row : net.catalogues[std::size_t(material)]) {
            network::Row cells = row;
            cells.resize(network::size::Count);
            list.append(cells);
        }
        catalogues.insert(network::catalogueKey(material), list);
    }
    values.insert(kCatalogues, catalogues);
    return values;
}

network::Network networkOf(const Values &values)
{
    network::Network net;
    net.settings = settingsOf(values, network::textSettings());
    for (const auto &[key, rows, table] : {std::tuple{network::kNodesKey, &net.nodes, network::Table::Nodes},
                                           std::tuple{network::kPipesKey, &net.pipes, network::Table::Pipes}}) {
        const int width = network::typedCount(table);
        for (const QVariant &row : values.value(key).toList()) {
            network::Row cells = row.toStringList();
            cells.resize(width);
            rows->append(cells);
        }
    }
    // A design made before the catalogues were kept takes the defaults.
    const QVariantMap catalogues = values.value(kCatalogues).toMap();
    for (int material = 0; material < int(net.catalogues.size()); ++material) {
        const auto stored = catalogues.constFind(network::catalogueKey(material));
        if (stored == catalogues.constEnd())
            continue;
        QList<network::Row> &rows = net.catalogues[std::size_t(material)];
        rows.clear();
        for (const QVariant &row : stored->toList()) {
            network::Row cells = row.toStringList();
            cells.resize(network::size::Count);
            rows.append(cells);
        }
    }
    return net;
}

Values networkScreenValues(const QList<NamedNetwork> &networks)
{
    QVariantList list;
    for (const NamedNetwork &n : networks) {
        Values values = networkValues(n.network);
        values.insert(QStringLiteral("name"), n.name);
        list.append(values);
    }
    return Values{{kNetworksKey, list}};
}

QList<NamedNetwork> networksOf(const Values &values)
{
    QList<NamedNetwork> networks;
    if (!values.contains(kNetworksKey)) {
        networks.append({kFirstNetworkName, networkOf(values)});
        return networks;
    }
    for (const QVariant &item : values.value(kNetworksKey).toList()) {
        const Values one = item.toMap();
        networks.append({one.value(QStringLiteral("name")).toString(), networkOf(one)});
    }
    return networks;
}

bool Project::isEmpty() const
{
    return *this == Project{};
}

const QList<ProjectField> &projectFields()
{
    static const QList<ProjectField> fields{{"name", "工程名称", &Project::name},
                                            {"designer", "设计", &Project::designer},
                                            {"checker", "校对", &Project::checker},
                                            {"reviewer", "审核", &Project::reviewer},
                                            {"date", "日期", &Project::date}};
    return fields;
}

Design initial()
{
    Design d;
    for (const Work &w : works()) {
        switch (w.family) {
        case Work::Family::Calculation: {
            const calc::Calculation &c = *calc::find(w.code);
            d.screens.insert(c.code, valuesOf(c, c.initialInput()));
            break;
        }
        case Work::Family::Route:
            d.screens.insert(w.code, routeValues(route::initialSettings(), {}));
            break;
        case Work::Family::Network:
            d.screens.insert(w.code,
                             networkScreenValues({{kFirstNetworkName, {network::initialSettings(), {}, {}}}}));
            break;
        }
    }
    return d;
}

namespace {

// Reads rows of at most width texts; the problem, or nothing.
QString readRows(const QString &where, const QJsonValue &v, int width, QVariantList &rows)
{
    if (!v.isArray())
        return QStringLiteral("“%1”应为行的数组").arg(where);
    for (const QJsonValue &row : v.toArray()) {
        if (!row.isArray() || row.toArray().size() > width)
            return QStringLiteral("“%1”的每一行应为至多%2个文本的数组").arg(where).arg(width);
        QStringList cells;
        for (const QJsonValue &cell : row.toArray()) {
            if (!cell.isString())
                return QStringLiteral("“%1”的单元格应为文本").arg(where);
            cells << cell.toString();
        }
        rows.append(cells);
    }
    return {};
}

// Reads a screen's stored controls into its values; the problem, or nothing.
QString readControls(const QString &code, const QJsonObject &stored, const QMap<QString, Kind> &controls,
                     Values &values)
{
    for (auto control = stored.begin(); control != stored.end(); ++control) {
        const QString name = control.key();
        const auto kind = controls.constFind(name);
        if (kind == controls.constEnd())
            return QStringLiteral("界面“%1”没有控件“%2”").arg(code, name);
        const QJsonValue v = control.value();
        switch (*kind) {
        case Kind::Text:
            if (!v.isString())
                return QStringLiteral("“%1/%2”应为文本").arg(code, name);
            values[name] = v.toString();
            break;
        case Kind::Flag:
            if (!v.isBool())
                return QStringLiteral("“%1/%2”应为 true 或 false").arg(code, name);
            values[name] = v.toBool();
            break;
        case Kind::Rows: {
            QVariantList rows;
            const QString problem = readRows(code + u'/' + name, v, rowWidth(name), rows);
            if (!problem.isEmpty())
                return problem;
            values[name] = rows;
            break;
        }
        case Kind::Catalogues: {
            if (!v.isObject())
                return QStringLiteral("“%1/%2”应为各管材规格的对象").arg(code, name);
            const QJsonObject byMaterial = v.toObject();
            QVariantMap catalogues;
            for (auto material = byMaterial.begin(); material != byMaterial.end(); ++material) {
                const QString key = material.key();
                if (key != network::catalogueKey(0) && key != network::catalogueKey(1)
                    && key != network::catalogueKey(2))
                    return QStringLiteral("“%1/%2”没有管材“%3”").arg(code, name, key);
                QVariantList rows;
                const QString problem
                    = readRows(code + u'/' + name + u'/' + key, material.value(), network::size::Count, rows);
                if (!problem.isEmpty())
                    return problem;
                catalogues.insert(key, rows);
            }
            // A material the file leaves out keeps its default sizes.
            QVariantMap all = values.value(name).toMap();
            all.insert(catalogues);
            values[name] = all;
            break;
        }
        case Kind::Networks: {
            if (!v.isArray() || v.toArray().isEmpty())
                return QStringLiteral("“%1/%2”应为管网对象的非空数组").arg(code, name);
            QVariantList networks;
            QStringList names;
            QMap<QString, Kind> one = networkControls();
            one.insert(QStringLiteral("name"), Kind::Text);
            for (const QJsonValue &item : v.toArray()) {
                if (!item.isObject())
                    return QStringLiteral("“%1/%2”的每一项应为对象").arg(code, name);
                const QJsonObject object = item.toObject();
                const QString networkName = object.value(QStringLiteral("name")).toString().trimmed();
                if (networkName.isEmpty())
                    return QStringLiteral("“%1/%2”的管网缺少名称").arg(code, name);
                if (names.contains(networkName))
                    return QStringLiteral("“%1/%2”中管网“%3”重复").arg(code, name, networkName);
                names << networkName;
                Values stored = networkScreenValues({{networkName, {}}}).value(kNetworksKey).toList().front().toMap();
                const QString problem = readControls(code + u'/' + name, object, one, stored);
                if (!problem.isEmpty())
                    return problem;
                stored.insert(QStringLiteral("name"), networkName);
                networks.append(stored);
            }
            values[name] = networks;
            break;
        }
        }
    }
    return {};
}

} // namespace

Read read(const QByteArray &bytes)
{
    Read r;
    auto refuse = [&r](const QString &problem) {
        r.error = problem;
        r.design = Design{};
        return r;
    };
    if (bytes.size() > kMaxSize)
        return refuse(QStringLiteral("文件大于64 MiB，不是设计文件"));
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("不是有效的JSON（位置%1：%2）").arg(parse.offset).arg(parse.errorString()));
    if (!document.isObject())
        return refuse(QStringLiteral("不是设计文件：顶层不是对象"));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        return refuse(QStringLiteral("不是设计文件：format 不是“%1”").arg(QLatin1String(kFormat)));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != double(version.toInt()) || version.toInt() < 1)
        return refuse(QStringLiteral("设计文件的版本无效"));
    if (version.toInt() > kVersion)
        return refuse(
            QStringLiteral("设计文件的版本%1比本程序新（本程序读取版本%2）").arg(version.toInt()).arg(kVersion));
    for (const QString &key : root.keys()) {
        if (key != u"format" && key != u"version" && key != u"screens" && key != u"project")
            return refuse(QStringLiteral("未知的项“%1”").arg(key));
    }
    Project project;
    if (root.contains(QStringLiteral("project"))) {
        const QJsonValue stored = root.value(QStringLiteral("project"));
        if (!stored.isObject())
            return refuse(QStringLiteral("project 应为对象"));
        const QJsonObject fields = stored.toObject();
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            const auto known
                = std::find_if(projectFields().begin(), projectFields().end(),
                               [&field](const ProjectField &f) { return field.key() == QLatin1String(f.key); });
            if (known == projectFields().end())
                return refuse(QStringLiteral("未知的项“project/%1”").arg(field.key()));
            if (!field.value().isString())
                return refuse(QStringLiteral("“project/%1”应为文本").arg(field.key()));
            project.*(known->text) = field.value().toString();
        }
    }
    const QJsonValue screens = root.value(QStringLiteral("screens"));
    if (!screens.isObject())
        return refuse(QStringLiteral("缺少 screens 对象"));

    r.design = initial();
    r.design.project = project;
    const QJsonObject byCode = screens.toObject();
    for (auto screen = byCode.begin(); screen != byCode.end(); ++screen) {
        const QString code = screen.key();
        const QMap<QString, Kind> controls = controlsOf(code);
        if (controls.isEmpty())
            return refuse(QStringLiteral("未知的界面“%1”").arg(code));
        if (!screen.value().isObject())
            return refuse(QStringLiteral("界面“%1”的内容不是对象").arg(code));
        Values &values = r.design.screens[code];
        const QJsonObject stored = screen.value().toObject();
        const QString problem = readControls(code, stored, controls, values);
        if (!problem.isEmpty())
            return refuse(problem);
        if (stored.contains(kNetworksKey) && stored.size() > 1)
            return refuse(QStringLiteral("界面“%1”的 networks 不能与单个管网的内容并存").arg(code));
        if (!stored.contains(kNetworksKey) && controlsOf(code).contains(kNetworksKey)) {
            // A design of one network: its values at the top become the first network.
            Values one = values;
            one.remove(kNetworksKey);
            values = networkScreenValues({{kFirstNetworkName, networkOf(one)}});
        }
    }
    return r;
}

QByteArray write(const Design &design)
{
    QJsonObject screens;
    for (auto screen = design.screens.begin(); screen != design.screens.end(); ++screen) {
        QJsonObject controls;
        for (auto value = screen->begin(); value != screen->end(); ++value)
            controls.insert(value.key(), toJson(value.value()));
        screens.insert(screen.key(), controls);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormat));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("screens"), screens);
    if (!design.project.isEmpty()) {
        QJsonObject project;
        for (const ProjectField &f : projectFields())
            project.insert(QLatin1String(f.key), design.project.*(f.text));
        root.insert(QStringLiteral("project"), project);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace design
