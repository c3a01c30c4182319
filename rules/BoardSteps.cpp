#include "rules/BoardSteps.h"

#include "cards/CardActor.h"
#include "lessons/TableFlow.h"
#include "rules/PlayerState.h"

#include <algorithm>

void UpdateBoardCensus()
{
}

int CardsLeftInLibrary(bool /*countDragged*/)
{
    const PlayerState& human = *GetPlayerState(0);
    return std::max(0, human.m_LibraryCount - human.m_NextDrawIndex);
}

bool IsCardBusy(const CardActor* card)
{
    if (card == nullptr)
        return false;
    const TableFlowState& flow = GetTableFlow();
    const bool special = std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end() ||
                         flow.cardDrawnByHand == card;
    return special || card->IsInLibrary() || card->IsHeld();
}

bool IsCardInDelayedSet(const CardActor* /*card*/)
{
    return false;
}
