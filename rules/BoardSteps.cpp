#include "rules/BoardSteps.h"

#include "cards/CardActor.h"
#include "cards/CardOverLay.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/Intro.h"
#include "gamestate/TableFlowState.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

constexpr float ROW_DEPTH = 200.0f;
constexpr float DRAGGED_DEPTH = 8.0f;
constexpr float HIGHLIGHT_DEPTH = 500.0f;
constexpr float QUARTER_TURN = 1.5707964f;
constexpr int HIGHLIGHT_BAR_HEIGHT = 8;
constexpr int PILE_FRAME = 5;
constexpr int GATE_TABLE_SHOWN = 10;

// Auras are drawn with their host; an enchantment of the player, the world or the opponent stands on its own.
bool IsInPermanentRows(const CardActor& card)
{
    if (card.GetTapState() == TAP_OFF_TABLE || !card.IsNotLeaving() || card.IsHeld())
        return false;
    if (card.GetCardType() != CT_ENCHANT || card.GetHost() == nullptr)
        return true;
    const int subType = card.GetSubType();
    return subType == ENCH_SELF || subType == ENCH_GLOBAL || subType == ENCH_OPPONENT;
}

void CensusCard(CardActor& card, GameDisplay& display)
{
    const bool dragged = card.GetOwner() == PLAYER_HUMAN && GetDraggedCard() == &card;
    card.m_Position.z = ROW_DEPTH;
    const float depth = dragged ? DRAGGED_DEPTH : ROW_DEPTH;
    const bool tapped = card.GetTapState() == TAP_TAPPED;
    card.m_Rotation.z = tapped ? QUARTER_TURN : 0.0f;
    int width = 0;
    int height = 0;
    display.GetCardDrawSize(&card, width, height, false);
    const int left = static_cast<int>(card.m_Position.x);
    const int top = static_cast<int>(card.m_Position.y);
    const RasterRect rect{left, top, left + width, top + height};
    const bool barAcross = (card.m_Flags & CARD_FLAG_HIGHLIGHT_ACROSS) != 0;
    const bool barBelow = (card.m_Flags & CARD_FLAG_HIGHLIGHT_BELOW) != 0;
    if ((card.m_Flags & ACTOR_FLAG_SUSPENDED) == 0) {
        if (barAcross || barBelow) {
            if (!IntroGate(GATE_TABLE_SHOWN)) {
                const int barTop = barAcross ? rect.bottom - HIGHLIGHT_BAR_HEIGHT : rect.bottom;
                display.DrawFrameRect(rect.left, barTop, rect.right, barTop + HIGHLIGHT_BAR_HEIGHT, HIGHLIGHT_DEPTH,
                                      display.MakeColor(255, 255, 0, 255), true, 1);
            }
            DrawPileImage(rect, PILE_FRAME, HIGHLIGHT_DEPTH);
        } else if (Raster* const raster = GetRaster()) {
            raster->DrawTextureEx(tapped ? card.m_TextureRotated : card.m_Texture, static_cast<float>(rect.left),
                                  static_cast<float>(rect.top), static_cast<float>(rect.right),
                                  static_cast<float>(rect.bottom), depth, 0);
        }
    }
    const bool arrived = card.m_Position.x == card.m_TargetPoint.x && card.m_Position.y == card.m_TargetPoint.y;
    if ((tapped || arrived) && !card.IsDragging())
        CreateCardWindowForActor(&card, width, height + (barBelow ? HIGHLIGHT_BAR_HEIGHT : 0));
}

// Card actors that still count as library cards: deck-marked, or the human's held cards in the library. Without
// all, cards on their way (dragged, still gliding, or the one the learner draws by hand) no longer count.
int CountLibraryCardActors(bool all)
{
    if (!IntroGate(15))
        return 0;
    const CardActor* const drawnByHand = GetTableFlow().cardDrawnByHand;
    int count = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == nullptr)
            continue;
        const bool library = card->m_DeckCardMarker != 0 ||
                             (card->GetOwner() == 0 && card->IsHeld() && card->IsInLibrary());
        if (!library)
            continue;
        const bool moving = card->m_Position.x != card->m_TargetPoint.x || card->m_Position.y != card->m_TargetPoint.y;
        if (!all && (card->IsDragging() || moving || card == drawnByHand))
            continue;
        ++count;
    }
    return count;
}

} // namespace

void UpdateBoardCensus()
{
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && IsInPermanentRows(*card))
            CensusCard(*card, *display);
    }
}

int CardsLeftInLibrary(bool all)
{
    const PlayerState& human = *GetPlayerState(0);
    return std::max(0, human.m_LibraryCount - human.m_NextDrawIndex + CountLibraryCardActors(all));
}

bool IsCardBusy(const CardActor* card)
{
    if (card == nullptr)
        return false;
    const TableFlowState& flow = GetTableFlow();
    const bool special = std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end() ||
                         flow.cardDrawnByHand == card;
    return special || card->IsInLibrary() || card->IsHeld();
}

bool IsCardInDelayedSet(const CardActor* card)
{
    return card != nullptr && card->IsExitMoveBackward() && IsCardBeingBuried(card);
}
