#include "lessons/AttackerUnderBlocker.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "lessons/HandSprite.h"
#include "rules/PlayerState.h"

#include <set>

namespace {

bool IsAttackerToBlock(const CardActor* card, bool anyCreature)
{
    return card != nullptr && IsActorRegistered(card) && card->GetOwner() == PLAYER_CPU &&
           card->GetCardType() == CT_CREATURE && (card->IsAttacking() || anyCreature) &&
           card->GetBlockedAttacker() == nullptr;
}

} // namespace

CardActor* FindAttackerUnder(const CardActor* blocker, bool anyCreature)
{
    if (blocker == nullptr || GetGameDisplay() == nullptr)
        return nullptr;
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(blocker, width, height, false);
    std::set<GUI_Window*> collected;
    for (const float t : {0.0f, 0.5f}) {
        for (const int i : {0, 1}) {
            const int x = static_cast<int>(blocker->m_Position.x) + i * width;
            const int y = static_cast<int>(blocker->m_Position.y + t * static_cast<float>(height));
            if (x <= 0 || y <= 0 || x >= HandScreenWidth() || y >= HandScreenHeight())
                continue;
            GUI_Window* window = GetGUIManager()->GetWindowAt(x, y, &collected);
            if (window != nullptr && window->GetKind() == GUI_KIND_CARD && GetCardWindowActor(window) == blocker) {
                // The blocker's own window lies on top: look under it.
                collected.insert(window);
                window = GetGUIManager()->GetWindowAt(x, y, &collected);
            }
            if (window == nullptr || window->GetKind() != GUI_KIND_CARD)
                continue;
            CardActor* const card = GetCardWindowActor(window);
            if (IsAttackerToBlock(card, anyCreature))
                return card;
        }
    }
    return nullptr;
}

CardActor* FindAttackerUnderBlocker(bool anyCreature)
{
    return FindAttackerUnder(GetDraggedCard(), anyCreature);
}
