#pragma once

#include <QList>
#include <QString>

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

} // namespace toolkit
