// Placeholder until the game globals exist: the dragged card and the pending sets let go of a removed card.
#include "rules/GameGlobals.h"

#include "cards/CardActor.h"
#include "cards/TableInput.h"
#include "rules/PendingCards.h"

void OnCardActorRemoved(Actor* actor)
{
    const CardActor* const card = AsCardActor(actor);
    if (card == nullptr)
        return;
    if (GetDraggedCard() == card)
        SetDraggedCard(nullptr);
    RemovePendingCard(card);
}

void ResetGameState()
{
    SetDraggedCard(nullptr);
    ClearPendingCards();
}
