#pragma once

#include "drawing_import.h"
#include "network.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// What importing a drawing asks the user about: the file, its layers with their line counts,
// the units it states, and the pressure class of the network it goes into.
struct DrawingImportRequest
{
    QString path;
    drawing::Layers layers;
    network::Pressure pressure = network::Pressure::Low;
};

// The options the user took after reading the import report; nothing when they cancelled.
std::optional<drawing::Options> chooseDrawingImport(QWidget *parent, const DrawingImportRequest &request);
// While a handler is set, chooseDrawingImport asks it instead of opening the dialog; an empty
// function restores the dialog.
void setDrawingImportHandler(std::function<std::optional<drawing::Options>(const DrawingImportRequest &)> handler);

// The import report as the dialog shows it: lines read, nodes and pipes with their total length,
// ends merged, tees, dangling ends, pieces dropped, parts, entities left out by kind.
QString importReportText(const drawing::Report &report, network::Pressure pressure);

// 导入图纸: the layers to tick, the snap tolerance, the units (asked when the file states none),
// the label distance; the import report of the choices so far, before anything is taken.
class DrawingImportDialog : public QDialog
{
    Q_OBJECT

public:
    DrawingImportDialog(const DrawingImportRequest &request, QWidget *parent = nullptr);

    // The choices as options; nothing while they cannot be read.
    std::optional<drawing::Options> options() const;

private:
    // Imports with the present choices, for the report; the import button follows.
    void preview();

    DrawingImportRequest m_request;
    QListWidget *m_layers;
    QLineEdit *m_snap;
    QComboBox *m_units;
    QLineEdit *m_labelDistance;
    QLabel *m_report;
    QPushButton *m_import;
    QTimer *m_wait;
};
