// The physical lesson's combat boxes that are not stack advice: the block step's instant prompt while the CPU
// attacks, and the result of each blocked attacker's fight after combat damage.
#pragma once

class Actor;
class CardActor;

// The block step's prompt (kind 27): Pass, and in the advanced lesson Respond while the learner can respond.
void ShowBlockInstantPrompt();
bool IsBlockPromptShowing();

// Shows the result of the next queued fight for the attacking side (0 the learner attacked, 1 the CPU); true when
// a result was taken (a box shown, or a fight with nothing to say). With the queue empty the creatures hit in
// combat that are on their way to the graveyard become pending cards, and the result is false.
bool ShowCombatResult(int side);

// The basic lesson's one-on-one result (kind 31) names the learner's creature of the fight and the damage it took.
struct CombatResultCard {
    CardActor* card = nullptr;
    int damage = 0;
};
CombatResultCard GetCombatResultCard();
void ClearCombatResultCard();

// The creature named by the error about burying a creature that survives; a result box forgets it.
CardActor* GetSurvivingCreature();
void SetSurvivingCreature(CardActor* card);

// A new game: no result record, no surviving creature.
void ResetCombatAdvice();
