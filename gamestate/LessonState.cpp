#include "gamestate/LessonState.h"

#include "gamestate/OnlineAdviceWords.h"
#include "gui/Messagebox.h"

namespace {

int s_CanPlayNow = 0;
int s_FreePlay = 0;
CardActor* s_PendingCard = nullptr;
CardActor* s_SecondCard = nullptr;

} // namespace

CardActor* g_CounteredCard = nullptr;
bool s_bPaymentUndoRequested = false;

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

void SetCanPlayNowFlag(int flag)
{
    s_CanPlayNow = flag;
}

int GetCanPlayNowFlag()
{
    return s_CanPlayNow;
}

void SetFreePlayFlag(int flag)
{
    s_FreePlay = flag;
}

int GetFreePlayFlag()
{
    return s_FreePlay;
}

int GetOnlineAdviceNumber()
{
    return g_OnlineAdviceNumber;
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

void ResetLessonState()
{
    s_PendingCard = nullptr;
    s_SecondCard = nullptr;
}
