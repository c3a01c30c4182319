#include "cards/CardPicking.h"

#include "cards/CardActor.h"
#include "cards/CardOverLay.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "cards/TableScene.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/Intro.h"
#include "gamestate/TableFlowState.h"
#include "gui/DialogManager.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "gui/Messagebox.h"
#include "platform/Platform.h"
#include "rules/Decks.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <vector>

namespace {

constexpr float PREVIEW_DEPTH = 19900.0f;
constexpr float EMPTY_PREVIEW_DEPTH = 500.0f;
constexpr std::uint16_t WHITE = 0xFFFF;

bool IntroHidesTable()
{
    return IsIntroRunning() && !IntroGate(15);
}

// The mouse lies left of and below the layout's corner point.
bool IsMouseInHoverCorner()
{
    const MatPoint& corner = GetGameDisplay()->m_HoverCorner;
    return MouseState.x < corner.x && MouseState.y > corner.y;
}

void UpdatePreviewRequest(TableInputState& input)
{
    if (!input.previewRequested)
        return;
    input.focusedCard = input.requestedCard;
    const std::uint32_t now = plat::TimeGetTime();
    if (!input.previewTimerRunning) {
        input.previewTimerRunning = true;
        input.previewStart = now;
    } else if (now - input.previewStart > input.previewDuration) {
        input.previewTimerRunning = false;
        input.previewRequested = false;
    }
}

void ClearPicking(TableInputState& input)
{
    input.windowUnderMouse = nullptr;
    input.hoveredCard = nullptr;
    input.pointedCard = nullptr;
    input.hoverReaction = 0;
}

bool IsTableLand(const CardActor* card)
{
    return card != nullptr && card->IsLand() && !card->IsHeld() && !card->IsInLibrary() &&
           card->GetTapState() != TAP_OFF_TABLE;
}

bool Overlap(const RasterRect& a, const GUI_Window& b)
{
    return a.left < b.GetRight() && b.GetLeft() < a.right && a.top < b.GetBottom() && b.GetTop() < a.bottom;
}

// The rectangle round the card's window and the windows of the lands piled with it (the same owner's lands of the
// same kind, overlapping): an untapped land under a tapped one shows only as a strip, which the text box must
// leave free for the click.
RasterRect PileRect(const CardActor& card, const GUI_Window& window)
{
    RasterRect pile{window.GetLeft(), window.GetTop(), window.GetRight(), window.GetBottom()};
    if (!IsTableLand(&card))
        return pile;
    std::vector<const GUI_Window*> others;
    for (const GUI_Window* const other : GetGUIManager()->GetWindows()) {
        const CardActor* const land = GetCardWindowActor(other);
        if (other != &window && other != GetCloseUpWindow() && IsTableLand(land) &&
            land->GetOwner() == card.GetOwner() && land->GetBasicLandKind() == card.GetBasicLandKind())
            others.push_back(other);
    }
    // Grow until no further window of the kind touches the pile.
    for (bool grown = true; grown;) {
        grown = false;
        for (auto it = others.begin(); it != others.end();) {
            if (!Overlap(pile, **it)) {
                ++it;
                continue;
            }
            pile = RasterRect{std::min(pile.left, (*it)->GetLeft()), std::min(pile.top, (*it)->GetTop()),
                              std::max(pile.right, (*it)->GetRight()), std::max(pile.bottom, (*it)->GetBottom())};
            it = others.erase(it);
            grown = true;
        }
    }
    return pile;
}

// The hover text box beside the card's pile, kept on the client; at the zoom place in the fixed rectangle.
void DrawHoverPopup(TableInputState& input, CardActor& card)
{
    if (!(IsOnlineLesson() || IsIntroRunning() || input.fixedZoom))
        return;
    input.popupShown = true;
    CardOverLay* const overlay = GetCardOverlay(card);
    if (overlay == nullptr)
        return;
    RasterRect rect{input.zoomX, input.zoomY, input.zoomX, input.zoomY};
    if (input.fixedZoom || input.windowUnderMouse == nullptr) {
        overlay->DrawPopup(rect, nullptr);
        return;
    }
    const RasterRect pile = PileRect(card, *input.windowUnderMouse);
    overlay->DrawPopup(rect, &pile);
}

} // namespace

CardActor& GetPreviewCopy()
{
    static CardActor s_copy;
    return s_copy;
}

void RequestCardPreview(CardActor* card, std::uint32_t durationMs)
{
    TableInputState& input = GetTableInput();
    input.previewRequested = true;
    input.requestedCard = card;
    input.previewTimerRunning = false;
    input.previewDuration = durationMs;
}

namespace {

bool IsLessonTagBusy(int tag)
{
    if (!IsPhysicalLesson())
        return false;
    const int last = s_GameMode == 1 ? 57 : 59;
    if (tag < 56 || tag > last)
        return false;
    return IsNormalDialogShown() || IsPriorityDialogShown() || HasNormalDialogQueued() || HasPriorityDialogQueued() ||
           IsAdviceBlocked();
}

} // namespace

bool IsTaggedActorBusy(const Actor* actor)
{
    const CardActor* const card = AsCardActor(actor);
    return card != nullptr && IsLessonTagBusy(card->GetLessonTag());
}

bool IsTaggedActorBusy(const Messagebox* balloon)
{
    return balloon != nullptr && IsLessonTagBusy(balloon->GetKindNumber());
}

void UpdateCardUnderCursor()
{
    TableInputState& input = GetTableInput();
    UpdatePreviewRequest(input);
    if (input.pickingReady != 0) {
        if (MouseState.x < 0 || MouseState.y < 0 || MouseState.x >= s_ClientWidth || MouseState.y >= s_ClientHeight) {
            ClearPicking(input);
        } else {
            if (input.focusedCard != nullptr && GetSpellStack().GetTopCard() == nullptr && !IntroHidesTable())
                GetPreviewCopy().CopyForPreview(*input.focusedCard);
            input.windowUnderMouse = GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y);
            CardActor* const card = GetCardWindowActor(input.windowUnderMouse);
            if (card != nullptr) {
                input.hoveredCard = card;
                input.pointedCard = card;
                input.lastPointedCard = card;
            } else {
                input.hoveredCard = nullptr;
                input.pointedCard = nullptr;
                input.hoverReaction = 0;
            }
        }
    }
    input.pickingReady = 1;
}

bool UpdateCardZoom()
{
    TableInputState& input = GetTableInput();
    input.zoomShown = false;
    input.fixedZoom = false;
    input.popupShown = false;
    const std::uint32_t now = plat::TimeGetTime();
    if (GetDraggedCard() != nullptr) {
        input.timedCard = input.hoveredCard;
        input.hoverElapsed = 0;
        input.hoverLast = now;
    }
    if (MouseState.leftHeld != 0)
        return false;
    CardActor* const hovered = input.hoveredCard;
    if (IsOnlineLesson() && IsIntroFinished() && hovered != nullptr && !hovered->IsSummoningSick() && IsMouseInHoverCorner()) {
        input.zoomShown = true;
        return false;
    }
    const RasterRect& preview = GetGameDisplay()->m_PreviewRect;
    if ((IsIntroFinished() || IntroGate(9)) && MouseState.x >= preview.left && MouseState.x <= preview.right &&
        MouseState.y >= preview.top && MouseState.y <= preview.bottom && preview.right > preview.left) {
        input.zoomX = preview.left + 9;
        input.zoomY = preview.top + 178;
        input.fixedZoom = true;
    }
    UpdateCardUnderCursor();
    if (input.timedCard != nullptr && input.timedCard == input.hoveredCard) {
        input.hoverElapsed += now - input.hoverLast;
        input.hoverLast = now;
    } else {
        input.hoverElapsed = 0;
        input.hoverLast = now;
        input.timedCard = input.hoveredCard;
    }
    if (input.hoverElapsed < ZOOM_DELAY_MS)
        return true;
    CardActor* const card = GetCardWindowActor(input.windowUnderMouse);
    if (card != nullptr) {
        if (input.hoverElapsed >= POPUP_DELAY_MS) {
            if (card->IsInLibrary() && card != GetTableFlow().pendingSlots[1] && IsActorRegistered(card)) {
                input.hoverElapsed = 0;
                return true;
            }
            DrawHoverPopup(input, *card);
        }
        input.zoomShown = true;
    }
    if (input.hoverElapsed >= HOVER_PIN_MS)
        input.hoverElapsed = HOVER_PINNED_MS;
    return true;
}

void DrawCardPreview()
{
    if (!IntroGate(15) && !IntroGate(9))
        return;
    TableInputState& input = GetTableInput();
    TableFlowState& flow = GetTableFlow();
    CardActor* temporary = nullptr;
    if (input.forcedPreviewId != 0) {
        temporary = CreateCardActor(input.forcedPreviewId, 0);
        if (temporary != nullptr) {
            input.pointedCard = temporary;
            temporary->BeginDrag(MouseState.x, MouseState.y);
        }
    }
    if (input.previewRequested)
        input.focusedCard = input.requestedCard;
    else if (IsPhysicalLesson() && input.zoomShown && input.pointedCard != nullptr)
        input.focusedCard = input.pointedCard;
    else if (IsOnlineLesson())
        input.focusedCard = input.pointedCard != nullptr ? input.pointedCard : input.lastPointedCard;
    if (IntroHidesTable())
        input.focusedCard = nullptr;
    CardActor* const focus = input.focusedCard;
    if (focus != nullptr && focus != flow.pendingSlots[1] &&
        (focus->m_DrawAnimation != 0 || focus == flow.currentCard))
        input.focusedCard = nullptr;
    const RasterRect& rect = GetGameDisplay()->m_PreviewRect;
    CardOverLay* const overlay = input.focusedCard != nullptr ? GetCardOverlay(*input.focusedCard) : nullptr;
    if (overlay == nullptr) {
        if (IsOnlineLesson())
            DrawPileImage(rect, 6, EMPTY_PREVIEW_DEPTH);
    } else if (!input.focusedCard->m_Arrived || input.focusedCard->IsSummoningSick()) {
        CardActor* const pending = GetSpellStack().GetTopCard();
        const int style = pending != nullptr && !input.focusedCard->IsSummoningSick() && IsMouseInHoverCorner() ? 2 : 1;
        if (IsPhysicalLesson())
            DrawFrameRect(static_cast<float>(rect.left - 1), static_cast<float>(rect.top - 1),
                          static_cast<float>(rect.right + 1), static_cast<float>(rect.bottom + 1), PREVIEW_DEPTH,
                          WHITE, false, 1.0f);
        overlay->Draw(rect, input.focusedCard, style, PREVIEW_DEPTH);
        if (style == 2 && input.focusedCard == pending)
            overlay->Draw(rect, nullptr, OVERLAY_EFFECT_PANEL, PREVIEW_DEPTH);
    } else if (IsOnlineLesson()) {
        DrawPileImage(rect, 6, EMPTY_PREVIEW_DEPTH);
    }
    if (temporary != nullptr) {
        if (input.windowUnderMouse != nullptr && GetCardWindowActor(input.windowUnderMouse) == temporary)
            input.windowUnderMouse = nullptr;
        RemoveActor(temporary);
        input.pointedCard = nullptr;
    }
}
