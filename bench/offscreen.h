#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <QWindow>

// What every process of the bench does on the offscreen platform, stated once so
// that the program and the plain-Qt login window are timed alike.
namespace offscreen {

// Waits until the window system has exposed a shown window, which paints its
// first frame, then lets the events that the frame left behind run. The
// deadline only keeps a broken platform from hanging the bench.
inline bool waitExposed(QWidget *window)
{
    QElapsedTimer deadline;
    deadline.start();
    while (!window->windowHandle() || !window->windowHandle()->isExposed()) {
        if (deadline.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

// The offscreen platform says on every fixed-size window that it cannot pass
// size hints on; that is no news for a benchmark.
inline void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("propagateSizeHints")))
        return;
    qt_message_output(type, context, message);
}

} // namespace offscreen
