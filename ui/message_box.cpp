#include "message_box.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
std::function<void(const QString &)> &messageHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

std::function<bool(const QString &)> &questionHandler()
{
    static std::function<bool(const QString &)> handler;
    return handler;
}
} // namespace

void showMessage(QWidget *parent, const QString &text)
{
    if (const auto &handler = messageHandler()) {
        handler(text);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Orvane"));
    box.setIcon(QMessageBox::NoIcon);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void setMessageHandler(std::function<void(const QString &)> handler)
{
    messageHandler() = std::move(handler);
}

bool askQuestion(QWidget *parent, const QString &text, const QString &goOn, const QString &stop)
{
    if (const auto &handler = questionHandler())
        return handler(text);
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Orvane"));
    box.setIcon(QMessageBox::Question);
    box.setText(text);
    QPushButton *yes = box.addButton(goOn, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(stop, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void setQuestionHandler(std::function<bool(const QString &)> handler)
{
    questionHandler() = std::move(handler);
}

namespace {

std::function<std::optional<QString>(const QString &, const QString &)> &textQuestionHandler()
{
    static std::function<std::optional<QString>(const QString &, const QString &)> handler;
    return handler;
}

} // namespace

std::optional<QString> askText(QWidget *parent, const QString &label, const QString &initial)
{
    if (const auto &handler = textQuestionHandler())
        return handler(label, initial);
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QStringLiteral("Orvane"), label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void setTextQuestionHandler(std::function<std::optional<QString>(const QString &, const QString &)> handler)
{
    textQuestionHandler() = std::move(handler);
}
