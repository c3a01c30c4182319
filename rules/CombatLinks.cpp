#include "rules/CombatLinks.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/TurnFlags.h"

namespace {

constexpr int LINK_HALF_WIDTH = 12;
constexpr float LINK_DEPTH = 6.0f;
constexpr int COMBAT_STATES[] = {7, 9, 10, 11, 12, 13, 14};

// On the table: not held, and staying or only going back the way it came.
bool IsShown(const CardActor* card)
{
    return card != nullptr && !card->IsHeld() && (card->IsNotLeaving() || card->IsExitMoveBackward());
}

bool IsCreatureInPlay(const CardActor* card)
{
    return IsShown(card) && !card->IsOnStack() && card->GetCardType() == CT_CREATURE;
}

bool IsMouseOver(const CardActor* card)
{
    return IsMouseOverCardOnline(card, MouseState.x, MouseState.y);
}

bool IsInCombatState(const Actor* player)
{
    if (player == nullptr)
        return false;
    for (const int state : COMBAT_STATES) {
        if (player->GetState() == state)
            return true;
    }
    return false;
}

} // namespace

void DrawBlockLinks()
{
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (IsCreatureInPlay(card) && card->GetBlockedAttacker() != nullptr)
            ShouldDrawBlockLink(card);
    }
}

bool ShouldDrawBlockLink(const CardActor* card)
{
    if (!IsCreatureInPlay(card) || card->GetBlockedAttacker() == nullptr || IsMouseOver(card))
        return false;
    const CardActor* const attacker = card->GetBlockedAttacker();
    if (!IsShown(attacker))
        return false;
    GetGameDisplay()->DrawLinkBetweenCards(card, attacker, 0.8f, 0.8f, 0.0f, true, true, LINK_HALF_WIDTH,
                                           LINK_DEPTH);
    return true;
}

bool DrawAttackerBlockLinks(CardActor* attacker)
{
    if (!IsCreatureInPlay(attacker) || !attacker->IsAttacking() || attacker->CountBlockers() == 0 ||
        IsMouseOver(attacker))
        return false;
    bool drawn = false;
    for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
        const CardActor* const blocker = attacker->GetBlocker(slot);
        if (!IsShown(blocker))
            continue;
        GetGameDisplay()->DrawLinkBetweenCards(attacker, blocker, 1.0f, 1.0f, 0.0f, true, true, LINK_HALF_WIDTH,
                                               LINK_DEPTH);
        drawn = true;
    }
    return drawn;
}

bool IsMouseOverCardOnline(const CardActor* card, int x, int y)
{
    if (!IsOnlineLesson() || card == nullptr)
        return false;
    const GameDisplay& display = *GetGameDisplay();
    int width = 0;
    int height = 0;
    display.GetCardDrawSize(card, width, height, false);
    // A record lying at the card's own position does not end the walk: a card resting in its placed slot is
    // where the mouse finds it.
    for (const PlacedCardRecord& record : display.m_PlacedCards) {
        if (record.card != card)
            continue;
        const int left = static_cast<int>(record.x);
        const int top = static_cast<int>(record.y);
        if (x >= left && x <= left + width && y >= top && y <= top + height)
            return true;
    }
    return false;
}

bool IsPlayerInCombatStep(int player)
{
    if (player == 0 && s_HumanTurn) {
        if (const Actor* const human = FindActorByName(u"player"))
            return IsInCombatState(human);
    }
    if (s_HumanTurn)
        return false;
    return IsInCombatState(FindActorByName(u"cpuplayer"));
}
