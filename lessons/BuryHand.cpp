#include "lessons/BuryHand.h"

#include "cards/CardActor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/HandAnimationLists.h"
#include "gui/Sprite.h"
#include "lessons/HandSprite.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <vector>

namespace {

enum BuryState {
    BURY_RESTING,
    BURY_NEXT_CARD,
    BURY_REACHING,
    BURY_GRABBING,
    BURY_CARRYING,
    BURY_LEAVING,
    BURY_GOING_UP,
    BURY_SETTLING,
};

using Flight = BuryHandFlight;

BuryHandWords& s_Bury = GetBuryHandWords();

// The card behaviour's own arrival: its easing snaps it exactly onto the place it aims at.
bool HasArrived(const CardActor& card)
{
    return card.m_Position.x == card.m_TargetPoint.x && card.m_Position.y == card.m_TargetPoint.y;
}

RasterRect CardRect(const CardActor& card)
{
    RasterRect rect;
    GetGameDisplay()->GetCardRect(&card, rect, false);
    return rect;
}

// A card still to bury: on the table on its way out, not already in a graveyard, and not one the acting hand is
// about to take out of the CPU's hand.
bool IsStillToBury(const CardActor* card)
{
    constexpr std::uint32_t awaitingHand = ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED;
    return card != nullptr && card->IsExitMoveBackward() && (card->m_Flags & awaitingHand) != awaitingHand;
}

CardActor* CurrentCard()
{
    return s_Bury.index < s_Bury.work.size() ? s_Bury.work[s_Bury.index] : nullptr;
}

void SkipBuriedCards()
{
    while (s_Bury.index < s_Bury.work.size() && !IsStillToBury(s_Bury.work[s_Bury.index]))
        ++s_Bury.index;
}

void Rest(std::uint32_t now)
{
    const HandUser user = GetHandSpriteUser();
    if (CountPendingCards(PLAYER_CPU) == 0 || (user != HandUser::None && user != HandUser::Bury))
        return;
    // A card still waiting in the CPU's hand stays pending: the acting hand takes it to the graveyard itself.
    s_Bury.work.clear();
    for (CardActor* const card : TakePendingCards(PLAYER_CPU)) {
        if (IsStillToBury(card))
            s_Bury.work.push_back(card);
        else
            AddPendingCard(card);
    }
    if (s_Bury.work.empty() || !TakeHandSprite(HandUser::Bury))
        return;
    GetBuriedCards() = s_Bury.work;
    s_Bury.index = 0;
    const RasterRect rect = CardRect(*s_Bury.work.front());
    const int x = HandXOver(rect);
    StartHand(x, x, HAND_START_Y, now);
    s_Bury.state = BURY_NEXT_CARD;
}

void NextCard(std::uint32_t now)
{
    UpdateCardsFlyingToGraveyard();
    SkipBuriedCards();
    const CardActor* const card = CurrentCard();
    if (card == nullptr) {
        s_Bury.state = BURY_LEAVING;
        return;
    }
    const RasterRect rect = CardRect(*card);
    AimHand(HandXOver(rect), HandYOver(rect), now);
    s_Bury.state = BURY_REACHING;
}

void Reach(std::uint32_t now)
{
    UpdateCardsFlyingToGraveyard();
    const CardActor* const card = CurrentCard();
    if (!IsStillToBury(card)) {
        s_Bury.state = BURY_NEXT_CARD;
        return;
    }
    Sprite& hand = GetHandSprite();
    if (!hand.IsAtTarget(2)) {
        // The card may still be gliding to its place: follow it.
        const RasterRect rect = CardRect(*card);
        hand.SetTarget(HandXOver(rect), HandYOver(rect));
        return;
    }
    s_Bury.mark = now;
    s_Bury.grabbed = false;
    s_Bury.state = BURY_GRABBING;
}

void Grab(std::uint32_t now)
{
    UpdateCardsFlyingToGraveyard();
    ShowHandPress(s_Bury.mark, now);
    if (s_Bury.grabbed)
        return;
    CardActor* const card = CurrentCard();
    if (!IsStillToBury(card)) {
        s_Bury.state = BURY_NEXT_CARD;
        return;
    }
    RasterRect pile;
    GetGameDisplay()->GetOpponentGraveyardRect(pile, false);
    card->m_TargetPoint.x = static_cast<float>(pile.left);
    card->m_TargetPoint.y = static_cast<float>(pile.top);
    s_Bury.inFlight.push_back(Flight{card, now});
    s_Bury.grabbed = true;
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(card, width, height, false);
    GetDemoCarry() = DemoCarry{card, static_cast<int>(card->m_Position.x), static_cast<int>(card->m_Position.y),
                               width, height};
    s_Bury.state = BURY_CARRYING;
}

void Carry(std::uint32_t now)
{
    const CardActor* const card = s_Bury.inFlight.empty() ? nullptr : s_Bury.inFlight.front().card;
    if (card != nullptr) {
        const RasterRect rect = CardRect(*card);
        Sprite& hand = GetHandSprite();
        hand.SetPosition(HandXOver(rect), HandYOver(rect));
        hand.SetTarget(HandXOver(rect), HandYOver(rect));
    }
    const bool overdue = card != nullptr && now - s_Bury.inFlight.front().grabbed >= BURY_FLIGHT_LIMIT_MS;
    if (card != nullptr && !HasArrived(*card) && !overdue)
        return;
    GetDemoCarry() = DemoCarry();
    ++s_Bury.index;
    s_Bury.mark = now;
    s_Bury.state = BURY_NEXT_CARD;
}

void Leave(std::uint32_t now)
{
    SendHandAway(now);
    s_Bury.state = BURY_GOING_UP;
}

void GoUp()
{
    UpdateCardsFlyingToGraveyard();
    if (!IsHandOffScreen())
        return;
    RemoveHand(HandUser::Bury);
    s_Bury.state = BURY_SETTLING;
}

void Settle()
{
    if (UpdateCardsFlyingToGraveyard())
        return;
    s_Bury.work.clear();
    GetBuriedCards().clear();
    s_Bury.state = BURY_RESTING;
}

} // namespace

void ResetBuryHand()
{
    RemoveHand(HandUser::Bury);
    if (GetDemoCarry().card != nullptr && s_Bury.state == BURY_CARRYING)
        GetDemoCarry() = DemoCarry();
    s_Bury.state = BURY_RESTING;
    s_Bury.index = 0;
    s_Bury.grabbed = false;
}

void UpdateBuryHand()
{
    const std::uint32_t now = plat::TimeGetTime();
    switch (s_Bury.state) {
    case BURY_RESTING:
        Rest(now);
        break;
    case BURY_NEXT_CARD:
        NextCard(now);
        break;
    case BURY_REACHING:
        Reach(now);
        break;
    case BURY_GRABBING:
        Grab(now);
        break;
    case BURY_CARRYING:
        Carry(now);
        break;
    case BURY_LEAVING:
        Leave(now);
        break;
    case BURY_GOING_UP:
        GoUp();
        break;
    default:
        Settle();
        break;
    }
}

bool UpdateCardsFlyingToGraveyard()
{
    const std::uint32_t now = plat::TimeGetTime();
    std::erase_if(s_Bury.inFlight, [now](const Flight& flight) {
        CardActor* const card = flight.card;
        if (!HasArrived(*card) && now - flight.grabbed < BURY_FLIGHT_LIMIT_MS)
            return false;
        if (card->IsExitMoveBackward())
            PutCardIntoGraveyard(card);
        std::erase(GetBuriedCards(), card);
        return true;
    });
    return !s_Bury.inFlight.empty();
}

bool CpuListEmpty()
{
    return s_Bury.state == BURY_RESTING && !s_Bury.held && CountPendingCards(PLAYER_CPU) == 0;
}

void SetCpuListEmpty(bool empty)
{
    s_Bury.held = !empty;
}

void ClearHandAnimationLists()
{
    s_Bury.work.clear();
    s_Bury.inFlight.clear();
    GetBuriedCards().clear();
    GetDemoCarry() = DemoCarry();
}

int GetBuryHandState()
{
    return s_Bury.state;
}

int CountCardsFlyingToGraveyard()
{
    return static_cast<int>(s_Bury.inFlight.size());
}
