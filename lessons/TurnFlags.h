// What the turn drivers share with the rules: whose turn it is and the CPU's last draw. Until the drivers exist
// the rules-level game sets them.
#pragma once

#include <cstdint>

bool IsHumansTurn();
void SetHumansTurn(bool humans);
void SetCpuLastDrawTime(std::uint32_t time);
std::uint32_t GetCpuLastDrawTime();
// The combat flag: a combat is being fought out on the table.
bool IsCombatFlagSet();
void SetCombatFlag(bool set);
// A player's end-of-turn flag (state 18 waits on it).
bool IsEndFlagSet(int player);
void SetEndFlag(int player, bool set);
