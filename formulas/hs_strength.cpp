#include "hs.h"

namespace hs {

double PipeWallThickness(const double &D, const double &P, const double &C, const double &phi, const double &sigmaS,
                         const double &F)
{
    double r = D * P;
    r = r / 2;
    r = r / sigmaS;
    r = r / F;
    r = r / phi;
    return r + C;
}

} // namespace hs
