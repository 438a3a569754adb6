#include "network_picture.h"

#include "network_dxf.h"
#include "network_geometry.h"
#include "number_text.h"
#include "route_options.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace picture {

namespace {

// The drawings are made in pixels of a screen at 96 dots per inch, their texts
// included (8 points there): a page scales them as a whole.
constexpr int kTextPixels = 11;
// So few nodes and pipes that their ids are drawn at any scale.
constexpr int kReadableItems = 600;

double measureOf(const network::PipeResult &p, ColourBy by, bool low)
{
    switch (by) {
    case ColourBy::Flow:
        return std::fabs(p.flow);
    case ColourBy::PressureDrop:
        return std::fabs(low ? p.pipeDrop : p.dp2);
    default:
        return p.unitDrop;
    }
}

QString valueUnitOf(ColourBy by, bool low)
{
    switch (by) {
    case ColourBy::Flow:
        return QStringLiteral("流量(Nm^3/h)");
    case ColourBy::PressureDrop:
        return low ? QStringLiteral("管段压降(Pa)") : QStringLiteral("ΔP²(kPa^2)");
    default:
        return low ? QStringLiteral("单位压降(Pa/m)") : QStringLiteral("单位压降(kPa^2/km)");
    }
}

// A number for an axis: six significant digits.
QString formatShort(double v)
{
    return QString::number(v, 'g', 6);
}

// A network's pressures: Pa, or kPa gauge or absolute.
QString pressureUnitOf(const network::Result &r)
{
    return r.low ? QStringLiteral("Pa") : r.gauge ? QStringLiteral("kPa，表压") : QStringLiteral("kPa，绝压");
}

} // namespace

Scene sceneOf(const network::Result &r, const network::Layout &layout, ColourBy by, int digits, bool texts)
{
    Scene s;
    s.colourBy = by;
    s.digits = digits;
    const bool low = r.low;
    s.pressureUnit = pressureUnitOf(r);
    s.valueUnit = valueUnitOf(by, low);
    s.solved = r.solved();
    s.nodes.reserve(r.nodes.size());
    for (qsizetype i = 0; i < r.nodes.size(); ++i) {
        const network::NodeResult &rn = r.nodes[i];
        Node n;
        n.id = rn.id;
        n.at = layout.points.value(i);
        n.source = rn.source;
        if (s.solved)
            n.pressure = rn.pressure;
        n.worst = s.solved && r.worstNode == i;
        if (texts)
            n.label = s.solved ? dxf::nodeLabel(dxf::nodeOf(r, int(i), n.at), low) : n.id;
        s.nodes << n;
    }
    QHash<std::pair<double, double>, int> atPoint;
    for (Node &n : s.nodes)
        n.stack = atPoint[{n.at.x(), n.at.y()}]++;
    s.pipes.reserve(r.pipes.size());
    for (qsizetype k = 0; k < r.pipes.size(); ++k) {
        const network::PipeResult &pr = r.pipes[k];
        if (pr.from < 0 || pr.to < 0)
            continue;
        Pipe p;
        p.id = pr.id;
        p.row = int(k);
        p.from = pr.from;
        p.to = pr.to;
        p.diameter = pr.diameter;
        if (!layout.automatic.value(p.from, true) && !layout.automatic.value(p.to, true))
            p.bends = pr.bends;
        if (s.solved) {
            if (texts) {
                const dxf::PipeLabels labels = dxf::pipeLabels(dxf::pipeOf(r, int(k)), low);
                p.above = labels.above;
                p.below = labels.below;
            }
            p.value = measureOf(pr, by, low);
            p.flow = pr.flow;
            p.direction = pr.flow > 0 ? 1 : pr.flow < 0 ? -1 : 0;
            p.automatic = pr.automatic;
        }
        s.pipes << p;
    }
    // The scales.
    bool first = true;
    for (const Node &n : s.nodes) {
        if (!n.pressure)
            continue;
        s.lowPressure = first ? *n.pressure : std::min(s.lowPressure, *n.pressure);
        s.highPressure = first ? *n.pressure : std::max(s.highPressure, *n.pressure);
        first = false;
    }
    first = true;
    for (const Pipe &p : s.pipes) {
        if (!p.value)
            continue;
        s.lowValue = first ? *p.value : std::min(s.lowValue, *p.value);
        s.highValue = first ? *p.value : std::max(s.highValue, *p.value);
        first = false;
    }
    if (s.solved) {
        // The scale reaches down to the minimum pressure, so that a node's colour says how close it comes.
        s.minPressure = r.minPressure;
        s.lowPressure = std::min(s.lowPressure, r.minPressure);
        s.highPressure = std::max(s.highPressure, r.minPressure);
        // The most unfavourable line.
        QList<int> drawn(r.pipes.size(), -1);
        for (qsizetype i = 0; i < s.pipes.size(); ++i)
            drawn[s.pipes[i].row] = int(i);
        for (const int k : r.worstPath) {
            if (drawn.value(k) >= 0)
                s.pipes[drawn[k]].onWorstPath = true;
        }
    }
    return s;
}

QColor scaleColour(double t)
{
    t = std::clamp(std::isfinite(t) ? t : 0.5, 0.0, 1.0);
    // Blue, cyan, green, yellow, red.
    static const QColor stops[]
        = {QColor(40, 80, 220), QColor(0, 170, 200), QColor(40, 170, 60), QColor(230, 190, 0), QColor(220, 40, 30)};
    const double x = t * 4;
    const int i = std::min(3, int(x));
    const double f = x - i;
    const QColor &a = stops[i], &b = stops[i + 1];
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                            float(a.greenF() + (b.greenF() - a.greenF()) * f),
                            float(a.blueF() + (b.blueF() - a.blueF()) * f));
}

double onScale(double value, double low, double high)
{
    if (!(high > low))
        return 0.5;
    return std::clamp((value - low) / (high - low), 0.0, 1.0);
}

double pipeWidth(double diameter)
{
    return std::clamp(1.0 + std::sqrt(std::max(diameter, 0.0)) / 5.0, 1.0, 8.0);
}

namespace {

// The length of the middling pipe, in units of X, Y (0 without pipes).
double middleLength(const Scene &s)
{
    std::vector<double> lengths;
    lengths.reserve(std::size_t(s.pipes.size()));
    for (const Pipe &p : s.pipes)
        lengths.push_back(QLineF(s.nodes[p.from].at, s.nodes[p.to].at).length());
    if (lengths.empty())
        return 0;
    const auto middle = lengths.begin() + std::ptrdiff_t(lengths.size() / 2);
    std::nth_element(lengths.begin(), middle, lengths.end());
    return *middle;
}

// The ids of few items are drawn at any scale; else the middling pipe, this long
// on the picture, is as long as a few characters at least.
bool readable(const Scene &s, double middleOnPicture)
{
    return s.nodes.size() + s.pipes.size() <= kReadableItems || s.pipes.isEmpty() || middleOnPicture >= 60;
}

// The piece of a course that holds its middle, as far along it as the middle is; the whole
// first piece of a course of no length.
QLineF halfway(const QPolygonF &course)
{
    const network::Middle middle = network::middleOf(course);
    if (middle.piece < 0)
        return {};
    const QLineF line(course[middle.piece], course[middle.piece + 1]);
    if (!(line.length() > 0))
        return line;
    // The piece centred on the middle, as long as it fits on the piece.
    const double at = middle.along / line.length();
    const double reach = std::min(at, 1 - at);
    const QLineF centred(line.pointAt(at - reach), line.pointAt(at + reach));
    return centred.length() > 24 ? centred : line;
}

} // namespace

bool idsReadable(const Scene &s, double scale)
{
    return readable(s, middleLength(s) * scale);
}

QRectF extentOf(const Scene &s)
{
    if (s.nodes.isEmpty())
        return {};
    double left = s.nodes.front().at.x(), right = left, bottom = s.nodes.front().at.y(), top = bottom;
    auto include = [&](QPointF at) {
        left = std::min(left, at.x());
        right = std::max(right, at.x());
        bottom = std::min(bottom, at.y());
        top = std::max(top, at.y());
    };
    for (const Node &n : s.nodes)
        include(n.at);
    for (const Pipe &p : s.pipes) {
        for (const QPointF &b : p.bends)
            include(b);
    }
    return QRectF(QPointF(left, bottom), QPointF(right, top));
}

void paint(QPainter &painter, const QRectF &target, const Scene &s, bool labels)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    const QRectF area = target.adjusted(10, 10, -legendWidth(painter.font(), painter.device()) - 40, -10);

    // The network's extent, fitted with Y up.
    const QRectF extent = extentOf(s);
    const double scale
        = std::min(area.width() / std::max(extent.width(), 1e-9), area.height() / std::max(extent.height(), 1e-9));
    const double fit = std::isfinite(scale) && scale > 0 && extent.width() + extent.height() > 0 ? scale : 1.0;
    // A dense network: no ids, and nodes small enough to leave their pipes in sight.
    const double middle = middleLength(s) * fit;
    labels = labels && readable(s, middle);
    const double node = s.pipes.isEmpty() ? 6 : std::clamp(middle / 4, 2.0, 6.0);
    auto place = [&](const QPointF &p) {
        return QPointF(area.center().x() + (p.x() - extent.center().x()) * fit,
                       area.center().y() - (p.y() - extent.center().y()) * fit);
    };

    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const Pipe &p : s.pipes) {
        QPolygonF course;
        course.reserve(p.bends.size() + 2);
        course << place(s.nodes[p.from].at);
        for (const QPointF &b : p.bends)
            course << place(b);
        course << place(s.nodes[p.to].at);
        const QColor colour = p.value ? scaleColour(onScale(*p.value, s.lowValue, s.highValue)) : QColor(Qt::gray);
        if (p.onWorstPath) {
            painter.setPen(
                QPen(QColor(255, 0, 200, 90), pipeWidth(p.diameter) + 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(course);
        }
        painter.setPen(QPen(colour, pipeWidth(p.diameter), p.automatic ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPolyline(course);
        // The piece halfway along, where the arrow and the labels go.
        const QLineF half = halfway(course);
        if (p.direction != 0 && half.length() > 24) {
            // An arrow at the middle, pointing the way the gas flows.
            const QLineF line = p.direction > 0 ? half : QLineF(half.p2(), half.p1());
            const QPointF mid = line.pointAt(0.5);
            const QLineF back = QLineF(mid, line.p1()).unitVector();
            const QPointF d = (back.p2() - back.p1()) * 9;
            const QPointF side(-d.y() * 0.5, d.x() * 0.5);
            QPainterPath arrow;
            arrow.moveTo(mid + (line.p2() - line.p1()) / line.length() * 4);
            arrow.lineTo(mid + d + side);
            arrow.lineTo(mid + d - side);
            arrow.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour.darker(140));
            painter.drawPath(arrow);
        }
        if (labels && !p.above.isEmpty()) {
            // Upright along the pipe, centred: the size and length above, the flow and drop below.
            painter.save();
            painter.translate(half.pointAt(0.5));
            double angle = -half.angle();
            if (angle < -90 || angle > 90)
                angle += angle < 0 ? 180 : -180;
            painter.rotate(angle);
            painter.setPen(Qt::darkGray);
            painter.drawText(QPointF(-metrics.horizontalAdvance(p.above) / 2, -3 - metrics.descent()), p.above);
            painter.drawText(QPointF(-metrics.horizontalAdvance(p.below) / 2, 3 + metrics.ascent()), p.below);
            painter.restore();
        } else if (labels) {
            painter.setPen(Qt::darkGray);
            painter.drawText(half.pointAt(0.5) + QPointF(4, -4), p.id);
        }
    }
    for (const Node &n : s.nodes) {
        const QPointF at = place(n.at);
        const QColor fill
            = n.pressure ? scaleColour(onScale(*n.pressure, s.lowPressure, s.highPressure)) : QColor(Qt::lightGray);
        painter.setPen(QPen(n.worst ? QColor(255, 0, 200) : QColor(Qt::black), n.worst ? 3 : node / 6));
        painter.setBrush(fill);
        const QRectF box(at - QPointF(node, node), QSizeF(2 * node, 2 * node));
        if (n.source)
            painter.drawRect(box);
        else
            painter.drawEllipse(box);
        if (labels) {
            painter.setPen(Qt::black);
            painter.drawText(at + QPointF(8, -8 + n.stack * QFontMetricsF(painter.font(), painter.device()).height()),
                             n.label.isEmpty() ? n.id : n.label);
        }
    }

    paintLegend(painter, target, s);
    painter.restore();
}

double legendWidth(const QFont &base, const QPaintDevice *device)
{
    QFont font = base;
    font.setPixelSize(kTextPixels);
    return QFontMetricsF(font, device).horizontalAdvance(QStringLiteral("最低 -8.88888888888888E+08")) + 40;
}

void paintLegend(QPainter &painter, const QRectF &target, const Scene &s)
{
    if (!s.solved)
        return;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double width = legendWidth(painter.font(), painter.device());
    const QRectF legend(target.right() - width - 10, target.top() + 10, width, target.height() - 20);
    painter.fillRect(legend.adjusted(-6, -4, 4, 4), QColor(255, 255, 255, 220));
    auto bar = [&](const QRectF &r, const QString &title, double low, double high, std::optional<double> mark) {
        painter.setPen(Qt::black);
        painter.drawText(QPointF(r.left(), r.top() - 4), title);
        for (int i = 0; i < 40; ++i) {
            const double t = 1.0 - i / 39.0;
            painter.fillRect(QRectF(r.left(), r.top() + i * r.height() / 40, 14, r.height() / 40 + 1), scaleColour(t));
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(r.left() + 18, r.top() + metrics.ascent()), formatSignificant(high, s.digits));
        const double markY = mark && high > low ? r.bottom() - onScale(*mark, low, high) * r.height() : -1e9;
        if (r.bottom() - markY > metrics.height())
            painter.drawText(QPointF(r.left() + 18, r.bottom()), formatSignificant(low, s.digits));
        if (mark && high > low && *mark >= low && *mark <= high) {
            const double y = r.bottom() - onScale(*mark, low, high) * r.height();
            painter.setPen(QPen(Qt::black, 2));
            painter.drawLine(QPointF(r.left() - 4, y), QPointF(r.left() + 18, y));
            painter.drawText(QPointF(r.left() + 18, y - 2),
                             QStringLiteral("最低 ") + formatSignificant(*mark, s.digits));
        }
    };
    const double h = std::min(220.0, std::max(60.0, (legend.height() - 60) / 2));
    bar(QRectF(legend.left(), legend.top() + 20, 14, h - 20), QStringLiteral("压力(%1)").arg(s.pressureUnit),
        s.lowPressure, s.highPressure, s.minPressure);
    bar(QRectF(legend.left(), legend.top() + h + 50, 14, h - 20), s.valueUnit, s.lowValue, s.highValue, std::nullopt);
    painter.restore();
}

Profile profileOf(const network::Result &r)
{
    Profile profile;
    profile.distanceUnit = r.low ? QStringLiteral("m") : QStringLiteral("km");
    profile.pressureUnit = pressureUnitOf(r);
    if (!r.solved() || r.worstNode < 0)
        return profile;
    // From the source to the node, along the most unfavourable line.
    int at = r.worstNode;
    QList<int> nodes{at};
    QList<double> lengths;
    for (auto k = r.worstPath.crbegin(); k != r.worstPath.crend(); ++k) {
        const network::PipeResult &p = r.pipes[*k];
        at = p.to == at ? p.from : p.to;
        nodes.prepend(at);
        lengths.prepend(p.length);
    }
    double distance = 0;
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        if (i > 0)
            distance += lengths[i - 1];
        const network::NodeResult &n = r.nodes[nodes[i]];
        if (!n.pressure)
            continue;
        profile.ids << n.id;
        profile.distance << distance;
        profile.pressure << *n.pressure;
    }
    profile.minPressure = r.minPressure;
    return profile;
}

Profile routeProfile(const route::Settings &settings, const QList<route::Section> &sections,
                     const route::Result &result)
{
    Profile profile;
    const bool low = settings.pressure == route::Pressure::Low;
    profile.distanceUnit = low ? QStringLiteral("m") : QStringLiteral("km");
    profile.pressureUnit = low ? QStringLiteral("Pa") : QStringLiteral("kPa");
    if (!result.settingsValid)
        return profile;
    const QList<route::Column> columns = route::computedColumns(settings.pressure);
    qsizetype column = -1;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (columns[c].key == (low ? u"cumulative_drop" : u"end_pressure"))
            column = c;
    }
    const double start = readLeadingNumber(settings.text(low ? route::kAllowableDrop : route::kStartPressure)).value;
    const double floor = low ? 0.0 : readLeadingNumber(settings.text(route::kMinEndPressure)).value;
    if (column < 0 || !std::isfinite(start))
        return profile;
    profile.ids << QStringLiteral("起点");
    profile.distance << 0;
    profile.pressure << start;
    profile.minPressure = floor;
    double distance = 0;
    for (qsizetype i = 0; i < sections.size() && i < result.sections.size(); ++i) {
        const route::SectionResult &r = result.sections[i];
        if (!r.valid)
            continue;
        const NumberRead length = readLeadingNumber(sections[i].length);
        // The number as calculated where the table kept it unformatted, else as shown.
        double value = column < r.values.size() ? r.values[column] : std::nan("");
        if (!std::isfinite(value)) {
            const QString shown = r.cell(int(column));
            const NumberRead read = readLeadingNumber(shown);
            if (shown.isEmpty() || !read.whole)
                break;
            value = read.value;
        }
        if (!std::isfinite(length.value) || !std::isfinite(value))
            break;
        distance += length.value;
        profile.ids << sections[i].name.trimmed();
        profile.distance << distance;
        profile.pressure << (low ? start - value : value);
    }
    return profile;
}

void paintProfile(QPainter &painter, const QRectF &target, const Profile &profile)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double left = metrics.horizontalAdvance(QStringLiteral("-8.88888E+08")) + 12;
    const QRectF plot = target.adjusted(left, metrics.height() * 1.5, -16, -metrics.height() * 2.5);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(target.left() + 4, target.top() + metrics.ascent()),
                     QStringLiteral("压力(%1)").arg(profile.pressureUnit));
    painter.drawText(
        QPointF(plot.right() - metrics.horizontalAdvance(QStringLiteral("距气源距离(km)")), target.bottom() - 4),
        QStringLiteral("距气源距离(%1)").arg(profile.distanceUnit));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (profile.pressure.isEmpty()) {
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("管网未求解"));
        painter.restore();
        return;
    }
    double low = *std::min_element(profile.pressure.begin(), profile.pressure.end());
    double high = *std::max_element(profile.pressure.begin(), profile.pressure.end());
    if (profile.minPressure) {
        low = std::min(low, *profile.minPressure);
        high = std::max(high, *profile.minPressure);
    }
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double far = std::max(profile.distance.back(), 1e-9);
    auto place = [&](double d, double p) {
        return QPointF(plot.left() + d / far * plot.width(), plot.bottom() - (p - low) / (high - low) * plot.height());
    };
    painter.drawText(QPointF(target.left() + 4, plot.top() + metrics.ascent() / 2), formatShort(high));
    painter.drawText(QPointF(target.left() + 4, plot.bottom()), formatShort(low));
    painter.drawText(
        QPointF(plot.right() - metrics.horizontalAdvance(formatShort(far)), plot.bottom() + metrics.height()),
        formatShort(far));
    if (profile.minPressure) {
        const double y = place(0, *profile.minPressure).y();
        painter.setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.drawText(QPointF(plot.left() + 4, y - 3),
                         QStringLiteral("最低压力 ") + formatShort(*profile.minPressure));
    }
    QPolygonF line;
    line.reserve(profile.pressure.size());
    for (qsizetype i = 0; i < profile.pressure.size(); ++i)
        line << place(profile.distance[i], profile.pressure[i]);
    // The line through every point a pixel apart at least: the same picture, with the
    // thousand points of a long route stroked as a few hundred.
    QPolygonF drawn;
    drawn.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (drawn.isEmpty() || i + 1 == line.size() || std::fabs(line[i].x() - drawn.back().x()) >= 1
            || std::fabs(line[i].y() - drawn.back().y()) >= 1)
            drawn << line[i];
    }
    // Two pixels wide, unsmoothed: the rasteriser draws it line by line, where a smoothed
    // thick line is stroked as an outline first, ten times the work for a long route.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(40, 80, 220), 2, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    painter.drawPolyline(drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    // A point and its id where there is room for them: a long route shows every few.
    painter.setBrush(QColor(40, 80, 220));
    double room = -1e300;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QPointF at = line[i];
        if (at.x() < room && i + 1 != line.size())
            continue;
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(at, 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(at + QPointF(4, -4), profile.ids[i]);
        room = at.x() + 4 + metrics.horizontalAdvance(profile.ids[i]) + 6;
    }
    painter.restore();
}

namespace {

// Writes a drawing as SVG or PNG, by the file's suffix, in one step.
QByteArray pictureFile(const QString &path, QSize size, const QString &title,
                       const std::function<void(QPainter &, const QRectF &)> &paintOn)
{
    QByteArray bytes;
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QBuffer buffer(&bytes);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter painter(&svg);
        paintOn(painter, QRectF(QPointF(0, 0), size));
        painter.end();
    } else {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintOn(painter, QRectF(QPointF(0, 0), size));
        painter.end();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return bytes;
}

} // namespace

QByteArray pictureFile(const Scene &scene, const QString &path)
{
    return pictureFile(path, QSize(1600, 1100), QStringLiteral("管网计算"),
                       [&scene](QPainter &painter, const QRectF &area) { paint(painter, area, scene); });
}

QByteArray pictureFile(const Profile &profile, const QString &path)
{
    return pictureFile(path, QSize(1600, 550), QStringLiteral("压力曲线"),
                       [&profile](QPainter &painter, const QRectF &area) {
                           painter.fillRect(area, Qt::white);
                           paintProfile(painter, area, profile);
                       });
}

} // namespace picture
