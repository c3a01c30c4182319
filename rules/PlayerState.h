// The two player records, human first. Until the rules exist only the life totals are kept.
#pragma once

constexpr int PLAYER_HUMAN = 0;
constexpr int PLAYER_CPU = 1;
constexpr int STARTING_LIFE = 20;

namespace PlayerState {

// The previous total is kept; reset is passed on for the rules (the console passes 0).
void SetLife(int player, int value, int reset);
int GetLife(int player);

} // namespace PlayerState
