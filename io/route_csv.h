#pragma once

#include "route.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Sections of a route read from CSV, as velmora-batch route and the route screen's import take them.
namespace route {

// The input column that a header names, by key or by the caption of either pressure class.
std::optional<int> columnOf(const QString &header);
// The sections of a CSV table headed by input columns (by key or caption). The
// columns that tableRows writes are read too: an automatic row ("auto" 1) comes
// back automatic, the computed columns are passed over and the closing row
// "合计" is no section. On a problem, its text (naming the line) and no sections.
struct Import
{
    QList<Section> sections;
    QString error;
};
Import sectionsFromCsv(const QByteArray &bytes);

} // namespace route
