#include "copying.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

namespace toolkit {

QString tableText(const QList<QList<QLabel *>> &rows)
{
    QString text;
    for (const QList<QLabel *> &row : rows) {
        QStringList cells;
        for (const QLabel *cell : row)
            cells << cell->text();
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

void offerCopy(QLabel *label)
{
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, label, [label](const QPoint &at) {
        QMenu menu(label);
        QAction *copy = menu.addAction(QStringLiteral("复制"));
        copy->setEnabled(!label->text().isEmpty());
        QObject::connect(copy, &QAction::triggered, label,
                         [label] { QGuiApplication::clipboard()->setText(label->text()); });
        // A cell of a table offers the table's items too.
        for (QWidget *w = label->parentWidget(); w; w = w->parentWidget()) {
            if (w->contextMenuPolicy() == Qt::ActionsContextMenu) {
                menu.addActions(w->actions());
                break;
            }
        }
        menu.exec(label->mapToGlobal(at));
    });
}

QAction *copyTableAction(QWidget *frame, const QList<QList<QLabel *>> &rows)
{
    auto *action = new QAction(QStringLiteral("复制表格"), frame);
    action->setObjectName(QStringLiteral("复制表格"));
    action->setEnabled(false);
    QObject::connect(action, &QAction::triggered, frame,
                     [rows] { QGuiApplication::clipboard()->setText(tableText(rows)); });
    frame->addAction(action);
    frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

QStringList pastedLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QAction *tableAction(QWidget *table, const QString &text, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, table);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    table->addAction(action);
    return action;
}

QList<QKeySequence> redoKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        keys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    return keys;
}

} // namespace toolkit
