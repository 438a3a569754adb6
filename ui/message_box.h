#pragma once

#include <QString>

#include <functional>

class QWidget;

// A modal box with the text, one OK button, no icon and the title "Orvane".
void showMessage(QWidget *parent, const QString &text);

// While a handler is set, showMessage passes the text to it and returns at once;
// an empty function restores the real box.
void setMessageHandler(std::function<void(const QString &)> handler);
