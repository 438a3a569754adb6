#include "file_dialog.h"

#include "message_box.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

namespace {
std::function<QString(const FileDialogRequest &)> &fileDialogHandler()
{
    static std::function<QString(const FileDialogRequest &)> handler;
    return handler;
}
using PreviewHandler
    = std::function<void(const PrintPreviewRequest &request, const std::function<void(QPagedPaintDevice *)> &render)>;

PreviewHandler &previewHandler()
{
    static PreviewHandler handler;
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

void showPrintPreview(QWidget *parent, const PrintPreviewRequest &request,
                      const std::function<void(QPagedPaintDevice *)> &render)
{
    if (const auto &handler = previewHandler()) {
        handler(request, render);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(request.title);
    // The print dialog offers printing to this file.
    printer.setOutputFileName(request.pdfFile);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(request.title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&render](QPrinter *p) { render(p); });
    preview.exec();
}

void setPrintPreviewHandler(
    std::function<void(const PrintPreviewRequest &request, const std::function<void(QPagedPaintDevice *)> &render)>
        handler)
{
    previewHandler() = std::move(handler);
}

bool saveFile(QWidget *parent, const QString &path, const QByteArray &bytes, const QString &what)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    showMessage(parent, QStringLiteral("无法保存%1“%2”：%3").arg(what, QFileInfo(path).fileName(), file.errorString()));
    return false;
}
