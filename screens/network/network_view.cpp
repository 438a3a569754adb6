#include "network_view.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionGraphicsItem>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRowKey = 0;
// Past this many nodes and pipes the drawing is not smoothed, and ids are shown only
// when the items are far enough apart on screen to read them.
constexpr int kSmoothItems = 600;
constexpr int kKindKey = 1;
enum Kind { NodeKind = 1, PipeKind = 2 };

QPointF sceneAt(const QPointF &typed)
{
    return QPointF(typed.x(), -typed.y());
}

// A pipe: a line between its nodes' items, as wide on screen at every zoom, and an
// arrow at its middle the way the gas flows.
class PipeItem : public QGraphicsLineItem
{
public:
    PipeItem(const picture::Pipe &pipe, const QColor &colour)
    {
        restyle(pipe, colour);
        setFlag(ItemIsSelectable);
        setZValue(0);
    }

    // The colour, width, dashes, arrow and highlight of a pipe solved anew.
    void restyle(const picture::Pipe &pipe, const QColor &colour)
    {
        m_direction = pipe.direction;
        m_colour = colour;
        m_worst = pipe.onWorstPath;
        QPen pen(colour, picture::pipeWidth(pipe.diameter), pipe.automatic ? Qt::DashLine : Qt::SolidLine,
                 Qt::RoundCap);
        pen.setCosmetic(true);
        setPen(pen);
        update();
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override
    {
        const QTransform t = painter->worldTransform();
        const QLineF onScreen(t.map(line().p1()), t.map(line().p2()));
        if (m_worst || isSelected()) {
            QPen glow(isSelected() ? QColor(0, 120, 255, 120) : QColor(255, 0, 200, 90), pen().widthF() + 6,
                      Qt::SolidLine, Qt::RoundCap);
            glow.setCosmetic(true);
            painter->setPen(glow);
            painter->drawLine(line());
        }
        QStyleOptionGraphicsItem plain(*option);
        plain.state &= ~QStyle::State_Selected;
        QGraphicsLineItem::paint(painter, &plain, widget);
        if (m_direction == 0 || onScreen.length() < 24)
            return;
        // The arrow in screen pixels.
        painter->save();
        painter->resetTransform();
        const QLineF way = m_direction > 0 ? onScreen : QLineF(onScreen.p2(), onScreen.p1());
        const QPointF mid = way.pointAt(0.5);
        const QPointF unit = (way.p2() - way.p1()) / way.length();
        const QPointF side(-unit.y() * 4.5, unit.x() * 4.5);
        QPainterPath arrow;
        arrow.moveTo(mid + unit * 4);
        arrow.lineTo(mid - unit * 5 + side);
        arrow.lineTo(mid - unit * 5 - side);
        arrow.closeSubpath();
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_colour.darker(140));
        painter->drawPath(arrow);
        painter->restore();
    }

private:
    int m_direction = 0;
    QColor m_colour;
    bool m_worst = false;
};

} // namespace

// A node: a circle (a square for a source) of fixed size on screen, filled by its
// pressure; dragging it moves it and, on release, reports its new place.
class NodeItem : public QGraphicsItem
{
public:
    NodeItem(NetworkView *view, const picture::Node &node, const QColor &fill)
        : m_view(view)
        , m_source(node.source)
        , m_worst(node.worst)
        , m_fill(fill)
    {
        setFlags(ItemIsSelectable | ItemIsMovable | ItemIgnoresTransformations | ItemSendsGeometryChanges);
        setZValue(2);
    }

    QRectF boundingRect() const override { return QRectF(-8, -8, 16, 16); }

    // The fill and highlight of a node solved anew.
    void restyle(const picture::Node &node, const QColor &fill)
    {
        m_source = node.source;
        m_worst = node.worst;
        m_fill = fill;
        update();
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const bool selected = isSelected();
        painter->setPen(QPen(selected      ? QColor(0, 120, 255)
                                 : m_worst ? QColor(255, 0, 200)
                                           : QColor(Qt::black),
                             selected || m_worst ? 3 : 1));
        painter->setBrush(m_fill);
        const QRectF box(-6, -6, 12, 12);
        if (m_source)
            painter->drawRect(box);
        else
            painter->drawEllipse(box);
    }

    // The pipes that end here follow it.
    QList<std::pair<QGraphicsLineItem *, bool>> pipes; // the pipe, and whether this is its start

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override
    {
        if (change == ItemPositionHasChanged) {
            for (auto &[pipe, start] : pipes) {
                QLineF line = pipe->line();
                if (start)
                    line.setP1(pos());
                else
                    line.setP2(pos());
                pipe->setLine(line);
            }
        }
        return QGraphicsItem::itemChange(change, value);
    }

    void mousePressEvent(QGraphicsSceneMouseEvent *event) override
    {
        m_pressedAt = pos();
        QGraphicsItem::mousePressEvent(event);
    }

    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override
    {
        QGraphicsItem::mouseReleaseEvent(event);
        if (pos() != m_pressedAt)
            emit m_view->nodeMoved(data(kRowKey).toInt(), QPointF(pos().x(), -pos().y()));
    }

private:
    NetworkView *m_view;
    bool m_source;
    bool m_worst;
    QColor m_fill;
    QPointF m_pressedAt;
};

NetworkView::NetworkView(QWidget *parent)
    : QGraphicsView(parent)
    , m_scene(new QGraphicsScene(this))
{
    setObjectName(QStringLiteral("networkView"));
    setScene(m_scene);
    setRenderHint(QPainter::Antialiasing);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setBackgroundBrush(Qt::white);
    connect(m_scene, &QGraphicsScene::selectionChanged, this, &NetworkView::selectionChanged);
}

NetworkView::~NetworkView()
{
    m_scene->disconnect(this);
}

namespace {

// The same nodes at the same places joined by the same pipes: the items can stay.
bool sameShape(const picture::Scene &a, const picture::Scene &b)
{
    if (a.nodes.size() != b.nodes.size() || a.pipes.size() != b.pipes.size())
        return false;
    for (qsizetype i = 0; i < a.nodes.size(); ++i) {
        if (a.nodes[i].id != b.nodes[i].id || a.nodes[i].at != b.nodes[i].at)
            return false;
    }
    for (qsizetype k = 0; k < a.pipes.size(); ++k) {
        if (a.pipes[k].id != b.pipes[k].id || a.pipes[k].from != b.pipes[k].from || a.pipes[k].to != b.pipes[k].to)
            return false;
    }
    return true;
}

QColor nodeFill(const picture::Scene &s, const picture::Node &n)
{
    return n.pressure ? picture::scaleColour(picture::onScale(*n.pressure, s.lowPressure, s.highPressure))
                      : QColor(Qt::lightGray);
}

QColor pipeColour(const picture::Scene &s, const picture::Pipe &p)
{
    return p.value ? picture::scaleColour(picture::onScale(*p.value, s.lowValue, s.highValue)) : QColor(Qt::gray);
}

} // namespace

void NetworkView::show(const picture::Scene &content)
{
    // A solve that changed only the results: the items take their new colours.
    if (!m_nodeItems.isEmpty() && sameShape(m_content, content) && labelsReadable() == m_labelsDrawn) {
        m_content = content;
        for (qsizetype i = 0; i < content.nodes.size(); ++i)
            m_nodeItems[i]->restyle(content.nodes[i], nodeFill(content, content.nodes[i]));
        for (qsizetype k = 0; k < content.pipes.size(); ++k)
            static_cast<PipeItem *>(m_pipeItems[k])->restyle(content.pipes[k], pipeColour(content, content.pipes[k]));
        viewport()->update();
        return;
    }
    m_content = content;
    m_nodeItems.clear();
    m_pipeItems.clear();
    const int node = selectedNode(), pipe = selectedPipe();
    m_selecting = true;
    m_scene->clear();
    const bool labels = labelsReadable();
    m_labelsDrawn = labels;
    QList<NodeItem *> nodes;
    for (qsizetype i = 0; i < content.nodes.size(); ++i) {
        const picture::Node &n = content.nodes[i];
        const QColor fill = n.pressure
            ? picture::scaleColour(picture::onScale(*n.pressure, content.lowPressure, content.highPressure))
            : QColor(Qt::lightGray);
        auto *item = new NodeItem(this, n, fill);
        item->setPos(sceneAt(n.at));
        item->setData(kRowKey, int(i));
        item->setData(kKindKey, int(NodeKind));
        item->setToolTip(
            n.pressure
                ? QStringLiteral("%1：%2 %3").arg(n.id, QString::number(*n.pressure, 'g', 6), content.pressureUnit)
                : n.id);
        m_scene->addItem(item);
        if (labels) {
            auto *label = new QGraphicsSimpleTextItem(n.id, item);
            label->setPos(8, -18);
        }
        nodes << item;
        m_nodeItems << item;
    }
    for (qsizetype k = 0; k < content.pipes.size(); ++k) {
        const picture::Pipe &p = content.pipes[k];
        const QColor colour = p.value
            ? picture::scaleColour(picture::onScale(*p.value, content.lowValue, content.highValue))
            : QColor(Qt::gray);
        auto *item = new PipeItem(p, colour);
        item->setLine(QLineF(sceneAt(content.nodes[p.from].at), sceneAt(content.nodes[p.to].at)));
        item->setData(kRowKey, int(k));
        item->setData(kKindKey, int(PipeKind));
        item->setToolTip(
            p.value ? QStringLiteral("%1：%2 %3").arg(p.id, QString::number(*p.value, 'g', 6), content.valueUnit)
                    : p.id);
        m_scene->addItem(item);
        m_pipeItems << item;
        nodes[p.from]->pipes.append({item, true});
        nodes[p.to]->pipes.append({item, false});
        if (labels) {
            auto *label = m_scene->addSimpleText(p.id);
            label->setFlag(QGraphicsItem::ItemIgnoresTransformations);
            label->setBrush(Qt::darkGray);
            label->setPos(item->line().center());
        }
    }
    // Many items: no smoothing, so that an edit shows within a frame.
    setRenderHint(QPainter::Antialiasing, content.nodes.size() + content.pipes.size() <= kSmoothItems);
    // Room around the network to pan into, and to leave the legend beside it.
    const QRectF items = m_scene->itemsBoundingRect();
    const double span = std::max({items.width(), items.height(), 100.0}) * 2;
    m_scene->setSceneRect(items.adjusted(-span, -span, span, span));
    m_selecting = false;
    if (!m_fitted && !content.nodes.isEmpty()) {
        m_fitted = true;
        fitAll();
    }
    if (node >= 0)
        selectNode(node);
    else if (pipe >= 0)
        selectPipe(pipe);
}

void NetworkView::setLabelsShown(bool shown)
{
    if (m_labels == shown)
        return;
    m_labels = shown;
    show(m_content);
}

void NetworkView::fitAll()
{
    // The nodes' places, with room for the legend at the right.
    if (m_content.nodes.isEmpty())
        return;
    const QRectF extent = picture::extentOf(m_content);
    const QRectF bounds(sceneAt(extent.bottomLeft()), sceneAt(extent.topRight()));
    const double legend = m_content.solved ? picture::legendWidth(font(), viewport()) + 30 : 0;
    const QSizeF room(std::max(40.0, viewport()->width() - legend - 60.0), std::max(40.0, viewport()->height() - 60.0));
    const double sx = bounds.width() > 0 ? room.width() / bounds.width() : 1.0;
    const double sy = bounds.height() > 0 ? room.height() / bounds.height() : 1.0;
    const double s = std::isfinite(std::min(sx, sy)) && std::min(sx, sy) > 0 ? std::min(sx, sy) : 1.0;
    resetTransform();
    scale(s, s);
    centerOn(bounds.center() + QPointF(legend / 2 / s, 0));
    if (labelsReadable() != m_labelsDrawn)
        show(m_content);
}

namespace {

QGraphicsItem *itemOf(QGraphicsScene *scene, Kind kind, int row)
{
    for (QGraphicsItem *item : scene->items()) {
        if (item->data(kKindKey).toInt() == kind && item->data(kRowKey).toInt() == row)
            return item;
    }
    return nullptr;
}

} // namespace

void NetworkView::selectNode(int row)
{
    m_selecting = true;
    m_scene->clearSelection();
    if (QGraphicsItem *item = row >= 0 ? itemOf(m_scene, NodeKind, row) : nullptr) {
        item->setSelected(true);
        centerOn(item);
    }
    m_selecting = false;
}

void NetworkView::selectPipe(int row)
{
    m_selecting = true;
    m_scene->clearSelection();
    if (QGraphicsItem *item = row >= 0 ? itemOf(m_scene, PipeKind, row) : nullptr) {
        item->setSelected(true);
        centerOn(item);
    }
    m_selecting = false;
}

int NetworkView::nodeItems() const
{
    int count = 0;
    for (const QGraphicsItem *item : m_scene->items())
        count += item->data(kKindKey).toInt() == NodeKind ? 1 : 0;
    return count;
}

int NetworkView::pipeItems() const
{
    int count = 0;
    for (const QGraphicsItem *item : m_scene->items())
        count += item->data(kKindKey).toInt() == PipeKind ? 1 : 0;
    return count;
}

int NetworkView::selectedNode() const
{
    for (const QGraphicsItem *item : m_scene->selectedItems()) {
        if (item->data(kKindKey).toInt() == NodeKind)
            return item->data(kRowKey).toInt();
    }
    return -1;
}

int NetworkView::selectedPipe() const
{
    for (const QGraphicsItem *item : m_scene->selectedItems()) {
        if (item->data(kKindKey).toInt() == PipeKind)
            return item->data(kRowKey).toInt();
    }
    return -1;
}

void NetworkView::selectionChanged()
{
    if (m_selecting)
        return;
    if (const int node = selectedNode(); node >= 0)
        emit nodeClicked(node);
    else if (const int pipe = selectedPipe(); pipe >= 0)
        emit pipeClicked(pipe);
}

void NetworkView::wheelEvent(QWheelEvent *event)
{
    const double factor = std::pow(1.0015, event->angleDelta().y());
    scale(factor, factor);
    event->accept();
    if (labelsReadable() != m_labelsDrawn)
        show(m_content);
}

bool NetworkView::labelsReadable() const
{
    if (!m_labels)
        return false;
    if (m_content.nodes.size() + m_content.pipes.size() <= kSmoothItems)
        return true;
    // The mean pipe as long on screen as a few characters at least.
    double length = 0;
    for (const picture::Pipe &p : m_content.pipes)
        length += QLineF(m_content.nodes[p.from].at, m_content.nodes[p.to].at).length();
    const double mean = m_content.pipes.isEmpty() ? 0 : length / double(m_content.pipes.size());
    return mean * transform().m11() >= 60;
}

void NetworkView::drawForeground(QPainter *painter, const QRectF &)
{
    painter->save();
    painter->resetTransform();
    picture::paintLegend(*painter, QRectF(viewport()->rect()), m_content);
    painter->restore();
}

ProfileView::ProfileView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("profileView"));
    setMinimumHeight(140);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void ProfileView::show(const picture::Profile &profile)
{
    m_profile = profile;
    update();
}

void ProfileView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    picture::paintProfile(painter, QRectF(rect()), m_profile);
}
