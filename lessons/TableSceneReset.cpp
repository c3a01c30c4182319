#include "lessons/TableSceneReset.h"

#include "cards/TableInput.h"
#include "engine/scene/Actor.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/Messagebox.h"
#include "lessons/Advice.h"
#include "lessons/CleanupReminder.h"
#include "lessons/CombatAdvice.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/DrawingHand.h"
#include "lessons/EndOfStepPrompts.h"
#include "lessons/HumanPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/LessonFlow.h"
#include "lessons/TableFlow.h"
#include "rules/GameGlobals.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

void ResetTableScene()
{
    GetSpellStack().Shutdown();
    while (GetActorCount() > 0)
        RemoveActor(GetActorAt(0));

    // Every rules record: life 20, empty pools, graveyards and libraries. The colour choices are kept.
    ResetRulesState();
    GetSpellStack().Shutdown();

    SetPlayerActors(nullptr, nullptr);
    ResetPhysicalTurnState();
    ResetCardMoveState();
    ResetHumanPhysicalTurn();
    GetTableFlow() = TableFlowState();
    GetTableInput().focusedCard = nullptr;
    ClearAdviceCards();
    SetAdviceDelay(INITIAL_ADVICE_DELAY);
    SetSpellPaymentUnderWay(false);
    ResetLessonState();
    SetCanPlayNowFlag(0);
    ResetCleanupReminder();
    ResetDrawHand();
    ResetCpuPhysicalTurn();
    ResetStackAdvice();
    ResetCombatAdvice();
    ResetEndOfStepPrompts();
    ResetTurnAdviceState();
    ResetOnlineTurnState();
    // The CPU begins until the physical intro settles who plays first.
    if (!IsOnlineLesson())
        HandTurnTo(PLAYER_CPU);

    DeleteLessonBox();
    DeleteOnlineAdviceBox();
    DeleteQuitWarningBox();
}
