#pragma once

#include "calculation.h"
#include "design_file.h"
#include "network.h"
#include "route.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class QPagedPaintDevice;

// The calculation report (计算书): the project block, every calculation with its inputs, choices,
// formula and constants, results, messages and table, and the route table; a
// header on every page and page numbers.
namespace report {

struct Entry
{
    const calc::Calculation *calculation = nullptr;
    calc::Input input;
    calc::Outcome outcome;
};

struct RouteEntry
{
    route::Settings settings;
    QList<route::Section> sections;
    route::Result result;
};

struct NetworkEntry
{
    QString name;
    network::Network network;
    network::Result result;
};

struct Report
{
    QString designName; // the design file's name, when there is one
    QDateTime when;
    design::Project project; // printed on the first page
    QList<Entry> entries;
    std::optional<RouteEntry> route;
    QList<NetworkEntry> networks;
};

// The body as HTML.
// pictureWidth: the width of the network's drawing on the page; none when 0.
QString html(const Report &report, double pictureWidth = 0);
// Lays the report out on the device's pages with the header and page numbers.
void render(const Report &report, QPagedPaintDevice *device);
// Writes the report as an A4 PDF, atomically; on failure the reason, and the file as it was.
bool writePdf(const Report &report, const QString &path, QString *error);

// The report of a design, from its typed texts alone, in the main menu's order:
// every calculation run on its texts that shows a result or table, and the route
// when it has sections, each network that has nodes. The screens' report and
// velmora-batch report both come from here.
Report fromDesign(const QString &designName, const QMap<QString, QMap<QString, QVariant>> &screens,
                  const design::Project &project = {});

} // namespace report
