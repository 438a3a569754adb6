#pragma once

#include "network.h"
#include "network_layout.h"
#include "network_model.h"
#include <QWidget>

class CatalogueDialog;
class EditSession;
class NetworkView;
class ProfileView;
class QCheckBox;
class QComboBox;
class QLabel;
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showVerdict();
    void redraw();
    // Selects a row of a table from the drawing, where the drawing shows it as it is now.
    void selectFromDrawing(network::Table table, int row);

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
    network::Layout m_layout;
    QStringList m_layoutKey; // what the layout was made from
    QUndoStack *m_undo;
    EditSession *m_session;
    NetworkModel *m_model;
    network::Table m_active = network::Table::Nodes;
    QString m_lastSourcePressure; // offered when an EPANET file gives a source none
};
