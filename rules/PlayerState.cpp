#include "rules/PlayerState.h"

namespace {

int s_Life[2] = {STARTING_LIFE, STARTING_LIFE};
int s_PreviousLife[2] = {STARTING_LIFE, STARTING_LIFE};
PlayerState s_Players[2];

bool ValidPlayer(int player)
{
    return player == PLAYER_HUMAN || player == PLAYER_CPU;
}

} // namespace

void PlayerState::SetLife(int player, int value, int /*reset*/)
{
    if (!ValidPlayer(player))
        return;
    s_PreviousLife[player] = s_Life[player];
    s_Life[player] = value;
}

int PlayerState::GetLife(int player)
{
    return ValidPlayer(player) ? s_Life[player] : 0;
}

PlayerState* GetPlayerState(int player)
{
    return ValidPlayer(player) ? &s_Players[player] : nullptr;
}
