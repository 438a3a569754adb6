#include "route_delegate.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QPainter>

void RouteDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.canConvert<QBrush>())
        painter->fillRect(option.rect, background.value<QBrush>());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    painter->save();
    const QVariant font = index.data(Qt::FontRole);
    if (font.isValid())
        painter->setFont(font.value<QFont>());
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->setPen(foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                    : option.palette.color(QPalette::Text));
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const int flags
        = (alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter)) | Qt::TextSingleLine;
    // The margins the style gives an item's text, so that a column sized to its contents fits.
    const QWidget *view = option.widget;
    const QStyle *style = view ? view->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    painter->drawText(option.rect.adjusted(margin, 0, -margin, 0), flags, text);
    painter->restore();
}
