#pragma once

#include "route.h"
#include "screen.h"
#include "work_screen.h"

class EditSession;
class ProfileView;
class QLabel;
class QTableView;
class QUndoStack;
class RouteModel;
class SettingsFrame;
class TableEditing;

// gw: the hydraulic table of a whole route (管网水力计算表). Sections are rows
// of a table that recalculates with every edit; the closing row adds them up
// and the verdict under it says whether the route meets its allowance.
class RouteScreen : public Screen, public WorkScreen
{
    Q_OBJECT

public:
    RouteScreen();

    RouteModel *model() const { return m_model; }
    QUndoStack *undoStack() const { return m_undo; }
    QTableView *table() const { return m_table; }
    TableEditing *editing() const { return m_editing; }
    // The settings as the screen's controls give them.
    route::Settings settings() const;
    // Sets the settings and sections at once, as a design file brings them; nothing to undo before it.
    void loadRoute(const route::Settings &settings, const QList<route::Section> &sections);

    QVariantMap typedState() const override;
    void loadState(const QVariantMap &state) override;

    // The buttons and keys of the table.
    void addSection();
    void insertSection();
    void deleteSections();
    void moveUp();
    void moveDown();
    void clearCells();
    // Pastes tab-separated text from the current cell on, adding sections as needed.
    void paste(const QString &text);
    void pasteClipboard();
    void copyTable();
    // Reads a CSV file (chosen in a dialog) in place of the sections; false when it was refused.
    bool importCsv(const QString &path);
    // Writes the table as CSV with a byte-order mark; false when it could not.
    bool exportCsv(const QString &path);

private:
    void showVerdict();

    SettingsFrame *m_settings;
    ProfileView *m_profile;
    QTableView *m_table;
    QLabel *m_verdict;
    QLabel *m_status; // what the last class switch converted
    QUndoStack *m_undo;
    EditSession *m_session;
    RouteModel *m_model;
    TableEditing *m_editing;
};
