#include "hs.h"

namespace hs {

Simultaneity SimultaneityCoefficient(Appliances set, long N, bool linear)
{
    const SimultaneityRow &last = kSimultaneity.back();
    if (N >= last.households)
        return {last.k(set), N > last.households};
    std::size_t i = 0;
    while (kSimultaneity[i + 1].households <= N)
        ++i;
    const SimultaneityRow &a = kSimultaneity[i];
    if (!linear || N <= a.households)
        return {a.k(set), false};
    const SimultaneityRow &b = kSimultaneity[i + 1];
    return {a.k(set) + (b.k(set) - a.k(set)) * double(N - a.households) / double(b.households - a.households), false};
}

} // namespace hs
