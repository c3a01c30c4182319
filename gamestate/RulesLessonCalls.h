// The lesson operations the rules' code calls: the lesson's advice at the spell stack's waiting entries, the
// drawing and demonstration hands the resolution waits on, the lesson box, the payment's lesson checks and the
// clean-up of the lesson's words. The lessons fill it once at start-up (FillLessonCalls); a null field gives the
// no-lesson answer: nothing waits on a lesson (advice answered, game started, hands at rest and idle), no box is
// up (tag -1), nothing is forbidden or blocked, and a call without a result does nothing.
#pragma once

class Actor;
class CardActor;
struct StackEntry;

struct RulesLessonCalls {
    // The spell stack's prompts: true once the learner has answered; respond tells whether the learner responds.
    bool (*ShowMultipleBlockersAdvice)(int side) = nullptr;
    bool (*ShowCombatDamageAdvice)(int side, bool* respond) = nullptr;
    bool (*ShowOpponentSpellAdvice)(const StackEntry* entry, bool* respond) = nullptr;
    bool (*IsOnlineGameStarted)() = nullptr;
    // The resolution runner waits on the hands and the lesson box.
    int (*DrawPendingCards)() = nullptr;
    bool (*IsDrawHandAtRest)() = nullptr;
    bool (*IsHandAnimationBusy)() = nullptr;
    bool (*IsHandDemoBusy)() = nullptr;
    bool (*AreHandDemosIdle)() = nullptr;
    bool (*IsLessonBoxShowing)() = nullptr;
    int (*GetLessonBoxTag)() = nullptr;
    // The stack's prompt window and the target prompt take the lesson box's place.
    void (*CloseLessonBox)() = nullptr;
    // The human's payment and the card's usability ask the lesson.
    bool (*IsStepForbiddingPlay)(const CardActor* card) = nullptr;
    bool (*IsLessonInputBlocked)() = nullptr;
    void (*OnHumanLandTapped)(CardActor* land) = nullptr;
    void (*PositionLessonBox)() = nullptr;
    // The game globals' clean-up of a removed actor and of a new game.
    void (*ForgetFlowCard)(const Actor* actor) = nullptr;
    void (*ForgetOnlineResponseActor)(const Actor* actor) = nullptr;
    void (*ResetOnlineResponseState)() = nullptr;
    void (*ClearHandAnimationLists)() = nullptr;
    void (*ResetPendingObjects)() = nullptr;
};
extern RulesLessonCalls g_RulesLessonCalls;
