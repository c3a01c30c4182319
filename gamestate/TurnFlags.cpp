#include "gamestate/TurnFlags.h"

bool s_HumanTurn = false;
bool s_CpuTurn = false;

void HandTurnTo(int side)
{
    s_HumanTurn = side == 0;
    s_CpuTurn = side != 0;
}

void ClearTurn()
{
    s_HumanTurn = false;
    s_CpuTurn = false;
}

namespace {

std::uint32_t s_CpuLastDraw = 0;

} // namespace

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
