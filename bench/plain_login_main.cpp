// The reference of the start-up figure, a program of its own so that nothing but
// Qt is linked in: prints the nanoseconds from the construction of QApplication to
// the first frame of the plain-Qt login window, timed as the bench times the program.
#include "offscreen.h"
#include "plain_login.h"

#include <QApplication>
#include <QDialog>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    qInstallMessageHandler(offscreen::quietHandler);
    const auto start = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    QDialog *window = showPlainLogin();
    const bool ok = offscreen::waitExposed(window);
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    delete window;
    if (!ok)
        return 1;
    std::printf("%.0f\n", elapsed.count());
    return 0;
}
