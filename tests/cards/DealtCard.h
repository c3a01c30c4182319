// A card as a lesson deals it, made through the program's own functions: in the hand, or on the table and ready.
// Shared by the table tests and benchmarks that set up a table without playing to it.
#pragma once

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "gamestate/HandAnimationLists.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

namespace test {

inline CardActor* DealCard(int id, int owner, bool held)
{
    CardActor* const card = CreateCardActor(id, owner);
    if (card == nullptr)
        return nullptr;
    card->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    card->SetOwner(owner);
    card->SetOwnerRecord(GetPlayerState(owner));
    card->SetHeld(held);
    card->SetInLibrary(false);
    // Dealt, not played: the CPU's acting hand has nothing to carry.
    std::erase(GetCpuPlayedCards(), card);
    card->m_Flags &= ~(ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED | ACTOR_FLAG_HOLD_POSITION);
    card->m_DeckCardMarker = 0;
    card->m_DealMark = 0;
    card->SetTapState(held ? TAP_OFF_TABLE : TAP_READY);
    card->SetPlayedMark(held ? 0 : 1);
    return card;
}

} // namespace test
