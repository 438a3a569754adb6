#pragma once

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

    // Nodes.
    std::vector<double> load; // Nm^3/h taken at the node
    std::vector<double> z; // elevation, m (0 for medium/high pressure)
    std::vector<char> source; // held at its pressure
    std::vector<double> sourcePressure; // Pa or kPa; 0 for an ordinary node
    std::vector<double> fixedPotential; // a source's potential

    // Pipes.
    std::vector<int> from, to;
    std::vector<int> material; // 0 steel, 1 cast iron, 2 plastic
    std::vector<double> length; // m, or km for medium/high pressure
    std::vector<double> diameter; // mm; 0 until an automatic pipe is sized
    std::vector<double> w; // 1 + the local loss as a fraction of the friction loss
    std::vector<char> automatic; // sized by the program

    std::size_t nodeCount() const { return load.size(); }
    std::size_t pipeCount() const { return from.size(); }
};

} // namespace network
