#pragma once

#include "network.h"

namespace network {

// A pipe held at a regime boundary of the low-pressure law: its flow is the boundary
// flow, its drop anywhere between the two formulas' drops there.
struct BoundaryHold
{
    Hold boundary = Hold::None;
    double flow = 0; // the boundary flow, Nm^3/h
};

} // namespace network
