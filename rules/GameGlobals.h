// The game globals that refer to card actors.
#pragma once

class Actor;

// Clears every game global that refers to the actor; the registry calls it when the actor is removed.
void OnCardActorRemoved(Actor* actor);
// Resets the game globals; the registry calls it after destroying every actor.
void ResetGameState();
