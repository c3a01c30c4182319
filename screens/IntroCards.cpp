#include "screens/IntroCards.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "cards/Card.h"
#include "lessons/DrawingHand.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float GLIDE_STEP = 24.0f;

bool IsHumanHandCard(const CardActor& card)
{
    return card.GetOwner() == PLAYER_HUMAN && card.IsHeld() && !card.IsInLibrary() && card.IsNotLeaving();
}

bool IsCpuHandCard(const CardActor& card)
{
    return card.GetOwner() == PLAYER_CPU && card.IsHeld() && card.IsNotLeaving();
}

std::vector<CardActor*> HumanHand()
{
    std::vector<CardActor*> hand;
    for (CardActor* const card : GetCardActors())
        if (IsHumanHandCard(*card))
            hand.push_back(card);
    return hand;
}

} // namespace

bool IsInsideRect(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool RectsOverlap(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool GlideCard(CardActor* card, int x, int y, bool snap)
{
    // The card's own behaviour eases it toward its target point as well.
    card->m_TargetPoint.x = static_cast<float>(x);
    card->m_TargetPoint.y = static_cast<float>(y);
    const float dx = static_cast<float>(x) - card->m_Position.x;
    const float dy = static_cast<float>(y) - card->m_Position.y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (snap || distance <= GLIDE_STEP) {
        card->m_Position.x = static_cast<float>(x);
        card->m_Position.y = static_cast<float>(y);
        return true;
    }
    card->m_Position.x += dx * GLIDE_STEP / distance;
    card->m_Position.y += dy * GLIDE_STEP / distance;
    return false;
}

int RemoveCpuHand()
{
    int removed = 0;
    for (CardActor* const card : GetCardActors()) {
        if (!IsCpuHandCard(*card))
            continue;
        RemoveActor(card);
        ++removed;
    }
    return removed;
}

int CountCpuHand()
{
    const std::vector<CardActor*> cards = GetCardActors();
    return static_cast<int>(std::count_if(cards.begin(), cards.end(), [](const CardActor* c) { return IsCpuHandCard(*c); }));
}

void StartCpuHandDeal(int cards)
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    const int count = std::clamp(cards, 0, std::min(cpu.m_LibraryCount, LIBRARY_CAPACITY));
    for (int i = 0; i < count; ++i) {
        if (CardActor* const card = CreateCardActor(cpu.m_Library[static_cast<std::size_t>(i)], PLAYER_CPU)) {
            card->SetHeld(true);
            card->SetInLibrary(false);
            card->SetOwner(PLAYER_CPU);
        }
    }
    cpu.m_NextDrawIndex = count;
}

bool IsCpuHandDealt()
{
    return true;
}

CardActor* FindHumanHandCardAt(int x, int y)
{
    const GameDisplay& display = *GetGameDisplay();
    for (CardActor* const card : HumanHand()) {
        RasterRect rect;
        display.GetCardRect(card, rect, true);
        if (IsInsideRect(rect, x, y))
            return card;
    }
    return nullptr;
}

void FollowDraggedCard(CardActor* dragged, int x, int y, int spacing)
{
    if (dragged == nullptr || !IsActorRegistered(dragged))
        return;
    const GameDisplay& display = *GetGameDisplay();
    int width = 0;
    int height = 0;
    display.GetCardDrawSize(dragged, width, height, true);
    int offset = 0;
    GlideCard(dragged, x - width / 2, y - height / 2, true);
    for (CardActor* const card : HumanHand()) {
        if (card == dragged)
            continue;
        offset += spacing;
        GlideCard(card, x - width / 2 + offset, y - height / 2 + offset, true);
    }
}

void SendHumanHandToPile(const RasterRect& pile, bool snap)
{
    for (CardActor* const card : HumanHand())
        GlideCard(card, pile.left, pile.top, snap);
}

int RemoveHumanHandAtPile(const RasterRect& pile, bool snap)
{
    int left = 0;
    for (CardActor* const card : HumanHand()) {
        if (GlideCard(card, pile.left, pile.top, snap))
            RemoveActor(card);
        else
            ++left;
    }
    return left;
}

void TakeDeckCardsIntoHand()
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != PLAYER_HUMAN || card->m_DeckCardMarker == 0)
            continue;
        card->SetInLibrary(false);
        card->SetHeld(true);
        card->m_DeckCardMarker = 0;
    }
}

bool IsCpuOpeningHandDealt()
{
    return GetDrawHandState() == 5 && GetCardBacksDealt() > 0 && GetCardBacksInFlight() == 0;
}

int GetSecondDeckColour()
{
    const int first = GetDeckColour(PLAYER_HUMAN);
    for (const int id : GetDeckList(PLAYER_HUMAN)) {
        if (id <= 0 || id >= CD_NUMBER_OF_CARD_DEFS || g_CardDefs[id].GetCardType() != 0)
            continue;
        const int kind = g_CardDefs[id].GetBasicLandKind();
        if (kind >= 0 && kind <= 4 && kind != first)
            return kind;
    }
    return first;
}
