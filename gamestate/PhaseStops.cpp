#include "gamestate/PhaseStops.h"

namespace {

PhaseStopTable s_PhaseStops;

} // namespace

PhaseStopTable& GetPhaseStops()
{
    return s_PhaseStops;
}

namespace PhaseStop {

bool Get(int side, int step)
{
    if (side < 0 || side >= PHASE_STOP_PLAYERS || step < 0 || step >= PHASE_STOP_STEPS)
        return false;
    return s_PhaseStops.inUse[static_cast<std::size_t>(side)][static_cast<std::size_t>(step)] != 0;
}

} // namespace PhaseStop
