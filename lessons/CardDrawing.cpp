#include "lessons/CardDrawing.h"

#include "cards/CardActor.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "lessons/LessonBox.h"
#include "lessons/TableFlow.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

constexpr float GLOW_DEPTH_OFFSET = 10.0f;
constexpr std::uint32_t GLOW_FLAGS = 0x80000000u;

bool IsStillFlying(const CardActor& card)
{
    return !card.IsInLibrary() &&
           (card.m_Position.x != card.m_TargetPoint.x || card.m_Position.y != card.m_TargetPoint.y);
}

void StartDraw(PlayerState& human)
{
    --human.m_CardsToDraw;
    const int id = human.m_Library[static_cast<std::size_t>(human.m_NextDrawIndex)];
    ++human.m_NextDrawIndex;
    CardActor* const card = CreateCardActor(id, PLAYER_HUMAN);
    GetTableFlow().pendingDrawCard = card;
    if (card == nullptr)
        return;
    card->SetOwner(PLAYER_HUMAN);
    card->SetHeld(true);
    card->SetInLibrary(false);
    if (const GameDisplay* const display = GetGameDisplay()) {
        RasterRect pile;
        display->GetPlayerLibraryRect(pile, true);
        card->m_Position.x = static_cast<float>(pile.left);
        card->m_Position.y = static_cast<float>(pile.top);
    }
}

} // namespace

int DrawPendingCards()
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    CardActor*& drawing = GetTableFlow().pendingDrawCard;
    if (drawing != nullptr) {
        if (IsStillFlying(*drawing))
            return human.m_CardsToDraw;
        drawing = nullptr;
    }
    if (human.m_CardsToDraw > 0) {
        const int count = std::min(human.m_LibraryCount, LIBRARY_CAPACITY);
        if (human.m_NextDrawIndex >= 0 && human.m_NextDrawIndex < count) {
            StartDraw(human);
        } else {
            CloseLessonBox();
            human.SetDrewFromEmptyLibrary(true);
            human.m_CardsToDraw = 0;
        }
    }
    return human.m_CardsToDraw;
}

void PlaceDealtCardsInHand(bool* placed)
{
    const GameDisplay* const display = GetGameDisplay();
    int slot = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == nullptr || card->m_DealMark == 0)
            continue;
        card->EndDrag();
        card->SetInLibrary(false);
        card->m_DealMark = 0;
        card->m_DeckCardMarker = 0;
        if (display != nullptr) {
            card->m_TargetPoint.x = static_cast<float>(display->m_HandSlots[static_cast<std::size_t>(slot)].x);
            card->m_TargetPoint.y = static_cast<float>(display->m_HandSlots[0].y);
        }
        if (placed != nullptr)
            *placed = true;
        if (slot < HAND_SLOT_COUNT - 1)
            ++slot;
    }
}

void DrawCardGlow(const CardActor* card)
{
    const GameDisplay* const display = GetGameDisplay();
    Raster* const raster = GetRaster();
    if (card == nullptr || display == nullptr || raster == nullptr)
        return;
    RasterRect rect;
    display->GetCardRect(card, rect, false);
    const int texture = GetTextureByName(card->GetTapState() == TAP_TAPPED ? u"cardglow_t" : u"cardglow");
    if (texture <= 0)
        return;
    raster->DrawTextureEx(texture, static_cast<float>(rect.left), static_cast<float>(rect.top),
                          static_cast<float>(rect.right), static_cast<float>(rect.bottom),
                          card->m_Position.z - GLOW_DEPTH_OFFSET, GLOW_FLAGS);
}
