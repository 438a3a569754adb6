#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a file dialog is asked for.
struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode;
    QString caption;
    QString filter; // "CSV 文件 (*.csv)"
    QString suggested; // the file name offered for saving
};

inline const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv)");
inline const QString kPictureFilter = QStringLiteral("SVG 图片 (*.svg);;PNG 图片 (*.png)");

// The file the user chose, or empty when the dialog was cancelled.
QString chooseFile(QWidget *parent, const FileDialogRequest &request);

// While a handler is set, chooseFile asks it instead of opening a dialog; an
// empty function restores the real dialog.
void setFileDialogHandler(std::function<QString(const FileDialogRequest &)> handler);

class QByteArray;

// Writes a file the user asked for in one step, so that a failed write leaves
// the old file as it was; on failure shows "无法保存<what>“name”：reason".
bool saveFile(QWidget *parent, const QString &path, const QByteArray &bytes, const QString &what = QString());

class QPagedPaintDevice;

// What a print preview shows: its title, and the PDF file its print dialog proposes.
struct PrintPreviewRequest
{
    QString title;
    QString pdfFile;
};

// Shows a print preview of what render paints, with "打印..." in it.
void showPrintPreview(QWidget *parent, const PrintPreviewRequest &request,
                      const std::function<void(QPagedPaintDevice *)> &render);

// While a handler is set, showPrintPreview passes it the request and the renderer
// instead of opening the preview; an empty function restores the real one.
void setPrintPreviewHandler(
    std::function<void(const PrintPreviewRequest &request, const std::function<void(QPagedPaintDevice *)> &render)>
        handler);
