// Placeholder until the physical lesson exists: a drop only ends the table's drag, so the next card can be picked
// up and the hover timer runs again.
#include "lessons/PhysicalLesson.h"

#include "cards/CardActor.h"
#include "cards/TableInput.h"
#include "gamestate/TableFlowState.h"

void HandleCardDropPhysical(CardActor* card)
{
    if (card != nullptr && GetDraggedCard() == card)
        SetDraggedCard(nullptr);
    // The card back lifted off the pile with no draw pending is only a prop: let go, it leaves the table.
    TableFlowState& flow = GetTableFlow();
    if (card != nullptr && card->GetId() == 0 && flow.cardDrawnByHand == card) {
        flow.cardDrawnByHand = nullptr;
        flow.pendingRemovals.push_back(card);
    }
}
