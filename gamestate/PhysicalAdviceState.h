// The physical lesson's advice words that the turn drivers read and write. Until the advice exists they keep
// what the drivers and the tests put there.
#pragma once

#include <array>
#include <map>
#include <set>
#include <vector>

class CardActor;

struct PhysicalAdviceState {
    // The learner asked to respond; the drivers wait until the advice or the camera clears it.
    bool respondRequest = false;
    // The combat-damage advice was answered.
    bool combatAdviceAnswer = false;
    bool opponentSpellAdvice = false;
    // Cleared in the CPU's second main phase.
    bool cardSpecificAdvice = false;
    // While set, the next CPU frame moves both pending-card sets into the saved sets.
    bool savedSetsPending = true;
    std::array<std::vector<CardActor*>, 2> savedPending;
    std::array<bool, 2> onceGameAdvice{};
    std::array<int, 3> perTurnAdvice{};
    const CardActor* lastAdvisedOpponentSpell = nullptr;
    // The opponent's spell whose clip was last started: a spell is spoken once.
    const CardActor* lastSpokenOpponentCard = nullptr;
    // Shared with the mat layout while a combat is on the table.
    std::map<const CardActor*, int> combatMap;
    std::set<const CardActor*> combatSet;
};

PhysicalAdviceState& GetPhysicalAdviceState();
void ResetPhysicalAdviceState();
