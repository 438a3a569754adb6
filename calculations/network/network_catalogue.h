#pragma once

#include "catalogue.h"
#include "network.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The pipe catalogues of a network as typed, read into sizes the formulas take, and the
// smallest sizes automatic sizing may choose.
namespace network {

// The key of each material's catalogue in a design file: steel, castIron, plastic.
QString catalogueKey(int material);
// A material's default sizes as typed rows.
QList<Row> defaultCatalogue(int material);

// A diameter cell that names a size rather than giving millimetres: it does not begin
// with a number ("DN100", "dn110", "Φ108"); "100", "-5" and "100mm" are numbers.
bool isSizeName(const QString &text);

// The inner diameter (mm) of a typed row: outside less two walls, or the nominal bore of
// a name stated without them; none where the row does not give one.
std::optional<double> innerDiameter(const Row &row);

// A material's catalogue read: its sizes in the rows' order, blank rows passed over; on
// a problem, its text naming the row (1-based) and that row's index.
struct CatalogueRead
{
    std::vector<pd::PipeSize> sizes;
    QString problem;
    int row = -1;
};
CatalogueRead readCatalogue(int material, const QList<Row> &rows);

// The smallest size automatic sizing may choose for each material: an inner diameter (mm)
// and the name a message gives it; 0 and empty where none is set.
struct Minimum
{
    double diameter = 0;
    QString name;
};
struct MinimumRead
{
    std::array<Minimum, 3> of;
    QString problem;
};
// "dn63, DN25": a name sets the minimum of each material whose catalogue holds it, a number
// (mm) that of every material; of two for one material the larger holds.
MinimumRead readMinimum(const QString &text, const std::array<std::vector<pd::PipeSize>, 3> &catalogues);

} // namespace network
