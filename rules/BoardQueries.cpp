// Placeholder until the board queries exist: the graveyard move keeps the card's state and the graveyard list
// consistent; the pile point comes with the table layout.
#include "rules/BoardQueries.h"

#include "cards/CardActor.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

void PutCardIntoGraveyard(CardActor* card)
{
    if (card == nullptr)
        return;
    card->SetExitMove(1);
    card->SetTapState(TAP_READY);
    card->SetHost(nullptr);
    if (PlayerState* const record = GetPlayerState(card->GetOwner());
        record != nullptr && record->m_GraveyardCount < GRAVEYARD_CAPACITY) {
        record->m_Graveyard[record->m_GraveyardCount++] = card;
    }
    RemovePendingCard(card);
}
