// The physical lesson's turn-advice words: how often each advice was acknowledged, the combat explanation's
// progress and the end-of-game bookkeeping. Plain words the turn drivers, the advice and the card drawing share.
#pragma once

#include <array>
#include <cstdint>

class CardActor;

constexpr int ADVICE_KIND_COUNT = 60;

struct TurnAdviceState {
    // Indexed by box kind: how often the learner acknowledged that advice in this game.
    std::array<int, ADVICE_KIND_COUNT> adviceCount{};
    // The learner chose Respond during combat: the combat explanations are skipped while set.
    bool respondedInCombat = false;
    // The CPU's attackers have been declared and explained.
    bool attackersDeclared = false;
    // Pages of the basic blocking explanation the learner has passed.
    int blockAdviceStep = 0;
    // The end-of-game sound and statistics were done for this game.
    bool gameOverShown = false;
    // 1 when the human lost the game just ended, 0 when he won.
    int humanLost = 0;
    // How long the draw step lasts before its prompt shows: 0 at first, longer once it has been shown.
    std::uint32_t drawPromptDelay = 0;
    // Card type whose cards glow while the intro runs; -1 none.
    int highlightedCardType = -1;
    // The no-blockers box was shown for the CPU's current attack.
    bool noBlockersShown = false;
    // The land advice was answered in this turn; the creature advice's last suggestion.
    bool landAdviceAnswered = false;
    const CardActor* lastSuggestedCreature = nullptr;
    // The creature the shown creature advice names.
    const CardActor* suggestedCreature = nullptr;
    // The hand size the discard box was built for.
    int discardHandSize = -1;
    // The learner played a land in his current turn (set by the drop handling).
    bool landPlayedThisTurn = false;
    // Set on every frame of the learner's untap step; the drop and tap handlers read it.
    bool untapStepFlag = false;
    // The learner's turn the per-turn words above belong to.
    int adviceTurn = -1;
    // The creature the combat-damage box explains (kind 31) and the damage it took; while flying is set the
    // destroyed creature is drawn on its way to the graveyard.
    const CardActor* flyingCard = nullptr;
    int combatBoxDamage = 0;
    bool flying = false;
};

TurnAdviceState& GetTurnAdviceState();
// Every scene load and every new game: all words back to their start.
void ResetTurnAdviceState();

// The intro's card-type glow (CT_ value, -1 for none).
void SetHighlightedCardType(int cardType);
int GetHighlightedCardType();
