#pragma once

#include "network.h"
#include "network_layout.h"
#include "network_model.h"
#include "network_view.h"
#include <QWidget>

class CatalogueDialog;
class EditSession;
class NetworkView;
class ProfileView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QUndoStack;
class SettingsFrame;
class TableEditing;

// One gas network of a design: its settings, its nodes and pipes as tables, solved
// with every edit; the loops with their closures, the verdict with the most
// unfavourable node, the drawing and the profile; its own undo stack.
class NetworkEditor : public QWidget
{
    Q_OBJECT

public:
    explicit NetworkEditor(QWidget *parent = nullptr);

    NetworkModel *model() const { return m_model; }
    QUndoStack *undoStack() const { return m_undo; }
    QTableView *table(network::Table table) const;
    TableEditing *editing(network::Table table) const;
    // The table that the row buttons and paste act on: the one last focused.
    network::Table activeTable() const { return m_active; }
    void setActiveTable(network::Table table) { m_active = table; }
    // The settings as the screen's controls give them.
    network::Settings settings() const;

    // The network as typed, settings included, and the same set at once (nothing to undo before it).
    network::Network typedNetwork() const;
    void loadNetwork(const network::Network &network);

    // The buttons and keys of the tables, on the active one.
    void addRow();
    void insertRow();
    void deleteRows();
    void clearCells();
    // Pastes tab-separated text from the current cell on, adding rows as needed.
    void paste(const QString &text);
    void pasteClipboard();
    void copyTable();
    // Reads a CSV file in place of the nodes or the pipes; false when it was refused.
    bool importCsv(network::Table table, const QString &path);
    // Writes the nodes or the pipes as CSV, as typed; false when it could not.
    bool exportCsv(network::Table table, const QString &path);
    // Reads an EPANET input file in place of both tables, asking once for the pressure
    // of sources the file gives none; false when it was refused.
    bool importInp(const QString &path);
    // Writes the network as an EPANET input file, diameters as chosen.
    bool exportInp(const QString &path);
    // Writes the bill of quantities as CSV, as velmora-batch network --csv quantities does.
    bool exportQuantities(const QString &path);
    // "管材规格...": the catalogues, beside the network (made on first use).
    CatalogueDialog *showCatalogues();
    QTableView *quantityTable() const { return m_quantityTable; }

    NetworkView *view() const { return m_view; }
    ProfileView *profileView() const { return m_profile; }
    // The places the drawing gives the nodes: typed, or placed automatically.
    const network::Layout &layout() const { return m_layout; }
    // Writes the automatic places into the nodes' X, Y (one undo step).
    void saveLayout();
    // Moves a node to a place (X, Y rounded to 0.1; one undo step).
    void moveNode(int row, QPointF at);
    // Writes the drawing as SVG or PNG, by the file's suffix.
    bool exportPicture(const QString &path);

    // The network's name, for the title of its drawing.
    void setName(const QString &name) { m_name = name; }
    QString name() const { return m_name; }
    // Reads a CAD drawing or GIS layer in place of both tables (one undo step), with the
    // layers, tolerances and units chosen after reading its import report; false when it was
    // refused or the user cancelled, the network unchanged.
    bool importDrawing(const QString &path);
    // Writes the solved network as a DXF drawing to scale (1:scale); false when it is not solved
    // or the file could not be written.
    bool exportDrawing(const QString &path, double scale = 500);

    // Edits in the drawing, each one undo step; rows are those the drawing shows. False where
    // nothing changed: a row no longer where the drawing shows it, a pipe from a node to itself,
    // a place on a pipe at one of its ends.
    // A node at a free place, the next free id "J<n>".
    bool addNode(QPointF at);
    // A node placed on a pipe splits it there: both halves keep its diameter and material, share
    // a typed length in proportion to their courses, and take the bends on their side.
    bool splitPipe(int row, QPointF at);
    // A pipe, the next free number, between two ends; an end on a pipe splits it, an end at a
    // free place is a new node.
    bool drawPipe(const DrawnEnd &from, const DrawnEnd &to);
    // The nodes with every pipe that ends at them, and the pipes.
    bool deleteItems(const QList<int> &nodes, const QList<int> &pipes);
    // A free place on the grid where the grid snap is on.
    QPointF snapped(QPointF at) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showVerdict();
    void redraw();
    // Selects a row of a table from the drawing, where the drawing shows it as it is now.
    void selectFromDrawing(network::Table table, int row);
    struct Draft;
    Draft draft() const;
    // Where a node of the draft is: typed, else where the drawing puts it.
    std::optional<QPointF> placeOf(const Draft &draft, int node) const;
    // Splits a pipe of the draft at the point nearest to `at`; the id of the node there (an end
    // of the pipe where the point is one), empty where the pipe has no course.
    QString splitInDraft(Draft &draft, int pipe, QPointF at) const;
    // The draft's changes as one undo step: cells set, rows added after the others.
    void pushDraft(const Draft &draft, const QString &text);

    SettingsFrame *m_settings;
    QTableView *m_nodeTable;
    QTableView *m_pipeTable;
    QTableView *m_loopTable;
    QTableView *m_quantityTable;
    CatalogueDialog *m_catalogues = nullptr;
    TableEditing *m_nodeEditing;
    TableEditing *m_pipeEditing;
    QLabel *m_verdict;
    QLabel *m_flowRule; // how the flows were found
    QLabel *m_status; // what the last class switch converted
    NetworkView *m_view;
    ProfileView *m_profile;
    QComboBox *m_colourBy;
    QCheckBox *m_labels;
    QCheckBox *m_gridSnap;
    QLineEdit *m_gridStep;
    QComboBox *m_drawingScale;
    QString m_name;
    network::Layout m_layout;
    // What the layout was made from: the nodes' ids, typed places and sources, the pipes' ends.
    struct LayoutKey
    {
        QStringList ids;
        QList<std::optional<QPointF>> places;
        QList<bool> sources;
        QList<std::pair<int, int>> ends;
        bool operator==(const LayoutKey &) const = default;
    };
    LayoutKey m_layoutKey;
    QUndoStack *m_undo;
    EditSession *m_session;
    NetworkModel *m_model;
    network::Table m_active = network::Table::Nodes;
    QString m_lastSourcePressure; // offered when an EPANET file gives a source none
};
