// Placeholder until the phase stops exist.
#include "gamestate/PhaseStops.h"

namespace PhaseStop {

bool Get(int /*side*/, int /*step*/)
{
    return false;
}

} // namespace PhaseStop
