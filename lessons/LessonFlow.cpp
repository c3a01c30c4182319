#include "lessons/LessonFlow.h"

#include "engine/scene/GameDisplay.h"
#include "gui/Messagebox.h"
#include "lessons/LessonBox.h"
#include "lessons/OnlineTurnState.h"

namespace {

bool s_bPaymentUndoRequested = false;

} // namespace

void CloseAllLessonDialogs()
{
}

// Until the advisor exists, the per-turn part is the CPU's discard-done byte.
void ResetOnlineLesson(int /*flag*/)
{
    s_CpuDiscardDone = false;
}

void ExplainTurnStep()
{
}

void ClearPerGameWords()
{
    s_bPaymentUndoRequested = false;
}

void RequestPaymentUndo()
{
    s_bPaymentUndoRequested = true;
}

bool TakePaymentUndoRequest()
{
    const bool requested = s_bPaymentUndoRequested;
    s_bPaymentUndoRequested = false;
    return requested;
}

namespace {

int s_CanPlayNow = 0;

} // namespace

void SetCanPlayNowFlag(int flag)
{
    s_CanPlayNow = flag;
}

int GetCanPlayNowFlag()
{
    return s_CanPlayNow;
}

int GetOnlineAdviceNumber()
{
    return 0;
}

namespace {

int s_FreePlay = 0;
CardActor* s_PendingCard = nullptr;
CardActor* s_SecondCard = nullptr;

} // namespace

void SetFreePlayFlag(int flag)
{
    s_FreePlay = flag;
}

int GetFreePlayFlag()
{
    return s_FreePlay;
}

bool IsStepForbiddingPlay(const CardActor* /*card*/)
{
    return false;
}

bool IsLessonInputBlocked()
{
    return false;
}

void OnHumanLandTapped(CardActor* /*land*/)
{
}

CardActor* GetLessonPendingCard()
{
    return s_PendingCard;
}

void SetLessonPendingCard(CardActor* card)
{
    s_PendingCard = card;
}

CardActor* GetLessonSecondCard()
{
    return s_SecondCard;
}

void SetLessonSecondCard(CardActor* card)
{
    s_SecondCard = card;
}

CardActor* GetLessonReturningCard()
{
    return nullptr;
}

void PositionLessonBox()
{
}

bool IsLessonBoxShowing()
{
    Messagebox* const box = GetLessonBox();
    const GameDisplay* const display = GetGameDisplay();
    return box != nullptr && display != nullptr && display->IsWindowRegistered(box);
}

int GetLessonBoxTag()
{
    Messagebox* const box = GetLessonBox();
    return IsLessonBoxShowing() ? box->GetKindNumber() : -1;
}
