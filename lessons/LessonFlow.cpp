#include "lessons/LessonFlow.h"

#include "cards/CardWindows.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/OnlineSentences.h"
#include "lessons/PaymentTexts.h"
#include "rules/TargetPrompt.h"

// Shutdown: the lesson's windows go while the display they are registered with still exists.
void CloseAllLessonDialogs()
{
    if (Messagebox* const box = GetLessonBox()) {
        GameDisplay* const display = GetGameDisplay();
        if (display != nullptr && display->IsWindowRegistered(box))
            display->UnregisterWindow(box);
        DeleteLessonBox();
    }
    DeleteCpuTurnBalloon();
    DeleteGraveyardDialogs();
    DestroyAllDialogs();
    DeleteTargetPrompt();
}

// 1 at every scene load: everything; 0 at each end of turn: the per-turn part, with both end-of-turn bytes.
void ResetOnlineLesson(int flag)
{
    s_CpuDiscardDone = false;
    s_HumanEndOfTurn = false;
    if (flag != 0) {
        ResetAbilityExplained();
        ResetOnlineSentences();
    }
    ResetOnlineAdvisor(flag != 0);
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
