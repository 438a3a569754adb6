#pragma once

#include "network_picture.h"

#include <QGraphicsView>

class QGraphicsScene;

// networkView: the network drawn as items, one per node and per pipe, coloured as
// the report's drawing. The wheel zooms at the cursor, dragging the background
// pans, a node can be dragged to a new place; selecting an item says which row.
class NetworkView : public QGraphicsView
{
    Q_OBJECT

public:
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

signals:
    void nodeClicked(int row);
    void pipeClicked(int row);
    // A node was dragged to a new place (X, Y as typed, Y up).
    void nodeMoved(int row, QPointF at);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool viewportEvent(QEvent *event) override;
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

    QGraphicsScene *m_scene;
    QList<class NodeItem *> m_nodeItems;
    QList<class PipeItem *> m_pipeItems;
    picture::Scene m_content;
    bool m_labels = true;
    bool m_labelsDrawn = true;
    bool m_fitDue = true;
    bool m_selecting = false;
};
