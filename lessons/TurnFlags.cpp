// Placeholder until the turn drivers exist.
#include "lessons/TurnFlags.h"

namespace {

bool s_HumansTurn = true;
std::uint32_t s_CpuLastDraw = 0;

} // namespace

bool IsHumansTurn()
{
    return s_HumansTurn;
}

void SetHumansTurn(bool humans)
{
    s_HumansTurn = humans;
}

void SetCpuLastDrawTime(std::uint32_t time)
{
    s_CpuLastDraw = time;
}

std::uint32_t GetCpuLastDrawTime()
{
    return s_CpuLastDraw;
}

namespace {

bool s_CombatFlag = false;
bool s_EndFlags[2] = {};

} // namespace

bool IsCombatFlagSet()
{
    return s_CombatFlag;
}

void SetCombatFlag(bool set)
{
    s_CombatFlag = set;
}

bool IsEndFlagSet(int player)
{
    return s_EndFlags[player == 0 ? 0 : 1];
}

void SetEndFlag(int player, bool set)
{
    s_EndFlags[player == 0 ? 0 : 1] = set;
}
