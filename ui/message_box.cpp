#include "message_box.h"

#include <QMessageBox>

namespace {
std::function<void(const QString &)> &messageHandler()
{
    static std::function<void(const QString &)> handler;
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
