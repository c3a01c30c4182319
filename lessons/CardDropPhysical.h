// What a card dropped on the physical table means: a draw, a land, a spell, an instant in answer, a card put into
// the graveyard, or a wrong move answered in the lesson box with a spoken clip. Online a drop only ends the drag.
#pragma once

class CardActor;

// Lesson box kinds the drop answers with.
constexpr int KIND_BAD_DRAW_PLACE = 2;
constexpr int KIND_BAD_DRAW = 3;
constexpr int KIND_COMBAT_DAMAGE = 31;
constexpr int KIND_LOST_DAMAGE = 32;
constexpr int KIND_DROP_TO_ATTACK = 35;

// Called by the table every time a drag ends.
void HandleCardDropPhysical(CardActor* card);
// A creature dropped on a CPU creature: the error that attacking is declared, not dropped. With null, a kind-35 box
// the learner has answered is closed. True when the box was shown, is up or was closed.
bool CheckDropToAttack(CardActor* card);
// The physical lesson's kind-35 box is up.
bool IsBlockPromptUp();
// The card drawn by the turn driver has left the pile and not yet reached the hand.
bool IsDrawnCardInFlight();
