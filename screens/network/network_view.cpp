#include "network_view.h"

#include "file_dialog.h"
#include "network_geometry.h"

#include <QAction>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMultiHash>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>
#include <QStyleOptionGraphicsItem>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kRowKey = 0; // in its table
// Past this many nodes and pipes the drawing is not smoothed.
constexpr int kSmoothItems = 600;
constexpr int kKindKey = 1;
constexpr int kIndexKey = 2; // in the scene's content
enum Kind { NodeKind = 1, PipeKind = 2 };
// The items are placed relative to an origin on a grid this wide, kept until the network
// lies this far from it: a survey's coordinates come to a few kilometres at most.
constexpr double kOriginGrid = 10000;
constexpr double kOriginReach = 100000;

// The piece of a course that holds its middle, the length of the course, for the arrow and the id.
QLineF middlePiece(const QPolygonF &course)
{
    const network::Middle middle = network::middleOf(course);
    return middle.piece >= 0 ? QLineF(course[middle.piece], course[middle.piece + 1]) : QLineF();
}

// An id beside its item, in screen pixels; laid out once.
void paintLabel(QPainter *painter, const QStaticText &label, QPointF at, const QColor &colour)
{
    painter->setPen(colour);
    painter->drawStaticText(at, label);
}

} // namespace

// A pipe: a line from its first node's item through its bends to its last node's, as wide
// on screen at every zoom, and an arrow on the piece halfway along the way the gas flows.
class PipeItem : public QGraphicsItem
{
public:
    PipeItem(NetworkView *view, const picture::Pipe &pipe, const QColor &colour, QPolygonF course)
        : m_view(view)
        , m_label(pipe.id)
    {
        m_label.setTextFormat(Qt::PlainText);
        m_label.prepare(QTransform(), view->font());
        restyle(pipe, colour);
        setFlag(ItemIsSelectable);
        setZValue(0);
        setCourse(std::move(course));
    }

    const QPolygonF &course() const { return m_course; }
    // Its first or last point moved with its node.
    void setEnd(bool start, QPointF at)
    {
        QPolygonF course = m_course;
        course[start ? 0 : course.size() - 1] = at;
        setCourse(std::move(course));
    }
    void setCourse(QPolygonF course)
    {
        prepareGeometryChange();
        m_course = std::move(course);
        m_middle = middlePiece(m_course);
        // Room for the pen, whose width is in pixels, and the id beside the middle, at
        // the zoom of the moment.
        const QSizeF label = m_label.size();
        const double margin = std::max({10.0, label.width(), label.height()}) * m_view->pixelSize();
        m_bounds = m_course.boundingRect().adjusted(-margin, -margin, margin, margin);
    }

    QRectF boundingRect() const override { return m_bounds; }

    // What a click finds: the line, a few pixels either side.
    // Its row in the pipe table and its place in the scene's content, as its data holds them.
    int row = -1;
    int index = -1;

    QPainterPath shape() const override
    {
        QPainterPath path;
        path.addPolygon(m_course);
        QPainterPathStroker stroker;
        stroker.setWidth(std::max(m_width, 8.0) * m_view->pixelSize());
        return stroker.createStroke(path);
    }

    // The colour, width, dashes, arrow and highlight of a pipe solved anew.
    void restyle(const picture::Pipe &pipe, const QColor &colour)
    {
        if (pipe.direction == m_direction && colour == m_colour && pipe.onWorstPath == m_worst
            && pipe.automatic == m_automatic && picture::pipeWidth(pipe.diameter) == m_width)
            return;
        m_direction = pipe.direction;
        m_colour = colour;
        m_worst = pipe.onWorstPath;
        m_automatic = pipe.automatic;
        m_width = picture::pipeWidth(pipe.diameter);
        update();
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const bool straight = m_course.size() == 2;
        if (m_worst || isSelected()) {
            QPen glow(isSelected() ? QColor(0, 120, 255, 120) : QColor(255, 0, 200, 90), m_width + 6, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin);
            glow.setCosmetic(true);
            painter->setPen(glow);
            straight ? painter->drawLine(m_course[0], m_course[1]) : painter->drawPolyline(m_course);
        }
        // Flat ends: the nodes cover them, and a line without round caps strokes fast.
        QPen pen(m_colour, m_width, m_automatic ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        pen.setCosmetic(true);
        painter->setPen(pen);
        straight ? painter->drawLine(m_course[0], m_course[1]) : painter->drawPolyline(m_course);
        const QTransform t = painter->worldTransform();
        const QLineF onScreen(t.map(m_middle.p1()), t.map(m_middle.p2()));
        const bool label = m_view->labelsDrawn();
        if ((m_direction == 0 || onScreen.length() < 24) && !label)
            return;
        // The arrow and the id in screen pixels.
        painter->save();
        painter->resetTransform();
        if (label)
            paintLabel(painter, m_label, onScreen.center(), Qt::darkGray);
        if (m_direction != 0 && onScreen.length() >= 24) {
            const QLineF way = m_direction > 0 ? onScreen : QLineF(onScreen.p2(), onScreen.p1());
            const QPointF mid = way.pointAt(0.5);
            const QPointF unit = (way.p2() - way.p1()) / way.length();
            const QPointF side(-unit.y() * 4.5, unit.x() * 4.5);
            const QPointF arrow[3]{mid + unit * 4, mid - unit * 5 + side, mid - unit * 5 - side};
            painter->setPen(Qt::NoPen);
            painter->setBrush(m_colour.darker(140));
            painter->drawPolygon(arrow, 3);
        }
        painter->restore();
    }

private:
    NetworkView *m_view;
    QPolygonF m_course;
    QLineF m_middle;
    QRectF m_bounds;
    QStaticText m_label;
    int m_direction = 0;
    QColor m_colour;
    double m_width = 1;
    bool m_worst = false;
    bool m_automatic = false;
};

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
        , m_label(node.id)
    {
        m_label.setTextFormat(Qt::PlainText);
        m_label.prepare(QTransform(), view->font());
        // Nodes at one point (a riser) print their ids one under the other.
        m_labelAt = kLabelAt + QPointF(0, node.stack * QFontMetricsF(view->font()).height());
        m_bounds = QRectF(-8, -8, 16, 16) | QRectF(m_labelAt, m_label.size());
        setFlags(ItemIsSelectable | ItemIsMovable | ItemIgnoresTransformations | ItemSendsGeometryChanges);
        setZValue(2);
    }

    QRectF boundingRect() const override { return m_bounds; }
    // What a click finds: the node, not its id.
    QPainterPath shape() const override
    {
        QPainterPath path;
        path.addRect(-8, -8, 16, 16);
        return path;
    }

    // The fill and highlight of a node solved anew.
    void restyle(const picture::Node &node, const QColor &fill)
    {
        if (node.source == m_source && node.worst == m_worst && fill == m_fill)
            return;
        m_source = node.source;
        m_worst = node.worst;
        m_fill = fill;
        update();
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        // On whole pixels, where an unsmoothed circle is drawn scanline by scanline.
        if (const QTransform t = painter->worldTransform(); t.type() == QTransform::TxTranslate)
            painter->setWorldTransform(QTransform::fromTranslate(std::round(t.dx()), std::round(t.dy())));
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
        if (m_view->labelsDrawn())
            paintLabel(painter, m_label, m_labelAt, Qt::black);
    }

    // The pipes that end here follow it.
    QList<std::pair<PipeItem *, bool>> pipes; // the pipe, and whether this is its start
    int row = -1; // as its data holds it

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override
    {
        if (change == ItemPositionHasChanged) {
            for (auto &[pipe, start] : pipes)
                pipe->setEnd(start, pos());
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
            emit m_view->nodeMoved(data(kRowKey).toInt(), m_view->typedOf(pos()));
    }

private:
    NetworkView *m_view;
    bool m_source;
    bool m_worst;
    QColor m_fill;
    QStaticText m_label;
    QRectF m_bounds;
    QPointF m_labelAt;
    QPointF m_pressedAt;
    static constexpr QPointF kLabelAt{8, -18};
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
    // A solve recolours most items: one repaint of the whole view costs less than tracking each.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
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
        if (a.pipes[k].id != b.pipes[k].id || a.pipes[k].row != b.pipes[k].row || a.pipes[k].from != b.pipes[k].from
            || a.pipes[k].to != b.pipes[k].to || a.pipes[k].bends != b.pipes[k].bends)
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
    if (!m_nodeItems.isEmpty() && sameShape(m_content, content)) {
        m_content = content;
        for (qsizetype i = 0; i < content.nodes.size(); ++i)
            m_nodeItems[i]->restyle(content.nodes[i], nodeFill(content, content.nodes[i]));
        for (qsizetype k = 0; k < content.pipes.size(); ++k)
            m_pipeItems[k]->restyle(content.pipes[k], pipeColour(content, content.pipes[k]));
        updateLabels();
        viewport()->update();
        return;
    }
    // A network far from the origin (another one loaded, a drawing imported): a new origin near
    // it, the view kept on the same place.
    const QRectF extent = picture::extentOf(content);
    const QPointF middle = extent.center();
    std::optional<QPointF> shown;
    if (!content.nodes.isEmpty()
        && (!m_hasOrigin
            || std::max(std::abs(middle.x() - m_origin.x()), std::abs(middle.y() - m_origin.y())) > kOriginReach)) {
        shown = typedOf(mapToScene(viewport()->rect().center()));
        m_origin = QPointF(std::round(middle.x() / kOriginGrid) * kOriginGrid,
                           std::round(middle.y() / kOriginGrid) * kOriginGrid);
        m_hasOrigin = true;
    }
    // The items of nodes and pipes that are still there, where they were, are kept: an edit
    // that adds, splits or deletes a few makes only theirs anew.
    const bool keep = !shown;
    QMultiHash<QString, int> oldNodes, oldPipes;
    if (keep) {
        oldNodes.reserve(m_content.nodes.size());
        for (qsizetype i = 0; i < m_content.nodes.size(); ++i)
            oldNodes.insert(m_content.nodes[i].id, int(i));
        oldPipes.reserve(m_content.pipes.size());
        for (qsizetype k = 0; k < m_content.pipes.size(); ++k)
            oldPipes.insert(m_content.pipes[k].id, int(k));
    }
    const picture::Scene before = std::exchange(m_content, content);
    const QList<NodeItem *> formerNodeItems = keep ? m_nodeItems : QList<NodeItem *>();
    QList<NodeItem *> oldNodeItems = std::exchange(m_nodeItems, {});
    QList<PipeItem *> oldPipeItems = std::exchange(m_pipeItems, {});
    const int node = selectedNode(), pipe = selectedPipe();
    m_selecting = true;
    if (!keep) {
        m_scene->clear();
        oldNodeItems.clear();
        oldPipeItems.clear();
    }
    m_labelsDrawn = labelsReadable();
    m_nodeItems.reserve(content.nodes.size());
    for (qsizetype i = 0; i < content.nodes.size(); ++i) {
        const picture::Node &n = content.nodes[i];
        NodeItem *item = nullptr;
        for (auto it = oldNodes.find(n.id); it != oldNodes.end() && it.key() == n.id; ++it) {
            if (oldNodeItems[*it] && before.nodes[*it].at == n.at) {
                item = std::exchange(oldNodeItems[*it], nullptr);
                item->restyle(n, nodeFill(content, n));
                item->pipes.clear();
                break;
            }
        }
        if (!item) {
            item = new NodeItem(this, n, nodeFill(content, n));
            item->setPos(sceneAt(n.at));
            item->setData(kKindKey, int(NodeKind));
            item->setFlag(QGraphicsItem::ItemIsMovable, m_tool == Tool::Select);
            m_scene->addItem(item);
        }
        if (item->row != i) {
            item->row = int(i);
            item->setData(kRowKey, int(i));
            item->setData(kIndexKey, int(i));
        }
        m_nodeItems << item;
    }
    m_pipeItems.reserve(content.pipes.size());
    for (qsizetype k = 0; k < content.pipes.size(); ++k) {
        const picture::Pipe &p = content.pipes[k];
        PipeItem *item = nullptr;
        // Kept where it joins the same node items through the same bends.
        for (auto it = oldPipes.find(p.id); it != oldPipes.end() && it.key() == p.id; ++it) {
            const picture::Pipe &was = before.pipes[*it];
            if (oldPipeItems[*it] && was.bends == p.bends && formerNodeItems[was.from] == m_nodeItems[p.from]
                && formerNodeItems[was.to] == m_nodeItems[p.to]) {
                item = std::exchange(oldPipeItems[*it], nullptr);
                item->restyle(p, pipeColour(content, p));
                break;
            }
        }
        if (!item) {
            QPolygonF course;
            course.reserve(p.bends.size() + 2);
            course << sceneAt(content.nodes[p.from].at);
            for (const QPointF &b : p.bends)
                course << sceneAt(b);
            course << sceneAt(content.nodes[p.to].at);
            item = new PipeItem(this, p, pipeColour(content, p), std::move(course));
            item->setData(kKindKey, int(PipeKind));
            m_scene->addItem(item);
        }
        // The row in the pipe table: a pipe whose ends are not nodes is not drawn.
        if (item->row != p.row || item->index != k) {
            item->row = p.row;
            item->index = int(k);
            item->setData(kRowKey, p.row);
            item->setData(kIndexKey, int(k));
        }
        m_pipeItems << item;
        m_nodeItems[p.from]->pipes.append({item, true});
        m_nodeItems[p.to]->pipes.append({item, false});
    }
    qDeleteAll(oldNodeItems);
    qDeleteAll(oldPipeItems);
    // Many items: no smoothing, so that an edit shows within a frame.
    setRenderHint(QPainter::Antialiasing, content.nodes.size() + content.pipes.size() <= kSmoothItems);
    // Room around the network to pan into, and to leave the legend beside it.
    const QRectF items(sceneAt(extent.bottomLeft()), sceneAt(extent.topRight()));
    const double span = std::max({items.width(), items.height(), 100.0}) * 2;
    m_scene->setSceneRect(items.adjusted(-span, -span, span, span));
    if (shown)
        centerOn(sceneAt(*shown));
    m_selecting = false;
    fitIfDue();
    // Kept items keep their selection; made anew, the same rows are selected again.
    if (!keep && node >= 0)
        selectNode(node);
    else if (!keep && pipe >= 0)
        selectPipe(pipe);
}

void NetworkView::updateLabels()
{
    const bool labels = labelsReadable();
    if (labels != m_labelsDrawn) {
        m_labelsDrawn = labels;
        viewport()->update();
    }
}

double NetworkView::pixelSize() const
{
    const double scale = transform().m11();
    return scale > 0 ? 1 / scale : 1;
}

QString NetworkView::toolTipAt(QPoint at) const
{
    for (const QGraphicsItem *item : items(at)) {
        const int row = item->data(kIndexKey).toInt();
        if (item->data(kKindKey).toInt() == NodeKind && row < m_content.nodes.size()) {
            const picture::Node &n = m_content.nodes[row];
            return n.pressure
                ? QStringLiteral("%1：%2 %3").arg(n.id, QString::number(*n.pressure, 'g', 6), m_content.pressureUnit)
                : n.id;
        }
        if (item->data(kKindKey).toInt() == PipeKind && row < m_content.pipes.size()) {
            const picture::Pipe &p = m_content.pipes[row];
            return p.value
                ? QStringLiteral("%1：%2 %3").arg(p.id, QString::number(*p.value, 'g', 6), m_content.valueUnit)
                : p.id;
        }
    }
    return QString();
}

bool NetworkView::viewportEvent(QEvent *event)
{
    // The tip says what the item holds now, solved with the last edit.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QGraphicsView::viewportEvent(event);
}

void NetworkView::setLabelsShown(bool shown)
{
    if (m_labels == shown)
        return;
    m_labels = shown;
    updateLabels();
}

void NetworkView::fitWhenShown()
{
    m_fitDue = true;
    fitIfDue();
}

void NetworkView::fitIfDue()
{
    if (!m_fitDue || m_content.nodes.isEmpty())
        return;
    fitAll();
}

void NetworkView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fitIfDue();
}

void NetworkView::showEvent(QShowEvent *event)
{
    QGraphicsView::showEvent(event);
    fitIfDue();
}

double NetworkView::legendRoom() const
{
    return m_content.solved ? picture::legendWidth(font(), viewport()) + 30 : 0;
}

void NetworkView::centreBesideLegend(QPointF at)
{
    centerOn(at + QPointF(legendRoom() / 2 * pixelSize(), 0));
}

void NetworkView::fitAll()
{
    // The nodes' places, with room for the legend at the right.
    if (m_content.nodes.isEmpty())
        return;
    // Fitted while hidden, the view has no size yet: fitted again once shown.
    if (isVisible())
        m_fitDue = false;
    const QRectF extent = picture::extentOf(m_content);
    const QRectF bounds(sceneAt(extent.bottomLeft()), sceneAt(extent.topRight()));
    const double legend = legendRoom();
    const QSizeF room(std::max(40.0, viewport()->width() - legend - 60.0), std::max(40.0, viewport()->height() - 60.0));
    const double sx = bounds.width() > 0 ? room.width() / bounds.width() : 1.0;
    const double sy = bounds.height() > 0 ? room.height() / bounds.height() : 1.0;
    const double s = std::isfinite(std::min(sx, sy)) && std::min(sx, sy) > 0 ? std::min(sx, sy) : 1.0;
    resetTransform();
    scale(s, s);
    centreBesideLegend(bounds.center());
    updateLabels();
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
        centreBesideLegend(item->pos());
    }
    m_selecting = false;
}

void NetworkView::selectPipe(int row)
{
    m_selecting = true;
    m_scene->clearSelection();
    if (QGraphicsItem *item = row >= 0 ? itemOf(m_scene, PipeKind, row) : nullptr) {
        item->setSelected(true);
        centreBesideLegend(static_cast<PipeItem *>(item)->course().boundingRect().center());
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
    updateLabels();
}

bool NetworkView::labelsReadable() const
{
    return m_labels && picture::idsReadable(m_content, transform().m11());
}

void NetworkView::drawForeground(QPainter *painter, const QRectF &)
{
    painter->save();
    painter->resetTransform();
    picture::paintLegend(*painter, QRectF(viewport()->rect()), m_content);
    if (m_pipeStart) {
        // The pipe being drawn, from its start to the pointer.
        QPen pen(QColor(0, 120, 255), 2, Qt::DashLine);
        painter->setPen(pen);
        painter->drawLine(viewportAt(m_pipeStart->at), viewportAt(m_pointer));
    }
    painter->restore();
}

QPointF NetworkView::sceneAt(QPointF typed) const
{
    return QPointF(typed.x() - m_origin.x(), -(typed.y() - m_origin.y()));
}

QPointF NetworkView::typedOf(QPointF scene) const
{
    return QPointF(scene.x() + m_origin.x(), -scene.y() + m_origin.y());
}

QPointF NetworkView::typedAt(QPoint viewportPoint) const
{
    return typedOf(mapToScene(viewportPoint));
}

QPoint NetworkView::viewportAt(QPointF typed) const
{
    return mapFromScene(sceneAt(typed));
}

void NetworkView::setTool(Tool tool)
{
    cancelPipe();
    m_tool = tool;
    // Panning and dragging nodes belong to the selection; the other tools click.
    setDragMode(tool == Tool::Select ? QGraphicsView::ScrollHandDrag : QGraphicsView::NoDrag);
    viewport()->setCursor(tool == Tool::Select ? Qt::OpenHandCursor : Qt::CrossCursor);
    for (NodeItem *item : std::as_const(m_nodeItems))
        item->setFlag(QGraphicsItem::ItemIsMovable, tool == Tool::Select);
}

DrawnEnd NetworkView::endAt(QPoint viewportPoint) const
{
    DrawnEnd end;
    end.at = typedAt(viewportPoint);
    const QList<QGraphicsItem *> found = items(viewportPoint);
    // A node before a pipe: the node covers the pipes' ends.
    for (const QGraphicsItem *item : found) {
        if (item->data(kKindKey).toInt() == NodeKind) {
            end.node = item->data(kRowKey).toInt();
            end.at = m_content.nodes.value(end.node).at;
            return end;
        }
    }
    for (const QGraphicsItem *item : found) {
        if (item->data(kKindKey).toInt() != PipeKind)
            continue;
        const picture::Pipe &p = m_content.pipes[item->data(kIndexKey).toInt()];
        QList<QPointF> course{m_content.nodes[p.from].at};
        course += p.bends;
        course << m_content.nodes[p.to].at;
        end.pipe = p.row;
        end.at = network::nearestOnCourse(course, end.at).at;
        return end;
    }
    return end;
}

void NetworkView::cancelPipe()
{
    if (m_pipeStart) {
        m_pipeStart.reset();
        viewport()->update();
    }
}

void NetworkView::mousePressEvent(QMouseEvent *event)
{
    if (m_tool == Tool::Select || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    event->accept();
    if (event->button() == Qt::RightButton) {
        cancelPipe();
        return;
    }
    const DrawnEnd end = endAt(event->position().toPoint());
    // The scene is drawn anew after each edit: nothing of it is touched once the edit is asked for.
    if (m_tool == Tool::Node) {
        if (end.node >= 0)
            return;
        if (end.pipe >= 0)
            emit pipeSplitRequested(end.pipe, end.at);
        else
            emit nodeAddRequested(end.at);
        return;
    }
    if (!m_pipeStart) {
        m_pipeStart = end;
        m_pointer = end.at;
        viewport()->update();
        return;
    }
    const DrawnEnd start = *m_pipeStart;
    m_pipeStart.reset();
    viewport()->update();
    emit pipeDrawRequested(start, end);
}

void NetworkView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pipeStart) {
        m_pointer = typedAt(event->position().toPoint());
        viewport()->update();
    }
    QGraphicsView::mouseMoveEvent(event);
}

void NetworkView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_pipeStart) {
        cancelPipe();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        const QList<int> nodes = selectedNodes(), pipes = selectedPipes();
        event->accept();
        if (!nodes.isEmpty() || !pipes.isEmpty())
            emit deleteRequested(nodes, pipes);
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

QList<int> NetworkView::selectedNodes() const
{
    QList<int> rows;
    for (const QGraphicsItem *item : m_scene->selectedItems()) {
        if (item->data(kKindKey).toInt() == NodeKind)
            rows << item->data(kRowKey).toInt();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> NetworkView::selectedPipes() const
{
    QList<int> rows;
    for (const QGraphicsItem *item : m_scene->selectedItems()) {
        if (item->data(kKindKey).toInt() == PipeKind)
            rows << item->data(kRowKey).toInt();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
