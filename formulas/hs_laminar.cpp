#include "hs.h"

#include <cmath>

namespace hs {

double LaminarDiameter(float Q, float nu, float rho, float T, float drop)
{
    // Every step in double: the factor 1.13E10 times a float must not stay in single precision.
    double x = double(Q) * 11300000000.0;
    x = x * nu;
    x = x * rho;
    x = x * T;
    x = x / kT0;
    x = x / drop;
    return std::sqrt(std::sqrt(x));
}

} // namespace hs
