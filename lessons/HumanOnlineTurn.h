// The human's turn in the online lesson, run once a frame by the "player" actor: the opening (deal, your-hand
// explanation, mulligan), the turn itself (untap, draw, main phase, attack, combat damage, end of turn with
// discard) and the blocks during the CPU's attack. It reads clicks on cards and prompt buttons; it never decides
// for the learner.
#pragma once

class Actor;
class CardActor;

void HumanOnlineTurn(Actor* actor);
void ResetHumanOnlineTurn();

// The mulligan prompt's answer: 1 mulligan (a smaller hand dealt again), 2 keep. With no mulligan left a
// mulligan is taken as keep.
void AnswerMulligan(int answer);
int GetMulligansLeft();
void SetMulligansLeft(int left);
// The human's hand above 7 at the end of the turn: a hand card clicked then goes. True when it was discarded.
bool HumanMustDiscard();
bool DiscardHumanCard(CardActor* card);
// The card the learner is casting in the main phase, null when none; the advisor's Cancel gives it up.
CardActor* GetHumanCastingCard();
void ForgetHumanCastingCard();
