#include "lessons/ActingHand.h"

#include "cards/CardActor.h"
#include "cards/CardPicking.h"
#include "cards/LifeToken.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/DialogManager.h"
#include "gui/Sprite.h"
#include "lessons/HandSprite.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CpuPayment.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <vector>

namespace {

enum ActingState {
    ACT_RESTING,
    ACT_COMING_DOWN,
    ACT_NEXT_CARD,
    ACT_REACHING,
    ACT_TOUCHING,
    ACT_LEAVING,
    ACT_GOING_UP,
    ACT_SETTLING,
    ACT_CARRYING,
};

constexpr int SOUND_CARD_DOWN = 21;
constexpr int SOUND_CARD_TURN = 27;
constexpr int FULL_VOLUME = 255;
constexpr int EVENT_CARD_PLAYED = 5;
constexpr int CPU_UNTAP_STEP = 1;
constexpr std::uint32_t FLAG_WAITING_FOR_HAND = ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED;

using Arrival = ActingHandArrival;

ActingHandWords& s_Acting = GetActingHandWords();

bool LifeTokensIdle()
{
    for (int player = PLAYER_HUMAN; player <= PLAYER_CPU; ++player) {
        const LifeToken* const token = GetLifeToken(player);
        if (token != nullptr && !token->IsIdle())
            return false;
    }
    return true;
}

bool HasArrived(const CardActor& card)
{
    return card.m_Position.x == card.m_TargetPoint.x && card.m_Position.y == card.m_TargetPoint.y;
}

// In the CPU's hand of backs a card is small; on the table it has its table size.
RasterRect CardRect(const CardActor& card)
{
    if (s_Acting.mode == ACTING_PLAY) {
        const int left = static_cast<int>(card.m_Position.x);
        const int top = static_cast<int>(card.m_Position.y);
        return RasterRect{left, top, left + CPU_HAND_CARD_WIDTH, top + CPU_HAND_CARD_HEIGHT};
    }
    RasterRect rect;
    GetGameDisplay()->GetCardRect(&card, rect, false);
    return rect;
}

int HandXOverCard(const CardActor& card)
{
    const RasterRect rect = CardRect(card);
    return s_Acting.mode == ACTING_PLAY ? HandXOverCpuHandCard(rect) : HandXOver(rect);
}

int CardHeight(const CardActor& card)
{
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(&card, width, height, false);
    return height;
}

bool FingertipInside(const RasterRect& rect)
{
    const Sprite& hand = GetHandSprite();
    const int x = hand.GetX() + FINGER_X;
    const int y = hand.GetY() + FINGER_Y;
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

CardActor* CurrentCard()
{
    return s_Acting.index < s_Acting.work.size() ? s_Acting.work[s_Acting.index] : nullptr;
}

bool IsWaitingForHand(const CardActor& card)
{
    return (card.m_Flags & FLAG_WAITING_FOR_HAND) == FLAG_WAITING_FOR_HAND;
}

// Where a played card waits in the CPU's hand: after the CPU cards before it that are still in the hand.
int HandSlot(const CardActor* played)
{
    int slot = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == played)
            break;
        if (card == nullptr || card->GetOwner() != PLAYER_CPU)
            continue;
        if ((!card->IsInLibrary() && card->IsHeld()) || IsWaitingForHand(*card))
            ++slot;
    }
    return slot;
}

// The card sits where the hand left it and glides the rest of the way by itself.
void SetDown(CardActor* card, std::uint32_t now)
{
    card->m_Flags &= ~(ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED | ACTOR_FLAG_HOLD_POSITION);
    card->m_EasingStopped = false;
    s_Acting.arrivals.push_back(Arrival{card, now});
}

bool TakePlayedCards()
{
    std::vector<CardActor*>& played = GetCpuPlayedCards();
    if (played.empty())
        return false;
    const RasterRect& hand = GetGameDisplay()->m_CpuHandRect;
    for (CardActor* const card : played) {
        s_Acting.work.push_back(card);
        const int slot = HandSlot(card);
        card->m_Position.x = static_cast<float>(hand.left + 5 + 9 * slot);
        card->m_Position.y = static_cast<float>(hand.top + 5);
        // It stays in the hand until the hand takes it.
        card->m_EasingStopped = true;
        QueueActorToFront(card);
    }
    played.clear();
    return true;
}

bool TakeTappedCards()
{
    const std::vector<CardActor*>& tapped = GetCpuTappedSources();
    if (tapped.empty())
        return false;
    s_Acting.work = tapped;
    ClearCpuTappedSources();
    return true;
}

bool TakeCardsToUntap()
{
    const Actor* const cpu = GetCpuPlayerActor();
    if (cpu == nullptr || cpu->GetState() != CPU_UNTAP_STEP)
        return false;
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == PLAYER_CPU && card->GetTapState() == TAP_TAPPED)
            s_Acting.work.push_back(card);
    }
    return !s_Acting.work.empty();
}

bool HasWork()
{
    return !GetCpuTappedSources().empty() || !GetCpuPlayedCards().empty() ||
           (GetCpuPlayerActor() != nullptr && GetCpuPlayerActor()->GetState() == CPU_UNTAP_STEP);
}

void Rest()
{
    if (!LifeTokensIdle() || !HasWork() || !TakeHandSprite(HandUser::Acting))
        return;
    s_Acting.work.clear();
    s_Acting.index = 0;
    if (TakeTappedCards()) {
        s_Acting.mode = ACTING_SHOW_TAP;
    } else if (TakePlayedCards()) {
        s_Acting.mode = ACTING_PLAY;
    } else if (TakeCardsToUntap()) {
        s_Acting.mode = ACTING_UNTAP;
    } else {
        ReleaseHandSprite(HandUser::Acting);
        return;
    }
    s_Acting.state = ACT_COMING_DOWN;
}

void ComeDown(std::uint32_t now)
{
    const CardActor* const card = CurrentCard();
    const int x = card != nullptr ? HandXOverCard(*card) : GetHandSprite().GetX();
    StartHand(x, x, HAND_START_Y, now);
    s_Acting.state = ACT_NEXT_CARD;
}

// A played card that went to its graveyard meanwhile is not carried any more.
bool IsStillToAct(const CardActor* card)
{
    return card != nullptr && (s_Acting.mode != ACTING_PLAY || !card->IsExitMoveForward());
}

void NextCard(std::uint32_t now)
{
    UpdateActingHandArrivals();
    while (s_Acting.index < s_Acting.work.size() && !IsStillToAct(CurrentCard())) {
        if (CardActor* const skipped = CurrentCard())
            skipped->m_Flags &= ~(FLAG_WAITING_FOR_HAND | ACTOR_FLAG_HOLD_POSITION);
        ++s_Acting.index;
    }
    CardActor* const card = CurrentCard();
    if (card == nullptr) {
        s_Acting.state = ACT_LEAVING;
        return;
    }
    const RasterRect rect = CardRect(*card);
    if (!FingertipInside(rect))
        AimHand(HandXOverCard(*card), HandYOver(rect), now);
    if (s_Acting.mode == ACTING_PLAY) {
        GetDemoCarry() = DemoCarry{card, static_cast<int>(card->m_Position.x), static_cast<int>(card->m_Position.y),
                                   CPU_HAND_CARD_WIDTH, CPU_HAND_CARD_HEIGHT};
    }
    s_Acting.state = ACT_REACHING;
}

void Reach(std::uint32_t now)
{
    UpdateActingHandArrivals();
    const CardActor* const card = CurrentCard();
    Sprite& hand = GetHandSprite();
    if (card != nullptr && !hand.IsAtTarget(2)) {
        const RasterRect rect = CardRect(*card);
        hand.SetTarget(HandXOverCard(*card), HandYOver(rect));
        return;
    }
    s_Acting.mark = now;
    s_Acting.touched = false;
    s_Acting.state = ACT_TOUCHING;
}

void Touch(std::uint32_t now)
{
    UpdateActingHandArrivals();
    ShowHandPress(s_Acting.mark, now);
    if (!s_Acting.touched) {
        s_Acting.touched = true;
        if (CardActor* const card = CurrentCard())
            ApplyActingHandTouch(card);
    }
    if (s_Acting.state == ACT_TOUCHING && now - s_Acting.mark >= HAND_PRESS_MS) {
        ++s_Acting.index;
        s_Acting.mark = now;
        s_Acting.state = ACT_NEXT_CARD;
    }
}

void Land(CardActor* card, std::uint32_t now)
{
    if (!card->IsNotLeaving()) {
        card->m_Flags &= ~(FLAG_WAITING_FOR_HAND | ACTOR_FLAG_HOLD_POSITION);
        card->m_EasingStopped = false;
        if (card->IsExitMoveBackward())
            PutCardIntoGraveyard(card);
        RemovePendingCard(card);
        return;
    }
    PlayEffect(SOUND_CARD_DOWN, FULL_VOLUME, 0, 0, 0, nullptr);
    SetDown(card, now);
    ShowFirstAppearanceTip(card);
    RequestCardPreview(card, PREVIEW_REQUEST_MS);
    PostDialogEvent(EVENT_CARD_PLAYED, card);
}

void Carry(std::uint32_t now)
{
    CardActor* const card = CurrentCard();
    if (card == nullptr) {
        s_Acting.state = ACT_NEXT_CARD;
        return;
    }
    const int height = CardHeight(*card);
    Sprite& hand = GetHandSprite();
    card->m_Position.x = static_cast<float>(hand.GetX() + CPU_HAND_CARD_X);
    card->m_Position.y = static_cast<float>(hand.GetY() + FINGER_Y - height / 2);
    hand.SetTarget(static_cast<int>(card->m_TargetPoint.x) - CPU_HAND_CARD_X,
                   static_cast<int>(card->m_TargetPoint.y) - FINGER_Y + height / 2);
    if (!hand.IsAtTarget(2) && now - s_Acting.carryStart < ACTING_CARRY_LIMIT_MS)
        return;
    Land(card, now);
    GetDemoCarry() = DemoCarry();
    GetTableFlow().demoHand = nullptr;
    ++s_Acting.index;
    s_Acting.state = ACT_NEXT_CARD;
}

void GoUp()
{
    UpdateActingHandArrivals();
    if (!IsHandOffScreen())
        return;
    RemoveHand(HandUser::Acting);
    s_Acting.state = ACT_SETTLING;
}

void Settle()
{
    if (UpdateActingHandArrivals())
        return;
    s_Acting.work.clear();
    s_Acting.index = 0;
    s_Acting.state = ACT_RESTING;
    s_Acting.mode = ACTING_UNTAP;
}

// A card the hand has not set down yet is let go where it belongs.
void LetGo(CardActor* card)
{
    card->m_Flags &= ~(FLAG_WAITING_FOR_HAND | ACTOR_FLAG_HOLD_POSITION | ACTOR_FLAG_KEEP_UPRIGHT);
    card->m_EasingStopped = false;
}

} // namespace

void ResetActingHand()
{
    RemoveHand(HandUser::Acting);
    // No card stays upright while tapped, or stuck in the CPU's hand, once the hand is gone.
    for (CardActor* const card : s_Acting.work)
        if (card != nullptr)
            LetGo(card);
    for (CardActor* const card : GetCpuTappedSources())
        LetGo(card);
    for (CardActor* const card : GetCpuPlayedCards())
        LetGo(card);
    ClearCpuTappedSources();
    GetCpuPlayedCards().clear();
    if (s_Acting.mode == ACTING_PLAY && GetDemoCarry().card != nullptr)
        GetDemoCarry() = DemoCarry();
    GetTableFlow().demoHand = nullptr;
    s_Acting.work.clear();
    s_Acting.arrivals.clear();
    s_Acting.index = 0;
    s_Acting.touched = false;
    s_Acting.state = ACT_RESTING;
    s_Acting.mode = ACTING_UNTAP;
}

void UpdateActingHand()
{
    const std::uint32_t now = plat::TimeGetTime();
    switch (s_Acting.state) {
    case ACT_RESTING:
        Rest();
        break;
    case ACT_COMING_DOWN:
        ComeDown(now);
        break;
    case ACT_NEXT_CARD:
        NextCard(now);
        break;
    case ACT_REACHING:
        Reach(now);
        break;
    case ACT_TOUCHING:
        Touch(now);
        break;
    case ACT_LEAVING:
        SendHandAway(now);
        s_Acting.state = ACT_GOING_UP;
        break;
    case ACT_GOING_UP:
        GoUp();
        break;
    case ACT_SETTLING:
        Settle();
        break;
    default:
        Carry(now);
        break;
    }
}

void ApplyActingHandTouch(CardActor* card)
{
    if (card == nullptr)
        return;
    const std::uint32_t now = plat::TimeGetTime();
    switch (s_Acting.mode) {
    case ACTING_UNTAP: {
        const Actor* const cpu = GetCpuPlayerActor();
        if (cpu != nullptr && cpu->GetState() == CPU_UNTAP_STEP) {
            PlayEffect(SOUND_CARD_TURN, FULL_VOLUME, 0, 0, 0, nullptr);
            card->m_Flags &= ~ACTOR_FLAG_KEEP_UPRIGHT;
            card->SetTapState(TAP_READY);
        }
        break;
    }
    case ACTING_PLAY: {
        card->m_Flags &= ~ACTOR_FLAG_AWAITING_HAND;
        TableFlowState& flow = GetTableFlow();
        flow.demoHand = card;
        flow.demoHandIndex = HandSlot(card);
        if (!card->IsNotLeaving()) {
            RasterRect pile;
            GetGameDisplay()->GetOpponentGraveyardRect(pile, false);
            card->m_TargetPoint.x = static_cast<float>(pile.left);
            card->m_TargetPoint.y = static_cast<float>(pile.top);
        }
        const int height = CardHeight(*card);
        AimHand(static_cast<int>(card->m_TargetPoint.x) - CPU_HAND_CARD_X,
                static_cast<int>(card->m_TargetPoint.y) - FINGER_Y + height / 2, now);
        s_Acting.carryStart = now;
        s_Acting.state = ACT_CARRYING;
        break;
    }
    default:
        PlayEffect(SOUND_CARD_TURN, FULL_VOLUME, 0, 0, 0, nullptr);
        card->m_Flags &= ~ACTOR_FLAG_KEEP_UPRIGHT;
        break;
    }
}

bool UpdateActingHandArrivals()
{
    const std::uint32_t now = plat::TimeGetTime();
    std::erase_if(s_Acting.arrivals, [now](const Arrival& arrival) {
        return HasArrived(*arrival.card) || now - arrival.since >= ACTING_CARRY_LIMIT_MS;
    });
    return !s_Acting.arrivals.empty();
}

bool IsActingHandIdle()
{
    return s_Acting.state == ACT_RESTING && s_Acting.work.empty() && GetCpuTappedSources().empty() &&
           GetCpuPlayedCards().empty();
}

void ResetPendingObjects()
{
    GetCpuPlayedCards().clear();
    s_Acting.work.clear();
    s_Acting.arrivals.clear();
    s_Acting.index = 0;
}

int GetActingHandState()
{
    return s_Acting.state;
}

int GetActingHandMode()
{
    return s_Acting.mode;
}
