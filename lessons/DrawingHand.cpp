#include "lessons/DrawingHand.h"

#include "rules/PlayerState.h"

namespace {

int s_HandState = 5;
bool s_Stopped = false;

} // namespace

void UpdateDrawHand()
{
}

bool IsDrawHandAtRest()
{
    return s_HandState == 5 && (s_Stopped || GetPlayerState(PLAYER_CPU)->m_CardsToDraw < 1);
}

void SetDrawHandStopped(bool stopped)
{
    s_Stopped = stopped;
}

bool IsDrawHandStopped()
{
    return s_Stopped;
}
