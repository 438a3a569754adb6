#include "hs.h"

namespace hs {

double LowPressureLaminarDrop(double, double, double, double, double) { return 0; }
double LowPressureCriticalDrop(double, double, double, double, double) { return 0; }
double LowPressureSteelDrop(double, double, double, double, double) { return 0; }
double LowPressureCastIronDrop(double, double, double, double, double) { return 0; }
double LowPressurePlasticDrop(double, double, double, double, double) { return 0; }

} // namespace hs
