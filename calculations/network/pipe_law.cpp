#include "pipe_law.h"

#include "hs.h"
#include "sections.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

namespace {

constexpr double kReynolds[2] = {2100, 3500};
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A flow this close to a boundary flow is the boundary flow: on either side of it
// rounding alone decides which formula the section screens would take.
constexpr double kSnap = 1e-12;

} // namespace

bool BoundaryHold::admits(double drop, double tolerance) const
{
    const double h = std::fabs(drop);
    return boundary != Boundary::None && h >= std::min(below, above) - tolerance
        && h <= std::max(below, above) + tolerance;
}

PipeLaw::PipeLaw(const Arrays &network, int pipe)
{
    const std::size_t k = std::size_t(pipe);
    m_low = network.low;
    m_material = network.material[k];
    m_nu = network.nu;
    m_T = network.T;
    m_rho = network.rho;
    m_d = network.diameter[k];
    m_scale = network.length[k] * network.w[k];
    if (!m_low) {
        // Gas at 10 m/s: only a start for the first guess.
        m_referenceFlow = 10 * hs::kPi / 4 * (m_d / 1000) * (m_d / 1000) * 3600;
        m_referenceDrop = formulaDrop(Formula::High, m_referenceFlow);
        return;
    }
    const Formula formulas[3] = {Formula::Laminar, Formula::Critical, Formula::Turbulent};
    for (int b = 0; b < 2; ++b) {
        BoundaryHold &hold = m_boundaries[std::size_t(b)];
        hold.boundary = b == 0 ? BoundaryHold::Boundary::LaminarEnd : BoundaryHold::Boundary::TurbulentStart;
        hold.flow = kReynolds[b] * 0.9 * hs::kPi * m_d * m_nu;
        hold.below = formulaDrop(formulas[b], hold.flow);
        hold.above = formulaDrop(formulas[b + 1], hold.flow);
        Step &step = m_step[std::size_t(b)];
        step.down = hold.above < hold.below;
        if (!step.down)
            continue;
        // The ramps reach a few times the step's width beyond it: their slopes are the
        // formulas', and a solver's steps across them as good as elsewhere.
        const double width = hold.below - hold.above;
        double q = hold.flow * (1 + 4 * width / hold.above), h = formulaDrop(formulas[b + 1], q);
        while (h <= hold.below) {
            q = hold.flow + 2 * (q - hold.flow);
            h = formulaDrop(formulas[b + 1], q);
        }
        step.rampAbove[0] = h;
        step.rampAbove[1] = q;
        q = hold.flow * (1 - 4 * width / hold.below);
        h = formulaDrop(formulas[b], q);
        while (h >= hold.above) {
            q = hold.flow - 2 * (hold.flow - q);
            h = formulaDrop(formulas[b], q);
        }
        step.rampBelow[0] = h;
        step.rampBelow[1] = q;
    }
}

double PipeLaw::drop(double flow) const
{
    const double q = std::fabs(flow);
    if (q <= 0)
        return 0;
    const double unit = m_low ? calc::lowSection(q, m_nu, m_T, m_rho, m_material, m_d).drop
                              : calc::highDrop(m_material)(q, m_nu, m_rho, m_T, m_d);
    return std::copysign(unit * m_scale, flow);
}

PipeLaw::Tangent PipeLaw::tangent(double flow) const
{
    const double q = std::fabs(flow);
    if (q <= 0)
        return {0, m_low ? m_boundaries[0].below / m_boundaries[0].flow : 0};
    Formula f = Formula::High;
    double unit = 0;
    if (m_low) {
        const calc::LowSection s = calc::lowSection(q, m_nu, m_T, m_rho, m_material, m_d);
        f = s.state == hs::FlowState::Laminar    ? Formula::Laminar
            : s.state == hs::FlowState::Critical ? Formula::Critical
                                                 : Formula::Turbulent;
        unit = s.drop;
    } else {
        unit = calc::highDrop(m_material)(q, m_nu, m_rho, m_T, m_d);
    }
    const double h = unit * m_scale;
    return {std::copysign(h, flow), h * elasticity(f, q) / q};
}

BoundaryHold PipeLaw::holdAt(double flow) const
{
    const double q = std::fabs(flow);
    for (const BoundaryHold &hold : m_boundaries) {
        if (m_low && q == hold.flow)
            return hold;
    }
    return {};
}

double PipeLaw::unitDrop(Formula f, double q) const
{
    switch (f) {
    case Formula::Laminar:
        return hs::LowPressureLaminarDrop(q, m_nu, m_T, m_rho, m_d);
    case Formula::Critical:
        return hs::LowPressureCriticalDrop(q, m_nu, m_T, m_rho, m_d);
    case Formula::Turbulent:
        if (m_material == 0)
            return hs::LowPressureSteelDrop(q, m_nu, m_T, m_rho, m_d);
        if (m_material == 1)
            return hs::LowPressureCastIronDrop(q, m_nu, m_T, m_rho, m_d);
        return hs::LowPressurePlasticDrop(q, m_nu, m_T, m_rho, m_d);
    case Formula::High:
        break;
    }
    return calc::highDrop(m_material)(q, m_nu, m_rho, m_T, m_d);
}

double PipeLaw::elasticity(Formula f, double q) const
{
    const hs::Roughness &r = hs::kMaterials[std::size_t(std::clamp(m_material, 0, 2))];
    switch (f) {
    case Formula::Laminar:
        return 1;
    case Formula::Critical: {
        const double s1 = 11.8 * q - (70000 * m_d) * m_nu;
        const double s2 = 23 * q - (100000 * m_d) * m_nu;
        return 2 + q * (11.8 * s2 - 23 * s1) / (s2 * (s2 + s1));
    }
    case Formula::Turbulent:
    case Formula::High:
        break;
    }
    // C (K/d + b d nu / q)^(1/4) q^2 ...: the viscous term softens the square.
    const double viscous = r.b * m_d * m_nu / q;
    return 2 - viscous / (4 * (r.K / m_d + viscous));
}

PipeLaw::Span PipeLaw::span(int b) const
{
    const BoundaryHold &hold = m_boundaries[std::size_t(b)];
    const Step &step = m_step[std::size_t(b)];
    if (!step.down)
        return {hold.below, hold.above, hold.flow, hold.flow};
    if (step.followAbove)
        return {step.rampBelow[0], hold.above, step.rampBelow[1], hold.flow};
    return {hold.below, step.rampAbove[0], hold.flow, step.rampAbove[1]};
}

int PipeLaw::rampAt(double drop) const
{
    const double h = std::fabs(drop);
    for (int b = 0; b < 2; ++b) {
        if (!m_low || !m_step[std::size_t(b)].down)
            continue;
        const Span s = span(b);
        if (h > s.start && h < s.end)
            return b;
    }
    return -1;
}

PipeLaw::Point PipeLaw::invert(Formula f, double h, double lo, double hi, double guess) const
{
    double q = guess;
    if (!(q > lo && q < hi)) {
        // A power law through a known point of the formula, inside the bracket.
        double q0 = m_referenceFlow, h0 = m_referenceDrop;
        if (f == Formula::Critical) {
            q0 = lo;
            h0 = formulaDrop(f, lo);
        } else if (f == Formula::Turbulent) {
            q0 = m_boundaries[1].flow;
            h0 = m_boundaries[1].above;
        }
        q = q0 * std::sqrt(h / h0);
        if (!(q > lo && q < hi))
            q = std::isfinite(hi) ? 0.5 * (lo + hi) : std::max(2 * lo, q0);
    }
    double a = lo, b = hi;
    for (int i = 0; i < 200; ++i) {
        const double y = formulaDrop(f, q);
        const double dy = y * elasticity(f, q) / q;
        (y > h ? b : a) = q;
        const double step = (h - y) / dy;
        double next = q + step;
        // Near the answer one more step halves the digits still wrong: it is taken unchecked.
        if (std::fabs(step) <= 1e-8 * q)
            return {std::clamp(next, lo, hi), 1 / dy};
        if (!(next > a && next < b))
            next = std::isfinite(b) ? 0.5 * (a + b) : 2 * q;
        if (next == q)
            return {q, 1 / dy};
        q = next;
    }
    return {q, q / (formulaDrop(f, q) * elasticity(f, q))};
}

PipeLaw::Point PipeLaw::flowAt(double drop, double guess) const
{
    const double h = std::fabs(drop);
    const double g = std::fabs(guess);
    Point p;
    if (!m_low) {
        if (h <= 0)
            return {0, kInfinity};
        p = invert(Formula::High, h, 0, kInfinity, g);
    } else {
        const Span s0 = span(0), s1 = span(1);
        auto along = [h](const Span &s) -> Point {
            if (s.end <= s.start)
                return {s.startFlow, 0};
            const double slope = (s.endFlow - s.startFlow) / (s.end - s.start);
            return {s.startFlow + slope * (h - s.start), slope};
        };
        if (h < s0.start) {
            // Laminar: the drop is proportional to the flow.
            const double perFlow = m_boundaries[0].below / m_boundaries[0].flow;
            p = {h / perFlow, 1 / perFlow};
        } else if (h <= s0.end) {
            p = along(s0);
        } else if (h < s1.start) {
            p = invert(Formula::Critical, h, s0.endFlow, s1.startFlow, g);
        } else if (h <= s1.end) {
            p = along(s1);
        } else {
            p = invert(Formula::Turbulent, h, s1.endFlow, kInfinity, g);
        }
        for (const BoundaryHold &hold : m_boundaries) {
            if (std::fabs(p.flow - hold.flow) <= kSnap * hold.flow)
                p.flow = hold.flow;
        }
    }
    p.flow = std::copysign(p.flow, drop);
    return p;
}

} // namespace network
