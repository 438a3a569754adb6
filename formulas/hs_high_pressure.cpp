#include "hs.h"

namespace hs {

double HighPressureSteelDrop(double, double, double, double, double) { return 0; }
double HighPressureCastIronDrop(double, double, double, double, double) { return 0; }
double HighPressurePlasticDrop(double, double, double, double, double) { return 0; }

} // namespace hs
