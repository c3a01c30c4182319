#include "cards/CardBehaviour.h"

#include "cards/CardActor.h"
#include "cards/CardOverLay.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "engine/core/Easing.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TableLessonCalls.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "rules/GameQueries.h"
#include "rules/SpellStack.h"
#include "rules/Usability.h"

#include <algorithm>

namespace {

constexpr float HELD_CARD_DEPTH_LIMIT = 19999.0f;
constexpr float HALF_TURN = 3.14159f;
constexpr int ONLINE_DRAG_END_STATE = 22;
constexpr int HUMAN_CAN_CAST_STATE = 5;

void StartAtLibraryPile(CardActor& card)
{
    const GameDisplay& display = *GetGameDisplay();
    RasterRect pile;
    // The human's cards rest on the pile's raised top, where the layout puts them: a card whose target lay lower
    // would show its back over the pile and its count until it arrived.
    if (card.GetOwner() == 1)
        display.GetOpponentLibraryRect(pile, false);
    else
        display.GetPlayerLibraryRect(pile, true);
    const Vector3 start{static_cast<float>(pile.left), static_cast<float>(pile.top), LIBRARY_PILE_DEPTH};
    card.m_Position = start;
    const bool keepTarget = IsOnlineLesson() && card.GetOwner() == 0 && GetTableFlow().onlineDrawWord != 0;
    if (!keepTarget)
        card.m_TargetPoint = start;
}

void FirstFrame(CardActor& card)
{
    card.m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    card.m_Position.z = CARD_START_DEPTH;
    card.m_Rotation = Vector3{HALF_TURN, 0.0f, 0.0f};
    card.m_DrawnBefore = false;
    card.m_AnimationWord = 0;
    card.m_StackWord = -1;
    card.SetStackIndex(-1);
    if ((IntroGate(15) || card.IsHeld()) && card.IsInLibrary())
        StartAtLibraryPile(card);
}

// The online rules: a new spell waits at the stack's arrow anchor (summoning sickness is never set, so it does
// not happen today), a card not laid out yet stands still.
void ChooseOnlineTarget(CardActor& card)
{
    if (card.IsHeld() || card.GetCardType() == CT_LAND)
        return;
    if (card.m_AnimationWord == 0 && card.GetPlayedMark() == 0)
        card.m_TargetPoint = card.m_Position;
}

void LayOutUnheld(CardActor& card)
{
    TableFlowState& flow = GetTableFlow();
    if (!GetTableInput().relayout) {
        ChooseOnlineTarget(card);
        return;
    }
    if (IsPhysicalLesson() && flow.followSlots[0] == &card && flow.followSlots[1] != nullptr) {
        int width = 0;
        int height = 0;
        GetGameDisplay()->GetCardDrawSize(flow.followSlots[1], width, height, false);
        card.m_Position.x = flow.followSlots[1]->m_Position.x + static_cast<float>(width) * flow.followFactors[0];
        card.m_Position.y = flow.followSlots[1]->m_Position.y + static_cast<float>(height) * flow.followFactors[1];
        return;
    }
    if (IsPhysicalLesson() && flow.followSlots[1] == &card)
        return;
    const Vector3 kept = card.m_TargetPoint;
    ChooseOnlineTarget(card);
    card.m_Position = card.m_TargetPoint;
    card.m_TargetPoint = kept;
}

void PassTapClick(CardActor& card)
{
    if (!IntroGate(15) || MouseState.leftClicked == 0 || FindActorByName(u"cointoss") != nullptr)
        return;
    const GUI_Window* window = GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y);
    if (window != nullptr && GetCardWindowActor(window) == &card)
        if (g_TableLessonCalls.HandleCardTapPhysical != nullptr)
            g_TableLessonCalls.HandleCardTapPhysical(&card);
}

void FollowMouse(CardActor& card)
{
    int offsetX = 0;
    int offsetY = 0;
    card.GetDragOffset(offsetX, offsetY);
    card.m_Position.x = static_cast<float>(MouseState.x - offsetX);
    card.m_Position.y = static_cast<float>(MouseState.y - offsetY);
}

void Move(CardActor& card)
{
    if (!card.IsDragging()) {
        if (!card.m_EasingStopped)
            StepTowards(card.m_Position.x, card.m_Position.y, card.m_TargetPoint.x, card.m_TargetPoint.y,
                        CARD_EASING_RATE);
        if (IsOnlineLesson() && card.IsSummoningSick() && card.m_Position.x == card.m_TargetPoint.x &&
            card.m_Position.y == card.m_TargetPoint.y)
            card.m_Arrived = true;
        return;
    }
    if (MouseState.leftHeld == 0) {
        FollowMouse(card);
        card.EndDrag();
        return;
    }
    const Actor* const human = GetHumanPlayerActor();
    const bool humanMayDrag = human != nullptr && human->GetState() != ONLINE_DRAG_END_STATE;
    if (IsPhysicalLesson() || (IsOnlineLesson() && humanMayDrag && card.m_DrawAnimation == 0))
        FollowMouse(card);
    else if (IsOnlineLesson())
        card.EndDrag();
    TableInputState& input = GetTableInput();
    if (input.faceDownDrag) {
        const TextureRecord& texture = GetGameDisplay()->GetTextureRecord(card.m_Texture);
        RasterRect library;
        GetGameDisplay()->GetPlayerLibraryRect(library, false);
        const int left = static_cast<int>(card.m_Position.x);
        const int top = static_cast<int>(card.m_Position.y);
        const bool overlap = left < library.right && left + texture.width > library.left && top < library.bottom &&
                             top + texture.height > library.top;
        if (!overlap)
            input.faceDownDrag = false;
    }
}

// The card the lesson waits on blinks 8 frames on and 8 off; a castable card the mouse points at glows steadily.
bool DrawHighlight(const CardActor& card, const RasterRect& rect, float depth)
{
    const TableFlowState& flow = GetTableFlow();
    const TableInputState& input = GetTableInput();
    const int glow = GetTextureByName(u"cardglow");
    const auto drawGlow = [&] {
        GetRaster()->DrawTextureEx(glow, static_cast<float>(rect.left), static_cast<float>(rect.top),
                                   static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth,
                                   RASTER_FLAG_KEYED);
    };
    if ((IsOnlineLesson() && flow.onlineChosenCard == &card) || flow.awaitingPayment == &card) {
        if (((s_FrameCounter - 1) & 8) == 0)
            drawGlow();
        return true;
    }
    if (IsOnlineLesson() && input.pointedCard == &card && card.GetCardType() != CT_LAND) {
        const Actor* const human = GetHumanPlayerActor();
        const bool humanMayCast = s_HumanTurn && human != nullptr && human->GetState() == HUMAN_CAN_CAST_STATE &&
                                  GetSpellStack().GetCount() == 0;
        const bool instant = card.GetCardType() == CT_INSTANT && !flow.instantGlowSuppress;
        if ((humanMayCast || instant) && CanAffordCard(&card, false, true) &&
            CanUseCardNow(const_cast<CardActor*>(&card), false)) {
            drawGlow();
            return true;
        }
    }
    if (!IsIntroFinished() && input.pointedOutCardType != -1) {
        if (card.GetCardType() == input.pointedOutCardType)
            GetGameDisplay()->DrawHoverGlow(rect, depth, 0, 255, 0, false);
        else
            GetRaster()->DrawTextureTiled(GetTextureByName(u"sick"), static_cast<float>(rect.left),
                                          static_cast<float>(rect.top), static_cast<float>(rect.right),
                                          static_cast<float>(rect.bottom), depth, RASTER_FLAG_KEYED);
        return true;
    }
    return false;
}

void DrawHeldCard(CardActor& card)
{
    card.m_Position.z = CARD_START_DEPTH;
    card.m_Rotation = Vector3{0.0f, 0.0f, 0.0f};
    if (card.GetOwner() != 0)
        return;
    const float depth = HeldCardDepth(card.IsDragging(), card.IsInLibrary(), card.GetSortKey());
    const bool atTarget =
        card.m_Position.x == card.m_TargetPoint.x && card.m_Position.y == card.m_TargetPoint.y;
    if (card.IsInLibrary() && atTarget)
        return;
    const GameDisplay& display = *GetGameDisplay();
    RasterRect rect;
    rect.left = static_cast<int>(card.m_Position.x);
    rect.top = static_cast<int>(card.m_Position.y);
    rect.right = rect.left + display.GetCardWidth();
    rect.bottom = rect.top + display.GetCardHeight();
    const bool faceDown = card.m_BeingDragged || card.IsInLibrary() ||
                          (card.IsDragging() && GetTableInput().faceDownDrag);
    if (faceDown) {
        DrawPileImage(rect, 5, depth);
        if (GetTableFlow().markedCard == &card)
            display.DrawHoverGlow(rect, depth, 255, 64, 0, false);
        return;
    }
    GetRaster()->DrawTextureEx(card.m_Texture, static_cast<float>(rect.left), static_cast<float>(rect.top),
                               static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth, 0);
    DrawHighlight(card, rect, depth);
}

} // namespace

float HeldCardDepth(bool draggedByMouse, bool inLibrary, int sortKey)
{
    if (draggedByMouse)
        return DRAGGED_CARD_DEPTH;
    if (inLibrary)
        return LIBRARY_CARD_DEPTH;
    // A card that left the hand keeps the last sort key: the raster's depths end at 19999.
    return std::min(CARD_START_DEPTH + 5.0f * static_cast<float>(sortKey >> 2), HELD_CARD_DEPTH_LIMIT);
}

void CardBehaviour(Actor* actor)
{
    CardActor* const card = AsCardActor(actor);
    if (card == nullptr)
        return;
    if ((card->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0)
        FirstFrame(*card);
    if (!card->m_BeingDragged)
        card->m_Arrived = false;
    const bool moved = card->m_Position.x != card->m_TargetPoint.x || card->m_Position.y != card->m_TargetPoint.y;
    if (card->IsInLibrary() && card->GetTapState() != TAP_OFF_TABLE && moved)
        card->SetInLibrary(false);
    if ((!card->IsInLibrary() && !card->m_BeingDragged) || card->GetOwner() != 0)
        LayOutUnheld(*card);
    PassTapClick(*card);
    Move(*card);
    if (card->IsHeld() && card->m_DrawnBefore)
        DrawHeldCard(*card);
    card->m_DrawnBefore = true;
}
