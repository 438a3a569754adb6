#include "hs.h"

namespace hs {

double AllowableUnitPressureDrop(double P1, double P2, double L)
{
    return (P1 - P2) / L;
}

} // namespace hs
