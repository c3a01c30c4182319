// The families of online advice. Each looks at the situation and the advisor's memory and returns the advice it
// would give, or none; a family spends a budget or sets a once-only flag only when its advice is new (its number
// differs from the advice of the previous situation). The advisor shows what ChooseAdvice returns.
#pragma once

#include "lessons/OnlineAdvice.h"
#include "lessons/OnlineAdviceSituation.h"
#include "lessons/OnlineAdviceState.h"

#include <optional>
#include <string>
#include <string_view>

class Actor;
class CardActor;

using AdviceChoice = std::optional<Advice>;

// 1010: mana left in the learner's pool burns; the amount stored at the end of a turn, else the pool's.
AdviceChoice AdviseManaBurn(const AdviceSituation& s, OnlineAdvisorState& m);
// 150-156: the target prompt of the card the learner is playing.
AdviceChoice AdviseTargetPrompt(const AdviceSituation& s, OnlineAdvisorState& m);
// 31-36: how to pay for it.
AdviceChoice AdvisePayment(const AdviceSituation& s, OnlineAdvisorState& m);
// 23-28, 101: the opponent's instant on the stack.
AdviceChoice AdviseOpponentInstant(const AdviceSituation& s, OnlineAdvisorState& m);
// 1-4: what the untap step untaps, once per game each.
AdviceChoice AdviseUntap(const AdviceSituation& s, OnlineAdvisorState& m);
// 42-44, 47, 48, 51: the learner's attack.
AdviceChoice AdviseLearnerAttack(const AdviceSituation& s, OnlineAdvisorState& m);
// 57, 76, 102: combat damage of either turn.
AdviceChoice AdviseCombatDamage(const AdviceSituation& s, OnlineAdvisorState& m);
// 102 alone.
AdviceChoice ExplainCombatDamage(const AdviceSituation& s, OnlineAdvisorState& m);
// 80-87: the learner's creature that has just resolved.
AdviceChoice AdviseResolvedCreature(const AdviceSituation& s, OnlineAdvisorState& m);
// 5, 7, 10-17, 19, 21: the learner's main phase.
AdviceChoice AdviseLearnerMain(const AdviceSituation& s, OnlineAdvisorState& m);
// 20, 29, 30: what to do with the hand in the main phase.
AdviceChoice AdviseGeneric(const AdviceSituation& s, OnlineAdvisorState& m);
// 105: the game waits for instants at a phase stop.
AdviceChoice AdviseWaiting(const AdviceSituation& s, OnlineAdvisorState& m);
// 17, 28, 51, 58-65, 78: the opponent's turn.
AdviceChoice AdviseOpponentTurn(const AdviceSituation& s, OnlineAdvisorState& m);
// 1001, 1002: the abilities of cards of the advanced game.
AdviceChoice AdviseAbilities(const AdviceSituation& s, OnlineAdvisorState& m);

// The families in the advisor's fixed order for a new situation (mana burn excluded).
AdviceChoice ChooseAdvice(const AdviceSituation& s, OnlineAdvisorState& m);

// 17: a damage instant of the learner finishes a damaged creature of the owner (spoken in the opponent's turn).
AdviceChoice AdviseKillableCreature(OnlineAdvisorState& m, int owner, bool spoken);
// 47 (after attacking) or 51 (after blocking): instants now; noBlocks when the defender could block but did not.
AdviceChoice AdviseCombatInstants(OnlineAdvisorState& m, int number, bool noBlocks);

// ---- Shared by the families ---------------------------------------------------------------------------------
bool IsNewAdvice(const OnlineAdvisorState& m, int number);
// Advice that is not new repeats what is on screen, silent: its budget or once-only flag was spent when it was.
AdviceChoice KeepShown(const OnlineAdvisorState& m);
// The learner's card of that id in hand that its available mana pays for, or null.
CardActor* AffordableLearnerCard(int id);
std::u16string ActorName(const Actor* actor);
// The text of a key, empty when the table lacks it.
std::u16string KeyString(std::u16string_view key);
// "data\wavsonl\" + stem + ".wav".
std::u16string OnlineClip(std::u16string_view stem);
void AddCardClip(Advice& advice, int cardId, std::u16string_view suffix);
void AddNumberClip(Advice& advice, int n, std::u16string_view suffix);
