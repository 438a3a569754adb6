#pragma once

#include <QStyledItemDelegate>

// Paints a cell of the route table that is neither selected nor current as
// plain text on its background, without the style's item panel; the table
// repaints every visible cell after each edit, and this keeps that quick.
// Selected and current cells, and editing, are the style's as usual.
class RouteDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
