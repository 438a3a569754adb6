#pragma once

#include <QString>

#include <functional>

class QWidget;

// The messages that several screens share.
inline constexpr char kNotPositiveMessage[] = "录入数据不能为0或小于0,嘿嘿";
inline constexpr char kOutOfRangeMessage[] = "录入数据超出计算范围,嘿嘿";

// A modal box with the text, one OK button, no icon and the title "Orvane".
void showMessage(QWidget *parent, const QString &text);

// While a handler is set, showMessage passes the text to it and returns at once;
// an empty function restores the real box.
void setMessageHandler(std::function<void(const QString &)> handler);
