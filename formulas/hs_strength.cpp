#include "hs.h"

namespace hs {

double PipeWallThickness(const double &, const double &, const double &, const double &, const double &,
                         const double &)
{
    return 0;
}

} // namespace hs
