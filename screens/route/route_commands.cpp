#include "route_commands.h"

#include "route_model.h"

#include <algorithm>

SetCellsCommand::SetCellsCommand(RouteModel *model, QList<CellChange> changes, const QString &text,
                                 QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_changes(std::move(changes))
{}

void SetCellsCommand::redo()
{
    const RouteModel::Batch batch(m_model);
    for (const CellChange &c : m_changes)
        m_model->setCell(c.row, c.column, c.after);
}

void SetCellsCommand::undo()
{
    const RouteModel::Batch batch(m_model);
    for (auto it = m_changes.crbegin(); it != m_changes.crend(); ++it)
        m_model->setCell(it->row, it->column, it->before);
}

InsertSectionsCommand::InsertSectionsCommand(RouteModel *model, int row, QList<route::Section> sections,
                                             const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_row(row)
    , m_sections(std::move(sections))
{}

void InsertSectionsCommand::redo()
{
    m_model->insertSections(m_row, m_sections);
}

void InsertSectionsCommand::undo()
{
    m_model->removeSections(m_row, int(m_sections.size()));
}

RemoveSectionsCommand::RemoveSectionsCommand(RouteModel *model, QList<int> rows, QUndoCommand *parent)
    : QUndoCommand(QStringLiteral("删除管段"), parent)
    , m_model(model)
    , m_rows(std::move(rows))
{
    std::sort(m_rows.begin(), m_rows.end());
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
}

void RemoveSectionsCommand::redo()
{
    const RouteModel::Batch batch(m_model);
    m_removed.clear();
    for (auto it = m_rows.crbegin(); it != m_rows.crend(); ++it)
        m_removed.prepend(m_model->removeSections(*it, 1).value(0));
}

void RemoveSectionsCommand::undo()
{
    const RouteModel::Batch batch(m_model);
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        m_model->insertSections(m_rows[i], {m_removed.value(i)});
}

MoveSectionCommand::MoveSectionCommand(RouteModel *model, int from, int to, QUndoCommand *parent)
    : QUndoCommand(QStringLiteral("移动管段"), parent)
    , m_model(model)
    , m_from(from)
    , m_to(to)
{}

void MoveSectionCommand::redo()
{
    m_model->moveSection(m_from, m_to);
}

void MoveSectionCommand::undo()
{
    m_model->moveSection(m_to, m_from);
}

ReplaceSectionsCommand::ReplaceSectionsCommand(RouteModel *model, QList<route::Section> sections, const QString &text,
                                               QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_before(model->sections())
    , m_after(std::move(sections))
{}

void ReplaceSectionsCommand::redo()
{
    m_model->setSections(m_after);
}

void ReplaceSectionsCommand::undo()
{
    m_model->setSections(m_before);
}

MacroCommand::MacroCommand(RouteModel *model, const QString &text)
    : QUndoCommand(text)
    , m_model(model)
{}

void MacroCommand::redo()
{
    const RouteModel::Batch batch(m_model);
    QUndoCommand::redo();
}

void MacroCommand::undo()
{
    const RouteModel::Batch batch(m_model);
    QUndoCommand::undo();
}
