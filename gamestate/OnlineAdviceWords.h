// The online advisor's words that the turn drivers, the rules and the table read or write: the advice number on
// screen, whether the advice runs at all, and the flags a driver raises for it.
#pragma once

// The advice number on screen, 0 when none; above 999 for the late numbers (mana burn, ability explanations).
extern int g_OnlineAdviceNumber;
// Set when the learner's lesson advice starts (the opening hand is kept); cleared at a game's end.
extern bool s_bAdvisorOn;
// Raised by the learner's driver in a step where it explains why a creature cannot block: the blocking advice stays.
extern bool s_bCloseBlock;
// The attack explanation has been given this game; the learner's attack need not wait for it again.
extern bool s_bAttackExplained;

void ResetOnlineAdviceWords();
