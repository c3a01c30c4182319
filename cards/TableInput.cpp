#include "cards/TableInput.h"

namespace {

CardActor* s_pDraggedCard = nullptr;

} // namespace

CardActor* GetDraggedCard()
{
    return s_pDraggedCard;
}

void SetDraggedCard(CardActor* card)
{
    s_pDraggedCard = card;
}
