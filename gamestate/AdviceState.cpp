#include "gamestate/AdviceState.h"

#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/TableFlowState.h"
#include "gui/Messagebox.h"

#include <memory>

namespace {

constexpr int KIND_ATTACK_ERROR = 34;
constexpr int KIND_END_OF_GAME = 18;

std::unique_ptr<Messagebox> s_pLessonBox;
// The unaffordable card, the card being paid and the mistimed card are the table's first three special slots,
// which it draws where the card was left.
constexpr std::size_t SLOT_UNAFFORDABLE = 0;
constexpr std::size_t SLOT_BEING_PAID = 1;
constexpr std::size_t SLOT_MISTIMED = 2;
CardActor* s_pBlockErrorCard = nullptr;
CardActor* s_pRefusedAttacker = nullptr;

void SetPendingCard(CardActor*& slot, CardActor* card)
{
    if (card != nullptr)
        if (HintRegistry* const hints = GetHintRegistry())
            hints->StopVoices();
    slot = card;
}

} // namespace

Messagebox* GetLessonBox()
{
    return s_pLessonBox.get();
}

void SetLessonBox(Messagebox* box)
{
    if (box == s_pLessonBox.get())
        return;
    s_pLessonBox.reset(box);
}

void DeleteLessonBox()
{
    s_pLessonBox.reset();
}

bool IsLessonBoxShowing()
{
    const GameDisplay* const display = GetGameDisplay();
    return s_pLessonBox != nullptr && display != nullptr && display->IsWindowRegistered(s_pLessonBox.get());
}

CardActor* GetCardBeingPaid()
{
    return GetTableFlow().pendingSlots[SLOT_BEING_PAID];
}

void SetCardBeingPaid(CardActor* card)
{
    SetPendingCard(GetTableFlow().pendingSlots[SLOT_BEING_PAID], card);
}

CardActor* GetUnaffordableCard()
{
    return GetTableFlow().pendingSlots[SLOT_UNAFFORDABLE];
}

void SetUnaffordableCard(CardActor* card)
{
    SetPendingCard(GetTableFlow().pendingSlots[SLOT_UNAFFORDABLE], card);
}

CardActor* GetMistimedCard()
{
    return GetTableFlow().pendingSlots[SLOT_MISTIMED];
}

void SetMistimedCard(CardActor* card)
{
    SetPendingCard(GetTableFlow().pendingSlots[SLOT_MISTIMED], card);
}

CardActor* GetBlockErrorCard()
{
    return s_pBlockErrorCard;
}

void SetBlockErrorCard(CardActor* card)
{
    s_pBlockErrorCard = card;
}

CardActor* GetRefusedAttacker()
{
    return s_pRefusedAttacker;
}

void SetRefusedAttacker(CardActor* card)
{
    s_pRefusedAttacker = card;
}

void ClearAdviceCards()
{
    GetTableFlow().pendingSlots = {};
    s_pBlockErrorCard = nullptr;
    s_pRefusedAttacker = nullptr;
}

bool IsAdviceBlocked()
{
    const TableFlowState& flow = GetTableFlow();
    for (const CardActor* const card : flow.pendingSlots)
        if (card != nullptr)
            return true;
    if (s_pBlockErrorCard != nullptr || s_pRefusedAttacker != nullptr || flow.cardDrawnByHand != nullptr ||
        GetQuitWarningBox() != nullptr)
        return true;
    if (!IsLessonBoxShowing())
        return false;
    const int kind = s_pLessonBox->GetKindNumber();
    return kind == KIND_ATTACK_ERROR || kind == KIND_END_OF_GAME;
}

bool IsLibraryHighlightWanted()
{
    const GameDisplay* const display = GetGameDisplay();
    return display != nullptr && display->m_LibraryHighlight && !IsAdviceBlocked();
}
