#pragma once

#include "route.h"

#include <QList>
#include <QUndoCommand>

class RouteModel;

// One cell's text before and after an edit.
struct CellChange
{
    int row;
    int column;
    QString before;
    QString after;
};

// Typing into cells, clearing them, or pasting over them.
class SetCellsCommand : public QUndoCommand
{
public:
    SetCellsCommand(RouteModel *model, QList<CellChange> changes, const QString &text, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
    QList<CellChange> m_changes;
};

// New sections before a row (at the end when the row is the number of sections).
class InsertSectionsCommand : public QUndoCommand
{
public:
    InsertSectionsCommand(RouteModel *model, int row, QList<route::Section> sections, const QString &text,
                          QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
    int m_row;
    QList<route::Section> m_sections;
};

// Sections taken out, wherever they stand.
class RemoveSectionsCommand : public QUndoCommand
{
public:
    RemoveSectionsCommand(RouteModel *model, QList<int> rows, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
    QList<int> m_rows; // ascending
    QList<route::Section> m_removed;
};

// One section one place up or down.
class MoveSectionCommand : public QUndoCommand
{
public:
    MoveSectionCommand(RouteModel *model, int from, int to, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
    int m_from;
    int m_to;
};

// All sections at once, as a CSV import brings them.
class ReplaceSectionsCommand : public QUndoCommand
{
public:
    ReplaceSectionsCommand(RouteModel *model, QList<route::Section> sections, const QString &text,
                           QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
    QList<route::Section> m_before;
    QList<route::Section> m_after;
};

// Several commands as one step, recalculated once: a paste that adds sections and fills cells.
class MacroCommand : public QUndoCommand
{
public:
    MacroCommand(RouteModel *model, const QString &text);
    void undo() override;
    void redo() override;

private:
    RouteModel *m_model;
};
