#pragma once

#include "batch.h"

#include <QStringList>

// velmora-batch network: solves a network from its node and pipe tables or an EPANET file.
BatchRun runNetwork(const QStringList &arguments, bool strict = false);
