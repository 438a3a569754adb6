#include "report.h"

#include "design_file.h"
#include "network_layout.h"
#include "network_columns.h"
#include "network_options.h"
#include "network_picture.h"
#include "number_text.h"
#include "route_options.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace report {

namespace {

QFont reportFont(qreal pointSize);

// The pictures of the i-th network.
QString networkPicture(qsizetype i)
{
    return QStringLiteral("velmora-network-%1.png").arg(i);
}
QString networkProfile(qsizetype i)
{
    return QStringLiteral("velmora-profile-%1.png").arg(i);
}
const QString kRouteProfile = QStringLiteral("velmora-route-profile.png");

// Whether an entry has its pictures: a route whose settings can be used, a network solved.
bool routeDrawn(const RouteEntry &e)
{
    return e.result.settingsValid && !e.sections.isEmpty();
}

bool networkDrawn(const NetworkEntry &e)
{
    return !e.result.refused && e.result.converged;
}

// The drawing's size in the image the report holds.
constexpr int kPictureWidth = 1500;
constexpr int kPictureHeight = 1000;

QString escape(const QString &text)
{
    return text.toHtmlEscaped();
}

QString row(const QStringList &cells, bool header = false, const QString &style = QString())
{
    QString html = style.isEmpty() ? QStringLiteral("<tr>") : QStringLiteral("<tr style=\"%1\">").arg(style);
    for (const QString &cell : cells)
        html += (header ? QStringLiteral("<th>") : QStringLiteral("<td>")) + escape(cell)
            + (header ? QStringLiteral("</th>") : QStringLiteral("</td>"));
    return html + QStringLiteral("</tr>");
}

// One table of whole rows; the first row is the header, repeated on every page the
// table runs onto.
QString tableOf(const QList<QStringList> &rows, int chosenRow)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString cells
            = row(rows[i], i == 0, i - 1 == chosenRow ? QStringLiteral("background-color:#ffe08a") : QString());
        html += i == 0 ? QStringLiteral("<thead>") + cells + QStringLiteral("</thead>") : cells;
    }
    return html + QStringLiteral("</table>");
}

// The width of the body of a portrait A4 page in the report's pixels (96 to an inch):
// 174 mm between the margins is 657, less the text's own margins and some room to spare.
constexpr double kBodyWidth = 640;
double cellWidth(const QString &text, bool header)
{
    static const QFontMetricsF body(reportFont(9.5)), bold([] {
        QFont f = reportFont(9.5);
        f.setBold(true);
        return f;
    }());
    // A text of several lines is as wide as its widest line.
    double widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, (header ? bold : body).horizontalAdvance(line));
    return widest + 10;
}

// A table as wide as a portrait page at most: its cells never break, and a table wider than the
// page is split into tables of fewer columns, each with the first column (the row's name) again.
QString table(const QList<QStringList> &rows, int chosenRow = -1)
{
    if (rows.isEmpty())
        return {};
    qsizetype columns = 0;
    for (const QStringList &r : rows)
        columns = std::max(columns, r.size());
    QList<double> widths(columns, 0);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (qsizetype c = 0; c < rows[i].size(); ++c)
            widths[c] = std::max(widths[c], cellWidth(rows[i][c], i == 0));
    }
    QList<QList<qsizetype>> groups{{}};
    double used = widths.value(0);
    for (qsizetype c = 1; c < columns; ++c) {
        if (!groups.back().isEmpty() && used + widths[c] > kBodyWidth) {
            groups.append(QList<qsizetype>());
            used = widths[0];
        }
        groups.back() << c;
        used += widths[c];
    }
    if (columns <= 1 || groups.size() == 1)
        return tableOf(rows, chosenRow);
    QString html;
    for (const QList<qsizetype> &group : groups) {
        QList<QStringList> part;
        for (const QStringList &r : rows) {
            QStringList cells{r.value(0)};
            for (const qsizetype c : group)
                cells << r.value(c);
            part << cells;
        }
        html += tableOf(part, chosenRow) + QStringLiteral("<p></p>");
    }
    return html;
}

QString list(const QStringList &items)
{
    QString html = QStringLiteral("<ul>");
    for (const QString &item : items)
        html += QStringLiteral("<li>") + escape(item) + QStringLiteral("</li>");
    return html + QStringLiteral("</ul>");
}

QString calculationHtml(const Entry &e)
{
    const calc::Calculation &c = *e.calculation;
    QString html = QStringLiteral("<h2>%1</h2>").arg(escape(c.title));

    QList<QStringList> inputs{
        {QStringLiteral("项目"), QStringLiteral("录入"), QStringLiteral("读数"), QStringLiteral("单位")}};
    for (const calc::Field &f : c.fields) {
        // A field the screen has disabled does not count.
        if (!c.fieldCounts(e.input, f.key))
            continue;
        const QString text = c.text(e.input, f.key);
        inputs << QStringList{f.caption, text, formatNumber(parseLeadingNumber(text)), f.unit};
    }
    html += QStringLiteral("<h3>录入数据</h3>") + table(inputs);

    QStringList chosen;
    for (const calc::Check &k : c.checks)
        chosen << k.caption + QStringLiteral("：")
                + (c.isChecked(e.input, k.key) ? QStringLiteral("是") : QStringLiteral("否"));
    for (const calc::Choice &ch : c.choices) {
        const int selected = c.selected(e.input, ch.key);
        chosen << ch.caption + QStringLiteral("：")
                + (selected >= 0 ? ch.options[std::size_t(selected)].spoken() : QStringLiteral("未选"));
    }
    if (!chosen.isEmpty())
        html += QStringLiteral("<h3>选项</h3>") + list(chosen);

    html += QStringLiteral("<h3>计算公式</h3>") + list(c.formula);
    QStringList symbols;
    for (const calc::Symbol &s : c.symbols) {
        QString name;
        if (const calc::Field *f = c.field(s.key))
            name = calc::bareCaption(f->caption);
        else if (const calc::Choice *ch = c.choice(s.key))
            name = ch->caption;
        symbols << s.symbol + QStringLiteral("：") + name;
    }
    if (!symbols.isEmpty())
        html += QStringLiteral("<p>符号：") + escape(symbols.join(QStringLiteral("；"))) + QStringLiteral("</p>");
    if (!c.constants.isEmpty())
        html += QStringLiteral("<h3>常数</h3>") + list(c.constants);

    if (!e.outcome.stopped) {
        QList<QStringList> results{{QStringLiteral("结果"), QStringLiteral("数值"), QStringLiteral("单位")}};
        for (const calc::Result &r : c.results) {
            if (e.outcome.results.contains(r.key) && r.value)
                results << QStringList{r.caption, e.outcome.results.value(r.key), r.unit};
        }
        if (results.size() > 1)
            html += QStringLiteral("<h3>计算结果</h3>") + table(results);
    }
    if (!e.outcome.messages.isEmpty())
        html += QStringLiteral("<h3>提示</h3>") + list(e.outcome.messages);
    if (!e.outcome.table.isEmpty()) {
        QList<QStringList> rows{{}};
        for (const calc::Result &col : c.tableColumns)
            rows.front() << col.caption;
        rows += e.outcome.table;
        html += QStringLiteral("<h3>管径表</h3>");
        if (e.outcome.chosenRow)
            html += QStringLiteral("<p>预选管径：第%1行（已标出）</p>").arg(*e.outcome.chosenRow + 1);
        html += table(rows, e.outcome.chosenRow.value_or(-1));
    }
    return html;
}

QString routeHtml(const RouteEntry &r, double pictureWidth)
{
    QString html = QStringLiteral("<h2>管网水力计算表</h2>");
    const route::Settings &s = r.settings;
    const bool low = s.pressure == route::Pressure::Low;
    QStringList settings{
        gas::kPressureCaption + QStringLiteral("：") + gas::pressureOptions().value(low ? 0 : 1).caption,
        gas::kMaterialCaption + QStringLiteral("：") + gas::materialOptions().value(s.material).caption};
    for (const gas::Setting &t : route::textSettings()) {
        if (t.serves(s.pressure))
            settings << t.caption(s.pressure) + s.text(t.name);
    }
    html += QStringLiteral("<h3>计算条件</h3>") + list(settings);
    html += QStringLiteral("<h3>计算公式</h3>")
        + list(low ? QStringList{QStringLiteral(
                                     "单位压降 i 按低压管段水力计算；摩擦压降 = i · L；局部压降 = 摩擦压降 · a / 100"),
                                 QStringLiteral(
                                     "附加压头 = (1.293 − ρ) · ΔZ · 9.81；管段压降 = 摩擦压降 + 局部压降 − 附加压头"),
                                 QStringLiteral("自动选径：i ≤ ΔPd / Σ(L · (1 + a/100)) 的最小管径")}
                   : QStringList{
                       QStringLiteral("压力平方差 s 按中高压管段水力计算；管段 ΔP² = s · L · (1 + a/100)"),
                       QStringLiteral("终点压力 = √(起点压力² − ΔP²)，下一管段的起点压力为上一管段的终点压力"),
                       QStringLiteral("自动选径：s ≤ (P1² − P2min²) / Σ(L · (1 + a/100)) 的最小管径")});

    const QList<QStringList> rows = route::tableRows(r.settings, r.sections, r.result);
    QStringList header;
    for (const route::Column &c : route::inputColumns(s.pressure))
        header << c.caption;
    header << QStringLiteral("自动");
    for (const route::Column &c : route::computedColumns(s.pressure))
        header << c.caption;
    header << QStringLiteral("提示") << QStringLiteral("结论");
    QList<QStringList> body{header};
    const qsizetype automatic = route::kInputColumns;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        QStringList cells = rows[i];
        if (cells.size() > automatic && !cells[automatic].isEmpty())
            cells[automatic] = cells[automatic] == u"1" ? QStringLiteral("是") : QStringLiteral("否");
        // The computed columns (and the closing row's sums) in the digits the table shows.
        for (qsizetype c = automatic + 1; c < cells.size(); ++c)
            cells[c] = withDigits(cells[c], s.digits);
        if (i == rows.size() - 1 && cells.size() > route::Length)
            cells[route::Length] = withDigits(cells[route::Length], s.digits);
        if (!low)
            cells.removeAt(route::Rise);
        body << cells;
    }
    if (!low)
        body.front().removeAt(route::Rise);
    html += QStringLiteral("<h3>水力计算表</h3>") + table(body);
    html += QStringLiteral("<p><b>结论：%1</b></p>").arg(escape(r.result.verdict));
    if (pictureWidth > 0 && routeDrawn(r)) {
        html += QStringLiteral("<h3>沿线压力</h3><p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                    .arg(kRouteProfile)
                    .arg(int(pictureWidth))
                    .arg(int(pictureWidth * kPictureHeight / 2 / kPictureWidth));
    }
    return html;
}

QString networkHtml(const NetworkEntry &e, qsizetype index, double pictureWidth)
{
    const network::Network &net = e.network;
    const network::Result &r = e.result;
    const network::Settings &s = net.settings;
    const bool low = s.pressure == network::Pressure::Low;
    QString html = QStringLiteral("<h2>%1：%2</h2>").arg(escape(network::kTitle), escape(e.name));
    QStringList settings{
        gas::kPressureCaption + QStringLiteral("：") + gas::pressureOptions().value(low ? 0 : 1).caption,
        QStringLiteral("默认管材：") + gas::materialOptions().value(s.material).caption};
    for (const gas::Setting &t : network::textSettings()) {
        if (t.serves(s.pressure))
            settings << gas::shownCaption(t, s) + t.shown(s.text(t.name));
    }
    html += QStringLiteral("<h3>计算条件</h3>") + list(settings);
    html += QStringLiteral("<h3>计算公式</h3>") + list(network::formulaLines(s.pressure));
    if (r.refused) {
        html += QStringLiteral("<p><b>数据不全：%1</b></p>").arg(escape(r.refused->text));
        return html;
    }
    if (!r.converged) {
        html += QStringLiteral("<p><b>%1</b></p>").arg(escape(r.failure));
        return html;
    }
    html += QStringLiteral("<p>流量计算方法：%1</p>").arg(escape(r.flowRule));
    auto text = [&s](const network::Value &v) {
        if (const double *number = std::get_if<double>(&v))
            return formatSignificant(*number, s.digits);
        if (const QString *t = std::get_if<QString>(&v))
            return *t;
        if (const bool *flag = std::get_if<bool>(&v))
            return *flag ? QStringLiteral("是") : QStringLiteral("否");
        return QString();
    };
    for (const auto &[table, title, count] : {std::tuple{network::Table::Nodes, "节点", r.nodes.size()},
                                              std::tuple{network::Table::Pipes, "管段", r.pipes.size()}}) {
        QList<const network::Column *> columns;
        QStringList header;
        for (const network::Column &c : network::columns(table)) {
            if (c.serves(s.pressure) && c.inReport) {
                columns << &c;
                header << c.shownCaption(s);
            }
        }
        QList<QStringList> rows{header};
        for (qsizetype i = 0; i < count; ++i) {
            QStringList cells;
            for (const network::Column *c : columns) {
                QString cell = c->shown ? c->shown(r, int(i)) : text(c->value(r, int(i)));
                // On paper a value over its bound has no colour: a word beside it.
                if (c->marked && c->marked(r, int(i)))
                    cell += QStringLiteral("（超限）");
                cells << cell;
            }
            rows << cells;
        }
        html += QStringLiteral("<h3>%1</h3>").arg(QString::fromUtf8(title)) + report::table(rows);
    }
    if (!r.worstPath.isEmpty()) {
        QStringList ids;
        for (const int k : r.worstPath)
            ids << r.pipes[k].id;
        html += QStringLiteral("<p>最不利管线：%1</p>").arg(escape(ids.join(QStringLiteral(" → "))));
    }
    if (!r.loops.isEmpty()) {
        const QString unit = low ? QStringLiteral("(Pa)") : QStringLiteral("(kPa^2)");
        QList<QStringList> loops{{QStringLiteral("环"), QStringLiteral("管段"), QStringLiteral("方向"),
                                  QStringLiteral("压降") + unit, QStringLiteral("闭合差") + unit,
                                  QStringLiteral("闭合差%")}};
        for (qsizetype l = 0; l < r.loops.size(); ++l) {
            const network::Loop &loop = r.loops[l];
            for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
                loops << QStringList{QString::number(l + 1),
                                     r.pipes[loop.pipes[i]].id,
                                     loop.directions.value(i) > 0 ? QStringLiteral("+1") : QStringLiteral("-1"),
                                     text(r.pipes[loop.pipes[i]].lawDrop),
                                     QString(),
                                     QString()};
            }
            loops << QStringList{QString::number(l + 1), QStringLiteral("合计"),   QString(), QString(),
                                 text(loop.closure),     text(loop.closurePercent)};
        }
        html
            += QStringLiteral("<h3>环网闭合差</h3><p>闭合差 = Σ 方向 × 压降；压降按管段自身的方向（起点至终点）计正负，"
                              "方向 +1 表示环的走向与管段相同</p>")
            + report::table(loops);
    }
    const quantities::Table bill = network::quantitiesOf(r);
    if (!bill.rows.isEmpty()) {
        QList<QStringList> rows{{QStringLiteral("管材"), QStringLiteral("规格"),
                                 low ? QStringLiteral("管长(m)") : QStringLiteral("管长(km)"), QStringLiteral("根数")}};
        for (const quantities::Row &row : bill.rows)
            rows << QStringList{row.materialCaption, row.size, text(row.length), QString::number(row.count)};
        rows << QStringList{QStringLiteral("合计"), QString(), text(bill.length), QString::number(bill.count)};
        html += QStringLiteral("<h3>管材统计</h3>") + report::table(rows);
    }
    html += QStringLiteral("<p><b>结论：%1</b></p>").arg(escape(network::verdictLine(r, s.digits)));
    if (pictureWidth > 0 && networkDrawn(e)) {
        html += QStringLiteral("<h3>管网图</h3><p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                    .arg(networkPicture(index))
                    .arg(int(pictureWidth))
                    .arg(int(pictureWidth * kPictureHeight / kPictureWidth));
        html += QStringLiteral("<h3>最不利管线压力</h3><p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                    .arg(networkProfile(index))
                    .arg(int(pictureWidth))
                    .arg(int(pictureWidth * kPictureHeight / 2 / kPictureWidth));
    }
    return html;
}

// The project block: the captions over what is typed in them, as a drawing's title block;
// the cells stay, empty, for signing by hand when nothing is typed in them.
QString projectHtml(const design::Project &p)
{
    QStringList captions, texts;
    for (const design::ProjectField &f : design::projectFields()) {
        captions << QString::fromUtf8(f.caption);
        texts << p.*(f.text);
    }
    return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">")
        + row(captions, true) + row(texts) + QStringLiteral("</table>");
}

QFont reportFont(qreal pointSize)
{
    QFont font;
    // A font whose glyphs come out of a PDF as the characters they are.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

namespace {

constexpr int kDrawingObject = QTextFormat::UserObject + 1;
constexpr int kDrawingName = QTextFormat::UserProperty + 1;
constexpr int kDrawingSize = QTextFormat::UserProperty + 2;

} // namespace

// The drawings of a report: each takes the place of its image in the text, and is
// painted with the painter that prints the page, so that it stays vector graphics.
class Drawings : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    explicit Drawings(const QPaintDevice *device)
        : m_devicePerPixel(device->logicalDpiX() / 96.0)
    {}

    QHash<QString, std::function<void(QPainter &, const QRectF &)>> painters;

    // Every image named in painters becomes a drawing of the same size.
    void takePlaces(QTextDocument &document)
    {
        QList<std::pair<int, QTextImageFormat>> images;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                if (image.isValid() && painters.contains(image.name()))
                    images.append({it.fragment().position(), image});
            }
        }
        for (const auto &[position, image] : images) {
            QTextCharFormat drawing;
            drawing.setObjectType(kDrawingObject);
            drawing.setProperty(kDrawingName, image.name());
            drawing.setProperty(kDrawingSize, QSizeF(image.width(), image.height()) * m_devicePerPixel);
            QTextCursor cursor(&document);
            cursor.setPosition(position);
            cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
            // A new format on the same character, so that nothing is laid out yet.
            cursor.setCharFormat(drawing);
        }
    }

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        return format.property(kDrawingSize).toSizeF();
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &format) override
    {
        const auto paint = painters.constFind(format.property(kDrawingName).toString());
        if (paint == painters.constEnd())
            return;
        // Drawn in pixels of a screen, as on the screen, scaled to the page.
        painter->save();
        painter->setClipRect(rect);
        painter->setFont(reportFont(9));
        painter->translate(rect.topLeft());
        painter->scale(m_devicePerPixel, m_devicePerPixel);
        (*paint)(*painter, QRectF(QPointF(0, 0), rect.size() / m_devicePerPixel));
        painter->restore();
    }

private:
    double m_devicePerPixel;
};

QString html(const Report &r, double pictureWidth)
{
    QString html = QStringLiteral("<h1>计算书</h1>") + projectHtml(r.project);
    for (const Entry &e : r.entries)
        html += calculationHtml(e);
    if (r.route)
        html += routeHtml(*r.route, pictureWidth);
    for (qsizetype i = 0; i < r.networks.size(); ++i)
        html += networkHtml(r.networks[i], i, pictureWidth);
    if (r.entries.isEmpty() && !r.route && r.networks.isEmpty())
        html += QStringLiteral("<p>没有可列入的计算结果。</p>");
    return html;
}

void render(const Report &r, QPagedPaintDevice *device)
{
    QPainter painter(device);
    // The painter's origin is the top left of the printable area.
    const QRectF page(0, 0, device->width(), device->height());
    const QFont small = reportFont(8);
    const qreal band = QFontMetricsF(small, device).height() * 2.5;

    QTextDocument document;
    document.documentLayout()->setPaintDevice(device);
    document.setDefaultFont(reportFont(9.5));
    document.setDefaultStyleSheet(QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 13pt; } "
                                                 "h3 { font-size: 10.5pt; } th { background-color: #e8e8e8; } "
                                                 "td, th { white-space: nowrap; }"));
    // The drawings, painted on the page as vector graphics where the text places them.
    Drawings drawings(device);
    if (r.route && routeDrawn(*r.route)) {
        const picture::Profile profile = picture::routeProfile(r.route->settings, r.route->sections, r.route->result);
        drawings.painters.insert(kRouteProfile, [profile](QPainter &painter, const QRectF &area) {
            picture::paintProfile(painter, area, profile);
        });
    }
    for (qsizetype i = 0; i < r.networks.size(); ++i) {
        const NetworkEntry &e = r.networks[i];
        if (!networkDrawn(e))
            continue;
        const network::Layout layout = network::layOut(e.result);
        const picture::Scene scene
            = picture::sceneOf(e.result, layout, picture::ColourBy::UnitDrop, e.network.settings.digits);
        drawings.painters.insert(networkPicture(i),
                                 [scene](QPainter &painter, const QRectF &area) { picture::paint(painter, area, scene); });
        const picture::Profile profile = picture::profileOf(e.result);
        drawings.painters.insert(networkProfile(i), [profile](QPainter &painter, const QRectF &area) {
            picture::paintProfile(painter, area, profile);
        });
    }
    document.documentLayout()->registerHandler(kDrawingObject, &drawings);
    // Image sizes are read at 96 dots per inch, whatever the device's resolution.
    // The page first: the drawings taking their places lay the text out up to them once, for good.
    const QSizeF body(page.width(), page.height() - 2 * band);
    document.setPageSize(body);
    document.setHtml(html(r, page.width() * 0.9 * 96.0 / device->logicalDpiX()));
    drawings.takePlaces(document);
    const int pages = document.pageCount();

    QString header = QStringLiteral("Velmora 计算书    %1").arg(r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (!r.designName.isEmpty())
        header += QStringLiteral("    设计文件：") + r.designName;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device->newPage();
        painter.setFont(small);
        painter.drawText(QRectF(0, 0, page.width(), band), Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.drawLine(QPointF(0, band * 0.85), QPointF(page.width(), band * 0.85));
        painter.drawText(QRectF(0, page.height() - band, page.width(), band), Qt::AlignCenter,
                         QStringLiteral("第 %1 页，共 %2 页").arg(i + 1).arg(pages));
        painter.save();
        painter.translate(0, band - i * body.height());
        document.drawContents(&painter, QRectF(0, i * body.height(), body.width(), body.height()));
        painter.restore();
    }
}

bool writePdf(const Report &r, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("计算书"));
        writer.setCreator(QStringLiteral("Velmora"));
        render(r, &writer);
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

Report fromDesign(const QString &designName, const QMap<QString, QMap<QString, QVariant>> &screens,
                  const design::Project &project)
{
    Report r;
    r.designName = designName;
    r.project = project;
    r.when = QDateTime::currentDateTime();
    for (const design::Work &work : design::works()) {
        const auto state = screens.constFind(work.code);
        if (state == screens.constEnd())
            continue;
        switch (work.family) {
        case design::Work::Family::Calculation: {
            const calc::Calculation &c = *calc::find(work.code);
            const calc::Input input = design::inputOf(c, *state);
            const calc::Outcome outcome = c.calculate(input);
            if (outcome.table.isEmpty() && (outcome.stopped || outcome.results.isEmpty()))
                continue;
            r.entries.append({&c, input, outcome});
            break;
        }
        case design::Work::Family::Route: {
            const QList<route::Section> sections = design::routeSections(*state);
            if (!sections.isEmpty()) {
                const route::Settings settings = design::routeSettings(*state);
                r.route = RouteEntry{settings, sections, route::calculate(settings, sections)};
            }
            break;
        }
        case design::Work::Family::Network: {
            for (const design::NamedNetwork &n : design::networksOf(*state)) {
                if (!n.network.nodes.isEmpty())
                    r.networks.append(NetworkEntry{n.name, n.network, network::solve(n.network)});
            }
            break;
        }
        }
    }
    return r;
}

} // namespace report

#include "report.moc"
