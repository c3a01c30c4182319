// The online advisor's memory of one game: its budgets and once-only flags, the per-turn words, the advice on
// screen and the situation signature. One game runs at a time.
#pragma once

#include "lessons/OnlineAdvice.h"

#include <array>
#include <vector>

class Actor;
class CardActor;

// A position in the card actors of the actor list that a search resumes from. It stands on the next card to
// look at; when that card leaves, it moves on to the card after it.
struct AdvisorCursor {
    CardActor* next = nullptr;
    bool atEnd = false;
    // The order the cursor was last taken in, to find the card after one that left.
    std::vector<const Actor*> order;

    void ToStart();
    void ToEnd();
    // The index in the current card list a search starts at.
    int Position() const;
    // After a search left the index behind the card it returned.
    void SetPosition(int position);
    // The card left the actor list.
    void Forget(const Actor* actor);
};

// The signature of a situation: a change of any part makes a new one.
struct SituationSignature {
    bool valid = false;
    int learnerWord = 0;
    int opponentWord = 0;
    bool turnSide = false;
    int stackState = 0;
    int watchedState = 0;
    int stackCount = 0;
    const CardActor* advisedCard = nullptr;
    // The advised card's progress: its target chosen, its mode answered.
    const Actor* advisedTarget = nullptr;
    int advisedState = 0;
    const CardActor* opponentChoice = nullptr;
    int humanTapped = 0;
    int cpuTapped = 0;
    int lands = 0;
};

struct OnlineAdvisorState {
    // ---- One game -------------------------------------------------------------------------------------------
    int lastAdvice = -1;
    int vanillaBudget = 4;
    int skippedCombatBudget = 3;
    std::array<int, 4> blockBudgets{1, 1, 1, 1};
    int firstLandBudget = 4;
    int secondLandBudget = 5;
    // Patterns C and 1C, CC and 1CC, NC and NCC.
    std::array<int, 3> paymentBudgets{5, 6, 6};
    bool drawSkipped = true;
    int attackInstantsBudget = 3;
    int blockInstantsBudget = 3;
    int blockingExplanationBudget = 2;
    int defencelessOpponentBudget = 2;
    bool moveBox = true;
    std::array<bool, 4> untapShown{};
    // Learner's turn variants 1 and 2, opponent's turn variants 1 and 2.
    std::array<bool, 4> waitingShown{};
    std::array<bool, 2> firstDamage{};
    // Unblockable attacker, flying attacker.
    std::array<bool, 2> attackerExplained{};
    // Ids 207, 218, special creatures, non-blockers.
    std::array<int, 4> resolvedCounts{};
    bool drawStepShown = false;

    // ---- One turn -------------------------------------------------------------------------------------------
    int advice = 0;
    bool busy = false;
    bool redraw = false;
    bool dirty = false;
    CardActor* watchedCard = nullptr;
    int lastActiveStep = -1;
    int page = 0;
    int pageSpoken = 0;
    Advice shown;
    // The advice on screen was answered: the same advice is not put up again until other advice came between.
    bool answered = false;
    AdvisorCursor sicknessCursor;
    AdvisorCursor pumpCursor;
    const CardActor* bestCreatureAfter = nullptr;
    const CardActor* killableAfter = nullptr;
    // How often each damage instant (97, 100) was offered to win this turn.
    std::array<int, 2> instantWinsOffered{};
    int unblockedIndex = 0;
    int situations = 0;
    bool remindersDone = false;
    bool endMainDone = false;
    bool combatDamageExplained = false;
    bool blockBudgetTaken = false;
    bool prompt1112Seen = false;
    bool landAdvisedThisTurn = false;
    bool skippedCombatDone = false;
    int untapSummary = 0;
    int turnNumber = 0;
    int landsAtTurnStart = 0;
    // Mana left in the learner's pool at the end of a turn, shown as mana burn next.
    int pendingManaBurn = 0;
    int chooseManaCount = 0;
    int savedPromptCode = 0;
    SituationSignature signature;
};

OnlineAdvisorState& GetOnlineAdvisorState();
// The per-game part back to its start, then the per-turn part.
void ResetAdvisorGame();
// The per-turn part.
void ResetAdvisorTurn();
