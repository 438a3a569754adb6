#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QLabel;
class QWidget;

// What the screens put on the clipboard.
namespace toolkit {

// The text of a grid of labels as a spreadsheet pastes it: the cells of a row
// separated by tabs, every row ended by a line feed.
QString tableText(const QList<QList<QLabel *>> &rows);
// Gives a label the context menu "复制", which copies its text; in a frame with a
// menu of its own (a table's), the frame's items follow.
void offerCopy(QLabel *label);
// Gives a result table the context-menu item "复制表格", which puts tableText(rows)
// on the clipboard. The item starts disabled: the screen enables it once it has filled the table.
QAction *copyTableAction(QWidget *frame, const QList<QList<QLabel *>> &rows);

// The lines of a block pasted from a spreadsheet (LF or CRLF ends, trailing empty
// lines dropped); each line's cells are split at tabs by the caller.
QStringList pastedLines(const QString &text);

// A key of an editable table, on the table and its editors: the action, with all the keys given.
QAction *tableAction(QWidget *table, const QString &text, const QList<QKeySequence> &keys);
// Redo: the platform's keys and Ctrl+Y, the key every spreadsheet user presses.
QList<QKeySequence> redoKeys();

} // namespace toolkit
