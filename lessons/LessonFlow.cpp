#include "lessons/LessonFlow.h"

#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gui/Messagebox.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"

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

void PositionOpponentBalloon()
{
    PositionLessonBox(GetCpuTurnBalloon());
}

int GetLessonBoxTag()
{
    Messagebox* const box = GetLessonBox();
    return IsLessonBoxShowing() ? box->GetKindNumber() : -1;
}
