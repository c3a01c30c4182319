#include "lessons/LessonFlow.h"

#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/Messagebox.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/OnlineSentences.h"
#include "lessons/PaymentTexts.h"

void CloseAllLessonDialogs()
{
}

// Until the advisor exists, the per-turn part is the CPU's discard-done byte.
void ResetOnlineLesson(int flag)
{
    s_CpuDiscardDone = false;
    s_HumanEndOfTurn = false;
    if (flag != 0) {
        ResetAbilityExplained();
        ResetOnlineSentences();
    }
}

void ClearPerGameWords()
{
    s_bPaymentUndoRequested = false;
}

// Until the basic lesson's steps exist, every land is the one a step expects.
bool IsCardTheExpectedLand(const CardActor* /*card*/)
{
    return true;
}

void NotifyLandTapped(CardActor* /*card*/)
{
}

void PositionOpponentBalloon()
{
    PositionLessonBox(GetCpuTurnBalloon());
}
