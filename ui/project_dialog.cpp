#include "project_dialog.h"

#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

std::function<std::optional<design::Project>(const design::Project &)> &projectHandler()
{
    static std::function<std::optional<design::Project>(const design::Project &)> handler;
    return handler;
}

} // namespace

std::optional<design::Project> askProject(QWidget *parent, const design::Project &current)
{
    if (const auto &handler = projectHandler())
        return handler(current);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("projectDialog"));
    dialog.setWindowTitle(QStringLiteral("项目信息"));
    auto *form = new QFormLayout(&dialog);
    form->setSizeConstraint(QLayout::SetFixedSize);
    QList<QLineEdit *> boxes;
    for (const design::ProjectField &f : design::projectFields()) {
        auto *box = new QLineEdit(current.*(f.text));
        box->setObjectName(QString::fromLatin1(f.key));
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
        form->addRow(QString::fromUtf8(f.caption) + QStringLiteral("："), box);
        boxes << box;
    }
    boxes.back()->setPlaceholderText(QDate::currentDate().toString(Qt::ISODate));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    design::Project project;
    for (qsizetype i = 0; i < boxes.size(); ++i)
        project.*(design::projectFields()[i].text) = boxes[i]->text().trimmed();
    return project;
}

void setProjectDialogHandler(std::function<std::optional<design::Project>(const design::Project &)> handler)
{
    projectHandler() = std::move(handler);
}
