// Placeholder until the phase stops exist.
#include "screens/PhaseStops.h"

namespace PhaseStop {

bool Get(int /*side*/, int /*step*/)
{
    return false;
}

} // namespace PhaseStop
