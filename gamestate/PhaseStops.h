// The phase stops: for each player's turn, the steps at which the online game stops to let the learner act.
// Two tables: the stops in use, which the flows ask, and the marks being edited in the settings menu.
#pragma once

#include <array>
#include <cstdint>

constexpr int PHASE_STOP_PLAYERS = 2;
// Steps in turn order: untap, upkeep, draw, main before combat, beginning of combat, declare attackers,
// declare blockers, combat damage, end of combat, main after combat, end of turn.
constexpr int PHASE_STOP_STEPS = 11;

using PhaseStopGrid = std::array<std::array<std::uint8_t, PHASE_STOP_STEPS>, PHASE_STOP_PLAYERS>;

// Indexed [player][step], player 0 the learner, 1 the CPU opponent.
struct PhaseStopTable {
    PhaseStopGrid inUse{};
    PhaseStopGrid edited{};
};

PhaseStopTable& GetPhaseStops();

namespace PhaseStop {

// The stop in use for that player's turn and step; false outside the grid.
bool Get(int side, int step);

} // namespace PhaseStop
