#include "file_dialog.h"

#include <QFileDialog>

namespace {
std::function<QString(const FileDialogRequest &)> &fileDialogHandler()
{
    static std::function<QString(const FileDialogRequest &)> handler;
    return handler;
}
} // namespace

QString chooseFile(QWidget *parent, const FileDialogRequest &request)
{
    if (const auto &handler = fileDialogHandler())
        return handler(request);
    if (request.mode == FileDialogRequest::Mode::Open)
        return QFileDialog::getOpenFileName(parent, request.caption, QString(), request.filter);
    return QFileDialog::getSaveFileName(parent, request.caption, request.suggested, request.filter);
}

void setFileDialogHandler(std::function<QString(const FileDialogRequest &)> handler)
{
    fileDialogHandler() = std::move(handler);
}
