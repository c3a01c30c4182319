#include "lessons/LessonFlow.h"

namespace {

bool s_bPaymentUndoRequested = false;

} // namespace

void CloseAllLessonDialogs()
{
}

void ResetOnlineLesson(int /*flag*/)
{
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
