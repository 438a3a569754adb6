#include "hs.h"

#include <cmath>

namespace hs {

namespace {

// (P1^2 - P2^2)/L = C (a/d + b d nu/Q)^(1/4) Q^2 rho T / d^5 / 273, in kPa^2/km with d in mm. The three
// materials differ only in the roughness term a, the viscous factor b and the leading factor C.
double pressureSquaredDrop(double a, double b, double C, double Q, double nu, double rho, double T, double d)
{
    const double x = a / d + (nu * (d * b)) / Q;
    const double r = std::sqrt(std::sqrt(x));
    const double k = r * C;
    double y = Q * k;
    y = Q * y;
    y = rho * y;
    y = T * y;
    for (int i = 0; i < 5; ++i)
        y = y / d;
    return y / kT0;
}

} // namespace

double HighPressureSteelDrop(double Q, double nu, double rho, double T, double d)
{
    return pressureSquaredDrop(kMaterials[0].K, kMaterials[0].b, kMaterials[0].highC, Q, nu, rho, T, d);
}

double HighPressureCastIronDrop(double Q, double nu, double rho, double T, double d)
{
    return pressureSquaredDrop(kMaterials[1].K, kMaterials[1].b, kMaterials[1].highC, Q, nu, rho, T, d);
}

double HighPressurePlasticDrop(double Q, double nu, double rho, double T, double d)
{
    return pressureSquaredDrop(kMaterials[2].K, kMaterials[2].b, kMaterials[2].highC, Q, nu, rho, T, d);
}

std::optional<double> HighPressureEndPressure(double P1squared, double L, double drop)
{
    const double X = L * drop;
    if (P1squared > X)
        return std::sqrt(P1squared - X);
    return std::nullopt;
}

} // namespace hs
