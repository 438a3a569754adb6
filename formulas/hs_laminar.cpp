#include "hs.h"

namespace hs {

double LaminarDiameter(float, float, float, float, float) { return 0; }

} // namespace hs
