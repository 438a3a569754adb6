#pragma once

#include "batch.h"

#include <QStringList>

// velmora-batch import: a network's node and pipe tables from a CAD drawing or a GIS line layer.
BatchRun runImport(const QStringList &arguments);
