// Placeholder until the physical lesson exists: a drop only ends the table's drag, so the next card can be picked
// up and the hover timer runs again.
#include "lessons/PhysicalLesson.h"

#include "cards/TableInput.h"

void HandleCardDropPhysical(CardActor* card)
{
    if (card != nullptr && GetDraggedCard() == card)
        SetDraggedCard(nullptr);
}
