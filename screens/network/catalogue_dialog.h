#pragma once

#include <QDialog>

#include <array>

class NetworkModel;
class QTabWidget;
class QTableView;
class TableEditing;

// "管材规格": the catalogue of each material (steel, cast iron, plastic) on a tab, edited
// in place while the network stays in view: every edit solves it again and goes onto its
// undo stack. Not modal, so that nothing waits on it.
class CatalogueDialog : public QDialog
{
    Q_OBJECT

public:
    CatalogueDialog(NetworkModel *network, QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }
    QTableView *table(int material) const;
    // The material on show.
    int material() const;

    void addRow();
    void insertRow();
    void deleteRows();
    // The default sizes of the material on show in place of its rows: one undo step.
    void restoreDefaults();

private:
    NetworkModel *m_network;
    QTabWidget *m_tabs;
    std::array<QTableView *, 3> m_tables;
    std::array<TableEditing *, 3> m_editing;
};
