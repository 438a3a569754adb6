#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// A modal box with the text, one OK button, no icon and the title "Orvane".
void showMessage(QWidget *parent, const QString &text);

// While a handler is set, showMessage passes the text to it and returns at once;
// an empty function restores the real box.
void setMessageHandler(std::function<void(const QString &)> handler);

// A modal question with two buttons, the title "Orvane": true when the user takes
// the first (go on), false for the second or when the box is closed.
bool askQuestion(QWidget *parent, const QString &text, const QString &goOn, const QString &stop);

// While a handler is set, askQuestion passes the text to it and returns its
// answer at once (true: go on); an empty function restores the real box.
void setQuestionHandler(std::function<bool(const QString &)> handler);

// A modal box asking for a text, pre-filled: the text typed, or nothing when the user
// cancels.
std::optional<QString> askText(QWidget *parent, const QString &label, const QString &initial);

// While a handler is set, askText passes the label and the pre-filled text to it and
// returns its answer at once; an empty function restores the real box.
void setTextQuestionHandler(std::function<std::optional<QString>(const QString &, const QString &)> handler);
