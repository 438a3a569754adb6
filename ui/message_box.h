#pragma once

#include <QString>

#include <functional>

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
