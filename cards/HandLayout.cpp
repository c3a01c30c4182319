#include "cards/HandLayout.h"

#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "cards/TableScene.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/AdviceState.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/BoardSteps.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/TargetPrompt.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int ATTACHMENT_OFFSET = 12;
constexpr float MARKER_DEPTH = 199.0f;
constexpr int STATE_13 = 13;

int SlotX(int slot)
{
    const GameDisplay& display = *GetGameDisplay();
    const int last = static_cast<int>(display.m_HandSlots.size()) - 1;
    return display.m_HandSlots[static_cast<std::size_t>(std::clamp(slot, 0, last))].x;
}

int HandRowY()
{
    return GetGameDisplay()->m_HandSlots[0].y;
}

// A raised card's bottom edge lies on the hand row.
int RaisedTop()
{
    return HandRowY() - GetGameDisplay()->GetCardHeight();
}

bool Meets(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RasterRect HandArea()
{
    const GameDisplay& display = *GetGameDisplay();
    RasterRect area;
    area.left = display.GetZoneRectByIndex(9).left;
    area.top = HandRowY();
    area.right = s_ClientWidth;
    area.bottom = s_ClientHeight;
    return area;
}

RasterRect CardRect(const CardActor& card)
{
    RasterRect rect;
    GetGameDisplay()->GetCardRect(&card, rect, false);
    return rect;
}

bool Contains(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void InsertSorted(std::vector<CardActor*>& list, CardActor* card)
{
    const auto place = std::upper_bound(list.begin(), list.end(), card, [](const CardActor* a, const CardActor* b) {
        return a->GetSortKey() < b->GetSortKey();
    });
    list.insert(place, card);
}

void DrawInsertionMarker(const InsertionSlot& insertion, int rowY)
{
    const GameDisplay& display = *GetGameDisplay();
    const int texture = insertion.between ? display.m_InsertCard : GetTextureByName(u"insertslot");
    const TextureRecord& record = display.GetTextureRecord(texture);
    const float top = static_cast<float>(rowY);
    const float bottom = top + static_cast<float>(record.height);
    if (insertion.between) {
        const float right = static_cast<float>(SlotX(insertion.slot));
        GetRaster()->DrawTextureEx(texture, right - static_cast<float>(record.width), top, right, bottom,
                                   MARKER_DEPTH, 0x80000000u);
    } else {
        const float left = static_cast<float>(SlotX(insertion.markerSlot));
        GetRaster()->DrawTextureEx(texture, left, top, left + static_cast<float>(record.width), bottom, MARKER_DEPTH,
                                   0x80000000u);
    }
}

void PlaceInsertingCard(TableInputState& input)
{
    CardActor* const card = input.insertingCard;
    if (card == nullptr || !IsCardBusy(card))
        return;
    const int rowY = input.raisedIndex >= 0 ? RaisedTop() : HandRowY();
    if (!Meets(CardRect(*card), HandArea())) {
        if (!card->IsHeld() || card->IsInLibrary())
            card->SetSortKey(SORT_KEY_LAST);
        return;
    }
    input.faceDownDrag = false;
    if (IsIntroFinished() || !IntroGate(19)) {
        const TableFlowState& flow = GetTableFlow();
        const bool pending = std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end();
        int n = input.handCount;
        if (n > 0 && (pending || card->IsInLibrary()))
            ++n;
        int i = 0;
        while (i < n && static_cast<float>(SlotX(i)) < card->m_Position.x)
            ++i;
        const int k = std::min(card->GetSortKey() >> 2, n);
        const InsertionSlot insertion = FindInsertionSlot(n, i, k);
        DrawInsertionMarker(insertion, rowY);
        if (card->IsInLibrary() || card->IsHeld() || pending || flow.cardDrawnByHand == card)
            card->SetSortKey(4 * insertion.slot - 2);
    }
}

// Rising cards ripple outward from the hovered slot, one slot every 100 ms.
void RaiseHand(TableInputState& input)
{
    if (input.raisedIndex < 0)
        return;
    const std::uint32_t since = plat::TimeGetTime() - input.raiseStart;
    for (int j = 0; j < static_cast<int>(input.handList.size()); ++j) {
        CardActor* const card = input.handList[static_cast<std::size_t>(j)];
        if (card == input.insertingCard)
            continue;
        const std::uint32_t delay = static_cast<std::uint32_t>(std::abs(j - input.raisedIndex) * RAISE_RIPPLE_MS);
        if (j == input.raisedIndex || delay < since)
            card->m_TargetPoint.y = static_cast<float>(RaisedTop());
    }
    input.handRaised = true;
    input.handSizeAtRaise = static_cast<int>(input.handList.size());
}

bool StaysRaised(const TableInputState& input)
{
    const GameDisplay& display = *GetGameDisplay();
    const CardActor& first = *input.handList.front();
    const CardActor& last = *input.handList.back();
    RasterRect hand;
    hand.left = static_cast<int>(first.m_Position.x);
    hand.right = static_cast<int>(last.m_Position.x) + display.GetTextureRecord(last.m_Texture).width;
    hand.top = HandRowY();
    hand.bottom = s_ClientHeight;
    if (input.insertingCard != nullptr)
        return Meets(CardRect(*input.insertingCard), hand);
    if (Contains(hand, MouseState.x, MouseState.y))
        return true;
    if (input.raisedIndex < 0)
        return false;
    RasterRect raised;
    raised.left = SlotX(0);
    raised.right = SlotX(static_cast<int>(input.handList.size())) + display.GetCardWidth();
    raised.top = RaisedTop();
    raised.bottom = s_ClientHeight;
    return Contains(raised, MouseState.x, MouseState.y);
}

// The turn flags the drivers of both lessons hand over; the table flow's copies follow only the physical lesson.
const Actor* ActivePlayer()
{
    if (s_HumanTurn)
        return GetHumanPlayerActor();
    if (s_CpuTurn)
        return GetCpuPlayerActor();
    return nullptr;
}

void UpdatePhaseNumber()
{
    if (GetHumanPlayerActor() == nullptr || GetCpuPlayerActor() == nullptr)
        return;
    const Actor* const active = ActivePlayer();
    if (active == nullptr)
        return;
    TableFlowState& flow = GetTableFlow();
    if (flow.phaseSkip) {
        flow.phaseSkip = false;
        return;
    }
    const int state = active->GetState();
    if (state == 18 || state == 19 || state == 0 || state == 1) {
        if (state <= 1 && !(IsIntroFinished() && flow.gameStarted))
            return;
        s_PastCombat = false;
    }
    // The phase bar lights the display's current phase: the drivers set combat steps, the turn states the rest.
    int& phase = GetGameDisplay()->m_CurrentPhase;
    const int next = PhaseForState(state, phase, !IsPhysicalLesson());
    if (next >= 0)
        phase = next;
}

} // namespace

int GetAttachmentOffset()
{
    return ATTACHMENT_OFFSET;
}

InsertionSlot FindInsertionSlot(int n, int i, int k)
{
    InsertionSlot result;
    if (i >= n || i == k || i - 1 == k) {
        result.slot = (i == k || i - 1 == k) ? k : n;
        result.markerSlot = result.slot == n ? result.slot - 1 : result.slot;
        result.between = false;
    } else {
        result.slot = i;
        result.markerSlot = i;
        result.between = true;
    }
    return result;
}

int PhaseForState(int state, int phase, bool online)
{
    const TableFlowState& flow = GetTableFlow();
    switch (state) {
    case 18: case 19: case 16: case 17: return 11;
    case 0: case 1: return 0;
    case 21: case 2: return 2;
    case 3: case 6: return 3;
    case 4: case 15: return 10;
    // The drivers' after-combat flag tells the second main phase from the first.
    case 5: return s_PastCombat ? 10 : 3;
    case 13: case 14: return 5;
    case 9: case 10: case 11: case 12: return 8;
    case 7:
        if (!online || phase < 5)
            return 5;
        if (s_HumanBlockStep != 0 || s_CpuBlockStep != 0)
            return 7;
        if (phase < 6 && (flow.onlineAttackWord == 1 || (s_CpuTurn && flow.cpuAttackDecision)))
            return 6;
        return -1;
    default: return -1;
    }
}

void UpdateHandCards()
{
    TableInputState& input = GetTableInput();
    input.handRaised = false;
    input.handSizeAtRaise = 0;
    input.handCount = 0;
    input.cpuNotAnimating = 0;
    input.insertingCard = nullptr;
    input.handList.clear();
    int heldCount = 0;
    for (int index = 0; index < GetActorCount(); ++index) {
        CardActor* const card = AsCardActor(GetActorAt(index));
        if (card == nullptr)
            continue;
        if (card->GetOwner() != 0) {
            const bool shown = IsPhysicalLesson() && card->m_BeingDragged && card->m_Arrived;
            if ((card->IsHeld() || shown) && card->m_DrawAnimation == 0)
                ++input.cpuNotAnimating;
            continue;
        }
        if (card->IsHeld()) {
            if (card->m_DrawAnimation == 0 && !card->IsInLibrary()) {
                ++input.handCount;
                InsertSorted(input.handList, card);
            }
            if (IntroGate(15) && (!card->IsDragging() || card->m_DrawAnimation != 0)) {
                const GameDisplay& display = *GetGameDisplay();
                if (card->m_DrawAnimation == 0 && !card->IsInLibrary())
                    CreateCardWindowForActor(card, display.GetCardWidth(), display.GetCardHeight());
                else if (GetTableFlow().pendingSlots[1] == nullptr)
                    CreateCardWindowForActor(card, display.m_CounterBoxes[0][0].right - display.m_CounterBoxes[0][0].left,
                                             display.m_CounterBoxes[0][0].bottom - display.m_CounterBoxes[0][0].top + 8);
            }
            ++heldCount;
        }
        if (card->IsDragging() && (card->IsHeld() || card->IsInLibrary())) {
            input.insertingCard = card;
            if (card->IsInLibrary())
                InsertSorted(input.handList, card);
        }
    }
    input.humanHeldCount = heldCount;
    input.cpuHandCount = CountCpuHandCards();
}

void UpdateHandLayout()
{
    TableInputState& input = GetTableInput();
    TableFlowState& flow = GetTableFlow();
    for (CardActor* slot : {flow.pendingSlots[0], flow.pendingSlots[1], flow.pendingSlots[2], flow.cardDrawnByHand}) {
        if (slot != nullptr && slot->IsDragging()) {
            if (std::find(input.handList.begin(), input.handList.end(), slot) == input.handList.end())
                input.handList.push_back(slot);
            input.insertingCard = slot;
            break;
        }
    }
    const CardActor* const underMouse =
        GetCardWindowActor(GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y));
    int hovered = -1;
    for (int i = 0; i < static_cast<int>(input.handList.size()); ++i) {
        CardActor* const card = input.handList[static_cast<std::size_t>(i)];
        card->SetSortKey(4 * i);
        if (card != input.insertingCard) {
            card->m_TargetPoint.x = static_cast<float>(SlotX(i));
            card->m_TargetPoint.y = static_cast<float>(HandRowY());
            if (input.pointedOutCardType != -1 && card->GetCardType() == input.pointedOutCardType)
                card->m_TargetPoint.y = static_cast<float>(RaisedTop());
        }
        if (!IsPhysicalLesson() || hovered >= 0)
            continue;
        bool isHovered = false;
        if (input.insertingCard == nullptr)
            isHovered = !IsAdviceBlocked() && card == underMouse && !card->IsInLibrary() && !card->IsDragging() &&
                        (card->m_Flags & ACTOR_FLAG_PREVIEW_COPY) == 0;
        else if (card != input.insertingCard)
            isHovered = Meets(CardRect(*input.insertingCard), HandArea()) &&
                        Meets(CardRect(*input.insertingCard), CardRect(*card));
        if (isHovered) {
            hovered = i;
            if (input.raisedCard != card) {
                if (input.raisedCard == nullptr)
                    input.raiseStart = plat::TimeGetTime();
                input.raisedCard = card;
            }
        }
    }
    if (hovered < 0) {
        if (input.handList.empty() || !StaysRaised(input) || flow.cardDrawnByHand != nullptr) {
            input.raisedCard = nullptr;
            input.raisedIndex = -1;
        }
    } else if (input.raisedIndex < 0) {
        input.raisedIndex = hovered;
    }
    RaiseHand(input);
    PlaceInsertingCard(input);
    UpdatePhaseNumber();
}

static bool MayDrawFromLibrary()
{
    if (!IsPhysicalLesson() || GetTableFlow().cardDrawnByHand != nullptr || !(IsIntroFinished() || IntroGate(15)))
        return false;
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    const bool state13 = (human != nullptr && human->GetState() == STATE_13) || (cpu != nullptr && cpu->GetState() == STATE_13);
    return !IsAdviceBlocked() && !IsHumanAllowedToAct() && IsLifeTokenReady() && CardsLeftInLibrary(true) >= 1 &&
           !state13 && !IsTargetPromptOpen();
}

void UpdateLibraryDraw()
{
    UpdateHandLayout();
    if (!MayDrawFromLibrary())
        return;
    RasterRect library;
    GetGameDisplay()->GetPlayerLibraryRect(library, false);
    const TableInputState& input = GetTableInput();
    if (!Contains(library, MouseState.x, MouseState.y) || MouseState.leftClicked == 0 ||
        GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y) != nullptr || input.windowUnderMouse != nullptr ||
        input.pointedCard != nullptr || GetDraggedCard() != nullptr)
        return;
    CardActor* const card = CreateCardActor(0, 0);
    if (card == nullptr)
        return;
    GetTableFlow().cardDrawnByHand = card;
    card->SetOwner(0);
    card->SetHeld(true);
    card->SetInLibrary(false);
    card->m_Position.x = static_cast<float>(library.left);
    card->m_Position.y = static_cast<float>(library.top);
    card->BeginDrag(MouseState.x, MouseState.y);
    // A refused draw: the card back is a prop, so no library card is used up.
    card->m_BeingDragged = true;
}

void FlushActorRemovals()
{
    std::vector<Actor*> removals;
    removals.swap(GetTableFlow().pendingRemovals);
    for (Actor* actor : removals)
        RemoveActor(actor);
}

void ClampCardActorToTable(CardActor* card, bool alsoPosition)
{
    if (card == nullptr)
        return;
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect rect = CardRect(*card);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = static_cast<int>(card->m_TargetPoint.x);
    int y = static_cast<int>(card->m_TargetPoint.y);
    if (x < 0)
        x = 0;
    if (x + width >= s_ClientWidth)
        x = s_ClientWidth - width;
    if (y < 0)
        y = 0;
    const int matBottom = display.GetZoneRectByIndex(41).top;
    const int matRight = display.GetZoneRectByIndex(9).right;
    if (y + height >= matBottom && x + width >= matRight)
        y = matBottom - height;
    else if (y + height >= s_ClientHeight && x + width < matRight)
        y = s_ClientHeight - height;
    if (alsoPosition) {
        card->m_Position.x = static_cast<float>(x);
        card->m_Position.y = static_cast<float>(y);
    } else if (x == rect.left && y == rect.top) {
        return;
    }
    card->m_TargetPoint.x = static_cast<float>(x);
    card->m_TargetPoint.y = static_cast<float>(y);
}
