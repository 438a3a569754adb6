#include "shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.velmora.Velmora"));
    Shell shell;
    shell.start();
    return app.exec();
}
