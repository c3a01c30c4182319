// Operations the turn advice calls that other lesson flows provide; until they exist these give the answer of a
// table with nothing to report.
#pragma once

class CardActor;

// The drop-to-attack check run without a card: true while its error box is up or has just been answered.
bool CheckDropToAttack(CardActor* card);
// Whether the card still stands in the combat being fought out.
bool IsCardInCombatSet(const CardActor* card);
// The combat-damage explanation for the side: true while it holds the game.
bool ShowCombatResult(int side);
// The instant prompt of the learner's block step (kind 27).
void ShowBlockInstantPrompt();
// The drawing hand deals that many cards to the CPU.
void StartHandAnimation(int count);
