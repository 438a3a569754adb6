#pragma once

#include "hs.h"

// The arithmetic of one section, shared by the section screens and the route table.
namespace calc {

struct LowSection
{
    double reynolds;
    hs::FlowState state;
    double drop; // Pa/m
};

// Reynolds number, flow state and unit drop of one low-pressure diameter;
// material 0 steel, 1 cast iron, anything else plastic.
LowSection lowSection(double Q, double nu, double T, double rho, int material, double d);

using HighDrop = double (*)(double Q, double nu, double rho, double T, double d);
// The pressure-squared drop per km of the material: 0 steel, 1 cast iron, anything else plastic.
HighDrop highDrop(int material);

} // namespace calc
