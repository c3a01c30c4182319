// What the online advisor sees of the game when it chooses advice: the turn and combat words of the drivers,
// the card being played, the stack, and the phase stops, read once per new situation.
#pragma once

#include <array>

class CardActor;
class Actor;

// Turn steps of the online drivers as the advisor reads them.
constexpr int STEP_UNTAP = 1;
constexpr int STEP_MAIN = 5;
constexpr int STEP_COMBAT = 7;
constexpr int STEP_DAMAGE = 10;
constexpr int STEP_FIRST_STRIKE_DAMAGE = 12;
constexpr int STEP_END = 18;

// Phase stops asked by the advisor: 3 begin combat ... 9 end of turn.
constexpr int PHASE_STOP_COUNT = 12;

struct AdviceSituation {
    int mode = 3;
    bool humanTurn = false;
    bool cpuTurn = false;
    // The state of the actor of the side whose turn it is.
    int activeStep = 0;
    int turnNumber = 0;
    bool postCombat = false;
    bool landPlayed = false;
    // The learner's attack: 0, 1 declaring, 2 declared.
    int attackStep = 0;
    // Blocks against the learner's attack: 0 none yet, 1 and 2 made.
    int blocksAgainstLearner = 0;
    // The learner's blocking in the opponent's turn: 0 before, 1 choosing blockers, 2 declared.
    int learnerBlocking = 0;
    // The opponent's attack sub-step.
    int cpuCombatStep = 0;
    // The card the learner is playing (its target prompt or payment), and whether a payment is under way.
    CardActor* advisedCard = nullptr;
    bool paying = false;
    // The stack.
    int stackCount = 0;
    int promptCode = 0;
    int topController = 0;
    CardActor* topCard = nullptr;
    Actor* topTargetCard = nullptr;
    Actor* topTargetPlayer = nullptr;
    CardActor* resolvingCard = nullptr;
    bool resolvingAbility = false;
    // The learner's creature just paid for, watched until it resolves.
    CardActor* watchedCard = nullptr;
    // The learner's attacker the turn flow singles out for explanation.
    CardActor* singledOutAttacker = nullptr;
    bool attackExplained = false;
    // 1 lands, 2 creatures, 3 both to untap.
    int untapSummary = 0;
    // Phase stops by side (0 the learner's turn) and step.
    std::array<std::array<bool, PHASE_STOP_COUNT>, 2> stops{};

    bool Stop(int side, int step) const
    {
        return step >= 0 && step < PHASE_STOP_COUNT && stops[static_cast<std::size_t>(side)][static_cast<std::size_t>(step)];
    }
};

// The situation of the running game.
AdviceSituation TakeAdviceSituation();
// The card the advice is about: the instant being prepared, else the card the learner's driver is casting.
CardActor* GetAdvisedCard();
// The player actor of a side (0 the learner), looked up again when the stored one is gone; null when none.
const Actor* FindPlayerActor(int side);
// True when the situation differs from the one stored at the previous call, or when force is set; stores the new
// signature.
bool DetectSituationChange(bool force);
