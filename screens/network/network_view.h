#pragma once

#include "network_picture.h"

#include <QGraphicsView>

#include <optional>

class QGraphicsScene;

// One end of a pipe drawn with the pipe tool: a node (its row), a place on a pipe (its row; the
// place is on it), or a free place (X, Y as typed).
struct DrawnEnd
{
    int node = -1;
    int pipe = -1;
    QPointF at;
};

// networkView: the network drawn as items, one per node and per pipe, coloured as
// the report's drawing. The wheel zooms at the cursor, dragging the background
// pans, a node can be dragged to a new place; selecting an item says which row.
// With the node tool a click adds a node, or splits the pipe it falls on; with the
// pipe tool two clicks draw a pipe between nodes, places on pipes or free places;
// Delete asks for the selected nodes and pipes to go. The view only asks: the
// editor makes the change. Items are placed relative to an origin near the
// network, so that survey coordinates of six and seven digits keep their precision.
class NetworkView : public QGraphicsView
{
    Q_OBJECT

public:
    enum class Tool { Select, Node, Pipe };

    explicit NetworkView(QWidget *parent = nullptr);
    // The scene outlives the view's own part: its last selection change is not ours to hear.
    ~NetworkView() override;

    // Draws the scene anew; the view keeps its zoom and place, unless a fit is due.
    void show(const picture::Scene &scene);
    void setLabelsShown(bool shown);
    bool labelsShown() const { return m_labels; }
    // The whole network in view.
    void fitAll();
    // The whole network in view as soon as the view has its size and a drawing: a
    // network loaded (a design opened) is seen whole, whatever the zoom before.
    void fitWhenShown();
    // Selects a node's or pipe's item (by row; -1: none) and centres it in the part of
    // the view left of the legend.
    void selectNode(int row);
    void selectPipe(int row);
    // The items, for tests: one per node and per pipe.
    int nodeItems() const;
    int pipeItems() const;
    int selectedNode() const;
    int selectedPipe() const;
    // Scene units to a pixel at the present zoom.
    double pixelSize() const;
    // Whether the items show their ids now.
    bool labelsDrawn() const { return m_labelsDrawn; }
    // What the tooltip says over a point of the viewport: the item's id and value.
    QString toolTipAt(QPoint at) const;

    void setTool(Tool tool);
    Tool tool() const { return m_tool; }
    // Every selected node's and pipe's row.
    QList<int> selectedNodes() const;
    QList<int> selectedPipes() const;
    // A place as typed (Y up) and the point of the viewport that shows it, at the present zoom.
    QPointF typedAt(QPoint viewportPoint) const;
    QPoint viewportAt(QPointF typed) const;
    // Where the items are drawn from: a place near the network's middle.
    QPointF origin() const { return m_origin; }

signals:
    void nodeClicked(int row);
    void pipeClicked(int row);
    // A node was dragged to a new place (X, Y as typed, Y up).
    void nodeMoved(int row, QPointF at);
    // The node tool: a node at a free place, or on a pipe, splitting it there.
    void nodeAddRequested(QPointF at);
    void pipeSplitRequested(int row, QPointF at);
    // The pipe tool: a pipe from one end to the other.
    void pipeDrawRequested(DrawnEnd from, DrawnEnd to);
    // Delete: the selected nodes (with their pipes) and pipes.
    void deleteRequested(QList<int> nodes, QList<int> pipes);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The legend, fixed at the right of the view.
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    friend class NodeItem;
    friend class PipeItem;
    void selectionChanged();
    // Whether the ids are shown: asked for, and far enough apart on screen to read.
    bool labelsReadable() const;
    void updateLabels();
    // The legend's width in pixels, with its margin; 0 when there is none.
    double legendRoom() const;
    // Centres a point of the scene in the part of the view left of the legend.
    void centreBesideLegend(QPointF at);
    void fitIfDue();
    QPointF sceneAt(QPointF typed) const;
    QPointF typedOf(QPointF scene) const;
    // What the tools find under a point of the viewport.
    DrawnEnd endAt(QPoint viewportPoint) const;
    void cancelPipe();

    QGraphicsScene *m_scene;
    QList<class NodeItem *> m_nodeItems;
    QList<class PipeItem *> m_pipeItems;
    picture::Scene m_content;
    bool m_labels = true;
    bool m_labelsDrawn = true;
    bool m_fitDue = true;
    bool m_selecting = false;
    Tool m_tool = Tool::Select;
    QPointF m_origin;
    bool m_hasOrigin = false;
    // The pipe tool between its clicks: where the pipe starts, and the pointer.
    std::optional<DrawnEnd> m_pipeStart;
    QPointF m_pointer; // as typed
};
