#include "lessons/LessonCalls.h"

#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TableLessonCalls.h"
#include "lessons/Advice.h"
#include "lessons/CardDrawing.h"
#include "lessons/CpuOnlineResponse.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandAnimationBusy.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonFlow.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/PhysicalLesson.h"
#include "lessons/PhysicalPayment.h"
#include "lessons/TableFlow.h"
#include "lessons/TableSceneReset.h"
#include "lessons/UntapDrawPrompts.h"

void FillLessonCalls()
{
    TableLessonCalls& table = g_TableLessonCalls;
    table.HandleCardDropPhysical = HandleCardDropPhysical;
    table.HandleCardTapPhysical = HandleCardTapPhysical;
    table.IsBasicLessonStep = IsBasicLessonStep;
    table.BuildActionableCards = BuildActionableCards;
    table.CpuOnlineRespond = CpuOnlineRespond;
    table.UpdatePhysicalPayment = UpdatePhysicalPayment;
    table.OnlineAdvisor = OnlineAdvisor;
    table.DetectSituationChange = DetectSituationChange;
    table.ResetTableScene = ResetTableScene;

    RulesLessonCalls& rules = g_RulesLessonCalls;
    rules.ShowMultipleBlockersAdvice = ShowMultipleBlockersAdvice;
    rules.ShowCombatDamageAdvice = ShowCombatDamageAdvice;
    rules.ShowOpponentSpellAdvice = ShowOpponentSpellAdvice;
    rules.DrawPendingCards = DrawPendingCards;
    rules.IsDrawHandAtRest = IsDrawHandAtRest;
    rules.IsHandAnimationBusy = IsHandAnimationBusy;
    rules.IsHandDemoBusy = IsHandDemoBusy;
    rules.AreHandDemosIdle = AreHandDemosIdle;
    rules.IsLessonBoxShowing = IsLessonBoxShowing;
    rules.CloseLessonBox = CloseLessonBox;
    rules.IsBlockPromptUp = IsBlockPromptUp;
    rules.IsBasicLessonStep = IsBasicLessonStep;
    rules.IsCardTheExpectedLand = IsCardTheExpectedLand;
    rules.NotifyLandTapped = NotifyLandTapped;
    rules.PositionLessonBox = PositionOpponentBalloon;
    rules.ClearHandAnimationLists = ClearHandAnimationLists;
    rules.ResetPendingObjects = ResetPendingObjects;
}
