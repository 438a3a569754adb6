#pragma once

#include "network_arrays.h"

#include <array>

namespace network {

// A pipe held at a boundary of the low-pressure law: its flow is the boundary flow
// exactly, and its drop may be anything between what the formula below the boundary
// and the one above it give at that flow. Drops are the pipe's (unit drop x length x w).
struct BoundaryHold
{
    enum class Boundary { None, LaminarEnd, TurbulentStart }; // Re 2100, Re 3500
    Boundary boundary = Boundary::None;
    double flow = 0; // Nm^3/h
    double below = 0; // the drop of the formula below the boundary at `flow`
    double above = 0; // the drop of the formula above it

    // Whether the size of a drop lies between `below` and `above`, give or take the tolerance.
    bool admits(double drop, double tolerance = 0) const;
};

// The law of one pipe: its drop, potential from minus potential to, at a flow of either
// sign, and the flow at a drop. Low pressure: unit drop (Pa/m) x length x w, with the
// laminar, critical and turbulent formulas split at Re 2100 and 3500; medium/high
// pressure: kPa^2/km x length x w.
//
// As a function of the drop the flow is non-decreasing: where the law steps up at a
// boundary the flow stays at the boundary flow across the step. Where it steps down, the
// drops between the two formulas' have two flows (and the held state between them); the
// flow then follows one formula past the other's drop and passes to the other along a
// short ramp. States on a ramp do not satisfy the law: a solver that ends on one selects
// the other formula and solves again.
class PipeLaw
{
public:
    PipeLaw(const Arrays &network, int pipe);

    // Signed drop at a signed flow, as the section screens compute it.
    double drop(double flow) const;
    // The drop at a flow and its slope dH/dQ there, that of the formula the flow takes.
    struct Tangent
    {
        double drop = 0;
        double slope = 0;
    };
    Tangent tangent(double flow) const;

    // Low pressure only: the boundaries at Re 2100 and Re 3500 with both formulas' drops.
    const std::array<BoundaryHold, 2> &boundaries() const { return m_boundaries; }
    // The boundary whose flow the flow's size is exactly; boundary None otherwise.
    BoundaryHold holdAt(double flow) const;

    struct Point
    {
        double flow = 0; // signed like the drop
        double slope = 0; // dQ/dH; 0 across an upward step, infinite at zero drop for medium/high pressure
    };
    // The flow at a signed drop, starting from a guess flow (any sign; 0 for none).
    Point flowAt(double drop, double guess) const;

    // Where the law steps down at boundary b (0 at Re 2100, 1 at Re 3500): which formula
    // the flow follows between the two formulas' drops, the one below the boundary (the
    // default) or the one above it.
    bool stepsDown(int b) const { return m_step[b].down; }
    bool followsAbove(int b) const { return m_step[b].followAbove; }
    void followAbove(int b, bool above) { m_step[b].followAbove = above; }
    // The boundary (0 or 1) whose ramp a drop's size lies strictly inside, or -1.
    int rampAt(double drop) const;

private:
    enum class Formula { Laminar, Critical, Turbulent, High };
    double unitDrop(Formula f, double q) const;
    // The pipe's drop of a formula at a flow, and its elasticity d ln(drop) / d ln(q).
    double formulaDrop(Formula f, double q) const { return unitDrop(f, q) * m_scale; }
    double elasticity(Formula f, double q) const;
    // Solves formulaDrop(f, q) = h for q in [lo, hi] (hi may be infinite), from a guess.
    Point invert(Formula f, double h, double lo, double hi, double guess) const;

    // Around a boundary: below `start` the lower formula, above `end` the upper; between
    // them the boundary flow (a step up) or a ramp from (start, startFlow) to (end, endFlow).
    struct Step
    {
        bool down = false;
        bool followAbove = false;
        double rampBelow[2] = {0, 0}; // (drop, flow) where the ramp leaves the lower formula
        double rampAbove[2] = {0, 0}; // (drop, flow) where the ramp joins the upper formula
    };
    struct Span
    {
        double start, end, startFlow, endFlow;
    };
    Span span(int b) const;

    bool m_low = true;
    int m_material = 0;
    double m_nu = 0, m_T = 0, m_rho = 0, m_d = 0, m_scale = 0;
    std::array<BoundaryHold, 2> m_boundaries{};
    std::array<Step, 2> m_step{};
    double m_referenceFlow = 0, m_referenceDrop = 0; // medium/high: a point of the law for the first guess
};

} // namespace network
