#pragma once

#include "network.h"
#include "network_arrays.h"

#include <optional>

// Reading the typed tables into numbers, and the refusals a designer reads.
namespace network {

struct Reading
{
    Arrays arrays;
    std::optional<Problem> problem; // the first problem met; the arrays are then incomplete
};
Reading read(const Network &network);

// The nodes and pipes of a result as read, solved or not: ids, places, sources, ends.
void sketch(const Network &network, Result &result);

} // namespace network
