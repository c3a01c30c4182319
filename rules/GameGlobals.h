// The rules' state in one place: the registry lets go of removed cards here, and a new game (or a test case)
// resets everything at once.
#pragma once

class Actor;

// Clears every game record that refers to the actor (a card or a player); the registry calls it when the actor is
// removed and for each actor when it destroys them all.
void OnCardActorRemoved(Actor* actor);
// The registry calls it after destroying every actor: every rules record back to its start.
void ResetGameState();
// Everything the rules keep: player records, payment, stack, combat records, block links, library actors,
// pending sets and tips, decks, target choice. Life is 20 afterwards.
void ResetRulesState();
