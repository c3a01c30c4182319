// What the turn drivers share with the table and the rules: whose turn it is, the CPU's last draw, the combat
// and end-of-turn flags.
#pragma once

#include <cstdint>

// Whose turn it is: while a game runs exactly one is set. Only HandTurnTo and ClearTurn write them.
extern bool s_HumanTurn;
extern bool s_CpuTurn;
// Gives the turn to that side (0 the human, 1 the CPU).
void HandTurnTo(int side);
// Nobody has the turn while a game is set up, until the coin toss or the intro settles who begins.
void ClearTurn();

void SetCpuLastDrawTime(std::uint32_t time);
std::uint32_t GetCpuLastDrawTime();
// The combat flag: a combat is being fought out on the table.
bool IsCombatFlagSet();
void SetCombatFlag(bool set);
// A player's end-of-turn flag (state 18 waits on it).
bool IsEndFlagSet(int player);
void SetEndFlag(int player, bool set);
