// The lesson operations the rules' code calls: the lesson's advice at the spell stack's waiting entries, the
// drawing and demonstration hands the resolution waits on, the lesson box, the basic lesson's step tests and land
// notice in the human's payment, and the new-game clean-up of the lesson's hands and pending objects. The lessons
// fill it once at start-up (FillLessonCalls); a null field gives the no-lesson answer: nothing waits on a lesson
// (advice answered, hands at rest and idle), no box is up, no step forbids play, no prompt blocks, and a call
// without a result does nothing. The words the rules only read or clear (the online game's begun byte, the lesson
// box, the CPU's online answers) are gamestate records the rules use directly.
#pragma once

class CardActor;
struct StackEntry;

struct RulesLessonCalls {
    // The spell stack's prompts: true once the stack may go on; an answer of 1 means the learner responds.
    bool (*ShowMultipleBlockersAdvice)(int side) = nullptr;
    bool (*ShowCombatDamageAdvice)(int side, int* answer) = nullptr;
    bool (*ShowOpponentSpellAdvice)(const StackEntry* entry, int* answer) = nullptr;
    // The resolution runner waits on the hands and the lesson box.
    int (*DrawPendingCards)() = nullptr;
    bool (*IsDrawHandAtRest)() = nullptr;
    bool (*IsHandAnimationBusy)() = nullptr;
    bool (*IsHandDemoBusy)() = nullptr;
    bool (*AreHandDemosIdle)() = nullptr;
    bool (*IsLessonBoxShowing)() = nullptr;
    // The stack's prompt window and the target prompt take the lesson box's place.
    void (*CloseLessonBox)() = nullptr;
    // The human's payment: the physical lesson's input gates, the basic lesson's expected land and its notice of
    // a tapped land.
    bool (*IsBlockPromptUp)() = nullptr;
    bool (*IsBasicLessonStep)(int state) = nullptr;
    bool (*IsCardTheExpectedLand)(const CardActor* card) = nullptr;
    void (*NotifyLandTapped)(CardActor* card) = nullptr;
    void (*PositionLessonBox)() = nullptr;
    // The game globals' clean-up of a new game.
    void (*ClearHandAnimationLists)() = nullptr;
    void (*ResetPendingObjects)() = nullptr;
};
extern RulesLessonCalls g_RulesLessonCalls;
