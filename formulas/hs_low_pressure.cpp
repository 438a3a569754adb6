#include "hs.h"

#include <cmath>

namespace hs {

namespace {

// The quadratic law of the critical and turbulent zones: factor * Q^2 * T * rho / d^5 / 273,
// applied step by step in this order.
double quadraticDrop(double factor, double Q, double T, double rho, double d)
{
    double y = factor * Q;
    y = y * Q;
    y = y * T;
    y = y * rho;
    for (int i = 0; i < 5; ++i)
        y = y / d;
    return y / kT0;
}

// The turbulent friction law shared by all materials: C * (a/d + b*d*nu/Q)^(1/4) * Q^2 * T * rho / d^5 / 273,
// a being the roughness term, b the viscous term and C the leading factor.
double turbulentDrop(double a, double b, double C, double Q, double nu, double T, double rho, double d)
{
    const double x = a / d + ((b * d) * nu) / Q;
    // The fourth root as two square roots keeps the result identical on every platform.
    const double r = std::sqrt(std::sqrt(x));
    const double k = r * C;
    return quadraticDrop(k, Q, T, rho, d);
}

} // namespace

double LowPressureLaminarDrop(double Q, double nu, double T, double rho, double d)
{
    double y = 1.13E10 * Q;
    y = y * nu;
    y = y * T;
    y = y * rho;
    // Laminar loss falls with the fourth power of the diameter, the other zones with the fifth.
    for (int i = 0; i < 4; ++i)
        y = y / d;
    return y / kT0;
}

double LowPressureCriticalDrop(double Q, double nu, double T, double rho, double d)
{
    const double s1 = 11.8 * Q - (70000 * d) * nu;
    const double s2 = 23 * Q - (100000 * d) * nu;
    const double f = 1900000 * (1 + s1 / s2);
    return quadraticDrop(f, Q, T, rho, d);
}

double LowPressureSteelDrop(double Q, double nu, double T, double rho, double d)
{
    return turbulentDrop(kMaterials[0].K, kMaterials[0].b, kMaterials[0].lowC, Q, nu, T, rho, d);
}

double LowPressureCastIronDrop(double Q, double nu, double T, double rho, double d)
{
    return turbulentDrop(kMaterials[1].K, kMaterials[1].b, kMaterials[1].lowC, Q, nu, T, rho, d);
}

double LowPressurePlasticDrop(double Q, double nu, double T, double rho, double d)
{
    return turbulentDrop(kMaterials[2].K, kMaterials[2].b, kMaterials[2].lowC, Q, nu, T, rho, d);
}

double LowPressureReynolds(double Q, double nu, double d)
{
    return Q / 0.9 / kPi / d / nu;
}

FlowState LowPressureFlowState(double Re)
{
    if (Re < 2100)
        return FlowState::Laminar;
    if (Re <= 3500)
        return FlowState::Critical;
    return FlowState::Turbulent;
}

const char *FlowStateText(FlowState state)
{
    switch (state) {
    case FlowState::Laminar:
        return "层流";
    case FlowState::Critical:
        return "临界";
    case FlowState::Turbulent:
        break;
    }
    return "紊流";
}

} // namespace hs
