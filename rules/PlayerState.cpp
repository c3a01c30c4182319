#include "rules/PlayerState.h"

#include "rules/ManaPool.h"

#include <algorithm>

namespace {

PlayerState s_Players[2];

} // namespace

void PlayerState::ResetCounters()
{
    *this = PlayerState();
}

void PlayerState::SetLife(int value, bool reset)
{
    if (reset) {
        m_PreviousLife = STARTING_LIFE;
        m_Life = STARTING_LIFE;
        m_LossState = LOSS_NONE;
        return;
    }
    m_PreviousLife = m_Life;
    m_Life = value;
    if (value < 1 && m_LossState == LOSS_NONE)
        m_LossState = LOSS_LIFE;
}

int PlayerState::TakeDamage(int amount, bool usePrevention)
{
    amount = std::max(amount, 0);
    int dealt = amount;
    if (usePrevention) {
        dealt = std::max(0, amount - m_PreventDamage);
        m_PreventDamage = std::max(0, m_PreventDamage - amount);
    }
    ChangeLife(-dealt);
    return dealt;
}

void PlayerState::SetDrewFromEmptyLibrary(bool flag)
{
    m_DrewFromEmptyLibrary = flag;
    if (flag && m_LossState == LOSS_NONE)
        m_LossState = LOSS_EMPTY_LIBRARY;
}

void PlayerState::SetLife(int player, int value, int reset)
{
    if (PlayerState* const record = GetPlayerState(player))
        record->SetLife(value, reset != 0);
}

int PlayerState::GetLife(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? record->m_Life : 0;
}

int PlayerState::HasManaInPool(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? record->m_ManaPool.Total() : 0;
}

void PlayerState::ClearManaPool(int player)
{
    ClearPlayerManaPool(player);
}

PlayerState* GetPlayerState(int player)
{
    return player == PLAYER_HUMAN || player == PLAYER_CPU ? &s_Players[player] : nullptr;
}

void ResetPlayerStates()
{
    for (PlayerState& record : s_Players)
        record = PlayerState();
}
