#pragma once

#include <array>
#include <optional>

// Friction and design formulas of city gas networks. Pure functions: they read
// their operands, validate nothing and show nothing; callers reject
// non-positive input first. T0 = 273 K and pi = 3.14159 throughout; the gas
// velocity alone takes T0 = 273.15 K.
namespace hs {

// Constants the formulas compute with; the formula reference and the report show these same values.
inline constexpr double kPi = 3.14159;
inline constexpr double kT0 = 273; // K, the standard temperature
inline constexpr double kAirDensity = 1.293; // kg/Nm^3
inline constexpr double kGravity = 9.81; // m/s^2

// The turbulent law of a material: roughness term K, viscous factor b, and the
// leading factor C of the low-pressure (Pa/m) and the medium/high-pressure (kPa^2/km) law.
struct Roughness
{
    double K;
    double b;
    double lowC;
    double highC;
};
// Steel, cast iron, plastic.
inline constexpr std::array<Roughness, 3> kMaterials{
    {{0.1, 192.2, 6.9E6, 1.4E9}, {1, 5158, 6.4E6, 1.3E9}, {0.01, 192.2, 6.9E6, 1.4E9}}};

// ---- Low-pressure pipes: unit pressure drop, Pa/m; operands (Q, nu, T, rho, d) ----

// Unit friction loss of a low-pressure pipe in laminar flow, any material.
double LowPressureLaminarDrop(double Q, double nu, double T, double rho, double d);
// Unit friction loss in the critical zone, any material.
double LowPressureCriticalDrop(double Q, double nu, double T, double rho, double d);
// Unit friction loss of a steel pipe in turbulent flow.
double LowPressureSteelDrop(double Q, double nu, double T, double rho, double d);
// Unit friction loss of a cast-iron pipe in turbulent flow.
double LowPressureCastIronDrop(double Q, double nu, double T, double rho, double d);
// Unit friction loss of a plastic pipe in turbulent flow.
double LowPressurePlasticDrop(double Q, double nu, double T, double rho, double d);

// Reynolds number of low-pressure gas flow: Q in Nm^3/h, nu in m^2/s, d in mm.
double LowPressureReynolds(double Q, double nu, double d);

enum class FlowState { Laminar, Critical, Turbulent };
// The flow state of a Reynolds number; 2100 and 3500 both belong to the critical zone.
FlowState LowPressureFlowState(double Re);
// "层流", "临界" or "紊流", UTF-8.
const char *FlowStateText(FlowState state);

// ---- Medium/high-pressure pipes: (P1^2 - P2^2)/L per km; operands (Q, nu, rho, T, d) ----

// Pressure-squared drop per km of a steel pipe.
double HighPressureSteelDrop(double Q, double nu, double rho, double T, double d);
// Pressure-squared drop per km of a cast-iron pipe.
double HighPressureCastIronDrop(double Q, double nu, double rho, double T, double d);
// Pressure-squared drop per km of a plastic pipe.
double HighPressurePlasticDrop(double Q, double nu, double rho, double T, double d);
// End pressure of a section, kPa: sqrt(P1^2 - L * drop) from the squared start pressure (kPa^2), the length
// (km) and the drop per km; empty when P1^2 is not strictly greater than L * drop (no end pressure).
std::optional<double> HighPressureEndPressure(double P1squared, double L, double drop);

// ---- Laminar section check ----

// Diameter (mm) of a laminar section from flow, viscosity, density, temperature
// and unit drop, all single precision.
double LaminarDiameter(float Q, float nu, float rho, float T, float drop);

// ---- Pressure budget ----

// Allowable unit pressure drop of a low-pressure network, Pa/m.
double AllowableUnitPressureDrop(double P1, double P2, double L);

// ---- Gas velocity ----

// Mean gas velocity in a pipe, m/s: Q Nm^3/h, P absolute kPa, T K, d mm; P0 = 101.325 kPa, T0 = 273.15 K, kPi.
double GasVelocity(double Q, double P, double T, double d);

// ---- Simultaneity of household appliances ----

enum class Appliances { Cooker = 1, CookerAndHeater = 2 }; // 双眼灶; 双眼灶和快速热水器

// Households and the simultaneity coefficient of each appliance set.
struct SimultaneityRow
{
    long households;
    double cooker;
    double cookerAndHeater;

    double k(Appliances set) const { return set == Appliances::Cooker ? cooker : cookerAndHeater; }
};
// clang-format off
inline constexpr std::array<SimultaneityRow, 28> kSimultaneity{{
    {1, 1.00, 1.00},     {2, 1.00, 0.56},     {3, 0.85, 0.44},     {4, 0.75, 0.38},
    {5, 0.68, 0.35},     {6, 0.64, 0.31},     {7, 0.60, 0.29},     {8, 0.58, 0.27},
    {9, 0.55, 0.26},     {10, 0.54, 0.25},    {15, 0.48, 0.22},    {20, 0.45, 0.21},
    {25, 0.43, 0.20},    {30, 0.40, 0.19},    {40, 0.39, 0.18},    {50, 0.38, 0.178},
    {60, 0.37, 0.176},   {70, 0.36, 0.174},   {80, 0.35, 0.172},   {90, 0.345, 0.171},
    {100, 0.34, 0.17},   {200, 0.31, 0.16},   {300, 0.30, 0.15},   {400, 0.29, 0.14},
    {500, 0.28, 0.138},  {700, 0.26, 0.134},  {1000, 0.25, 0.13},  {2000, 0.24, 0.12},
}};
// clang-format on

// beyond: more households than the table's last row, whose coefficient then holds.
struct Simultaneity
{
    double k;
    bool beyond;
};
// Simultaneity coefficient of N households (N >= 1; less reads as 1): in steps, each row holding up to the
// next one, or linear between the rows.
Simultaneity SimultaneityCoefficient(Appliances set, long N, bool linear);

// ---- Pipe strength ----

// Design wall thickness of a steel pipeline, mm; operands are read, never changed.
double PipeWallThickness(const double &D, const double &P, const double &C, const double &phi, const double &sigmaS,
                         const double &F);

// ---- Indoor network ----

// Additional (gravity) pressure head of a gas column over a height difference
// against air of 1.293 kg/Nm^3, Pa; negative for a gas denser than air.
double AdditionalPressureHead(double rho, double dZ);
// Local pressure loss of indoor piping: the dynamic pressure at the gas
// temperature times the local resistance coefficient, Pa; d in mm.
double IndoorLocalPressureLoss(double Q, double rho, double T, double zeta, double d);

} // namespace hs
