#include "hs.h"

namespace hs {

double AdditionalPressureHead(double rho, double dZ)
{
    return ((kAirDensity - rho) * dZ) * kGravity;
}

double IndoorLocalPressureLoss(double Q, double rho, double T, double zeta, double d)
{
    // Step by step on one running value: the rounding of each step is part of
    // the result ("61.8567489665689" for 10, 0.75, 288, 2, 20).
    double r = 8 * zeta;
    r = r * Q;
    r = r * Q;
    r = r * rho;
    r = r * T;
    r = r / kPi;
    r = r / kPi;
    for (int i = 0; i < 4; ++i)
        r = r / d;
    r = r / kT0;
    r = r / 3600;
    r = r / 3600;
    // Each 1e-06 divisor turns mm^2 into m^2.
    r = r / 1e-06;
    r = r / 1e-06;
    return r;
}

} // namespace hs
