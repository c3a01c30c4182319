#include "cards/TableInput.h"

#include "cards/CardActor.h"
#include "cards/CardPicking.h"

#include <algorithm>

namespace {

CardActor* s_pDraggedCard = nullptr;
TableInputState s_TableInput;

} // namespace

CardActor* GetDraggedCard()
{
    return s_pDraggedCard;
}

void SetDraggedCard(CardActor* card)
{
    s_pDraggedCard = card;
}

TableInputState& GetTableInput()
{
    return s_TableInput;
}

void ResetTableInput()
{
    s_TableInput = TableInputState();
}

void ForgetTableCard(const CardActor* card)
{
    if (card == nullptr)
        return;
    TableInputState& input = s_TableInput;
    for (CardActor** slot : {&input.hoveredCard, &input.pointedCard, &input.lastPointedCard, &input.timedCard,
                             &input.focusedCard, &input.requestedCard, &input.insertingCard, &input.raisedCard}) {
        if (*slot == card)
            *slot = nullptr;
    }
    std::erase(input.handList, card);
    GetPreviewCopy().ForgetLink(card);
}
