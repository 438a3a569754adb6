#include "network_geometry.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

std::optional<QList<QPointF>> readVertices(const QString &text)
{
    QList<QPointF> bends;
    if (text.trimmed().isEmpty())
        return bends;
    for (const QStringView pair : QStringView(text).split(u';', Qt::SkipEmptyParts)) {
        const QList<QStringView> xy = pair.trimmed().split(u' ', Qt::SkipEmptyParts);
        if (xy.size() != 2)
            return std::nullopt;
        const NumberRead x = readLeadingNumber(xy[0].toString()), y = readLeadingNumber(xy[1].toString());
        if (!x.whole || !y.whole || !std::isfinite(x.value) || !std::isfinite(y.value))
            return std::nullopt;
        bends.append(QPointF(x.value, y.value));
    }
    return bends;
}

namespace {

QString micrometres(double v)
{
    // + 0.0: no "-0" for a coordinate that rounds to nothing.
    return formatNumber(std::round(v * 1e6) / 1e6 + 0.0);
}

} // namespace

QString verticesText(const QList<QPointF> &bends)
{
    QStringList pairs;
    pairs.reserve(bends.size());
    for (const QPointF &b : bends)
        pairs << micrometres(b.x()) + u' ' + micrometres(b.y());
    return pairs.join(u';');
}

double courseLength(const QList<QPointF> &points)
{
    double length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length += std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y());
    return length;
}

Middle middleOf(const QList<QPointF> &points)
{
    if (points.size() < 2)
        return {};
    const double half = courseLength(points) / 2;
    double before = 0;
    for (qsizetype i = 1; i < points.size(); ++i) {
        const double piece = std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y());
        if (before + piece >= half && piece > 0)
            return {int(i - 1), half - before};
        before += piece;
    }
    return {0, 0};
}

OnCourse nearestOnCourse(const QList<QPointF> &points, QPointF p)
{
    OnCourse best;
    best.distance = std::numeric_limits<double>::infinity();
    double before = 0;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = points[i], b = points[i + 1];
        const QPointF ab = b - a;
        const double length = std::hypot(ab.x(), ab.y());
        const double t = length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / (length * length), 0.0, 1.0) : 0.0;
        const QPointF at = a + ab * t;
        const double distance = std::hypot(p.x() - at.x(), p.y() - at.y());
        if (distance < best.distance)
            best = OnCourse{int(i), before + t * length, at, distance};
        before += length;
    }
    return best;
}

} // namespace network
