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
