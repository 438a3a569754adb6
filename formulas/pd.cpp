#include "pd.h"

namespace pd {

void SelectStandardDiameter(float &) {}

} // namespace pd
