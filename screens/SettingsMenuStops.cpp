#include "screens/SettingsMenuStops.h"

#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/PhaseStops.h"

#include <initializer_list>

namespace {

constexpr int LEARNER = 0;
constexpr int OPPONENT = 1;

void SetStops(PhaseStopGrid& grid, int mode)
{
    const bool basicOnline = mode == 3;
    const bool physical = mode == 1 || mode == 2;
    auto set = [&grid](int player, int step) {
        grid[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)] = 1;
    };
    for (const int step : {2, 5, 8})
        set(LEARNER, step);
    if (basicOnline)
        set(LEARNER, 4);
    if (basicOnline || physical)
        set(LEARNER, 6);
    for (const int step : {5, 9})
        set(OPPONENT, step);
    if (mode == 2)
        set(OPPONENT, 3);
    if (basicOnline)
        set(OPPONENT, 4);
    if (basicOnline || physical)
        set(OPPONENT, 6);
}

} // namespace

void SetDefaultPhaseStops(int mode, bool alsoInUse)
{
    PhaseStopTable& stops = GetPhaseStops();
    stops.edited = PhaseStopGrid{};
    SetStops(stops.edited, mode);
    if (alsoInUse) {
        stops.inUse = PhaseStopGrid{};
        SetStops(stops.inUse, mode);
    }
}

bool IsPhaseStopLocked(int player, int step)
{
    if (IsPhysicalLesson())
        return true;
    switch (step) {
    case 0:
    case 1:
    case 2:
    case 7:
    case 8:
    case 10:
        return true;
    case 3:
        return player == LEARNER;
    case 5:
        return s_GameMode == 3;
    default:
        return false;
    }
}
