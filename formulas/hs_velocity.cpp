#include "hs.h"

namespace hs {

double GasVelocity(double Q, double P, double T, double d)
{
    const double metres = d / 1000;
    const double A = kPi * metres * metres / 4;
    return Q * (101.325 / P) * (T / 273.15) / (A * 3600);
}

} // namespace hs
