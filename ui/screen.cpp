#include "screen.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

Screen::Screen(const QString &code, const QString &caption, Border border)
{
    setObjectName(code);
    setWindowTitle(caption);
    if (border == Border::Fixed) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    } else {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                       | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    }
}

void Screen::closeForExit()
{
    m_closingForExit = true;
    close();
}

void Screen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter on a focused button presses it, as Space does; in a text box it does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *button = qobject_cast<QPushButton *>(focusWidget());
        if (button && button->isEnabled() && button->isVisible()
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            button->click();
            return;
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Screen::closeEvent(QCloseEvent *event)
{
    if (!m_closingForExit)
        emit closeRequested();
    // The shell may have ended the program in answer, closing this screen too.
    if (m_closingForExit)
        event->accept();
    else
        event->ignore();
}
