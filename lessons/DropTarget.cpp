#include "lessons/DropTarget.h"

#include "cards/CardActor.h"
#include "engine/scene/GameDisplay.h"

CardActor* GetDropTargetCard(const CardActor* dragged)
{
    const GameDisplay* const display = GetGameDisplay();
    if (dragged == nullptr || display == nullptr)
        return nullptr;
    RasterRect own;
    display->GetCardRect(dragged, own, false);
    const int x = (own.left + own.right) / 2;
    const int y = (own.top + own.bottom) / 2;
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == nullptr || card == dragged || card->IsHeld() || card->IsInLibrary() || !card->IsNotLeaving())
            continue;
        RasterRect rect;
        display->GetCardRect(card, rect, false);
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
            return card;
    }
    return nullptr;
}
