#pragma once

#include "catalogue.h"

#include <array>
#include <string>
#include <vector>

// A network as numbers, nodes and pipes by index: what the graph, the sizing and the
// solver work on. No texts: the tables are read into it and the results written from it.
namespace network {

struct Arrays
{
    // Low pressure: potentials are pressures in Pa less the gravity head of the node's
    // elevation, P - (rho_air - rho) g z. Medium/high pressure: potentials are P^2 in kPa^2.
    bool low = true;
    double rho = 0; // density, kg/Nm^3
    double nu = 0; // kinematic viscosity, m^2/s
    double T = 0; // temperature, K
    double minPressure = 0; // Pa or kPa
    // Households: the rated flow of one household of each appliance set (Nm^3/h; 0
    // where no household uses the set), and whether K is read linearly between the
    // table's rows rather than in steps.
    double ratedFlow[2] = {0, 0};
    bool linear = false;
    // Medium/high pressures typed as gauge: the potentials are of absolute pressures, the
    // typed and shown ones less the atmosphere (kPa), which low pressures add for the velocity.
    bool gauge = false;
    double atmosphere = 101.325;
    double maxVelocity = 0; // m/s; 0: no limit

    // Each material's catalogue, and the sizes automatic sizing picks from by material,
    // smallest first, none below the minimum: a catalogue's (its index) or one of the
    // section screens' 19 diameters (-1).
    std::array<std::vector<pd::PipeSize>, 3> catalogues;
    struct Choice
    {
        double diameter;
        int size;
    };
    std::array<std::vector<Choice>, 3> series;
    std::array<double, 3> minDiameter = {0, 0, 0}; // mm
    std::array<std::string, 3> minName; // as messages give it

    // Nodes.
    // Nm^3/h taken at the node: as typed when read; before flows are found, the load
    // the node takes itself (network_loads.h), which is what the solver balances.
    std::vector<double> load;
    std::vector<double> households; // whole numbers
    std::vector<char> appliance; // the set its households use: 0 or 1
    std::vector<double> z; // elevation, m (0 for medium/high pressure)
    std::vector<char> source; // held at its pressure
    std::vector<double> sourcePressure; // Pa or kPa; 0 for an ordinary node
    std::vector<double> fixedPotential; // a source's potential

    // Pipes.
    std::vector<int> from, to;
    std::vector<int> material; // 0 steel, 1 cast iron, 2 plastic
    std::vector<double> length; // m, or km for medium/high pressure
    std::vector<double> diameter; // inner, mm; 0 until an automatic pipe is sized
    std::vector<int> size; // the size's index in its material's catalogue; -1 for millimetres
    std::vector<double> localPercent; // the local loss, % of the friction loss
    std::vector<double> w; // 1 + localPercent / 100
    std::vector<double> pathLoad; // Nm^3/h taken evenly along the pipe
    std::vector<char> automatic; // sized by the program

    std::size_t nodeCount() const { return load.size(); }
    std::size_t pipeCount() const { return from.size(); }
};

} // namespace network
