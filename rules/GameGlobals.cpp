// Placeholder until the game globals exist: nothing refers to an actor yet.
#include "rules/GameGlobals.h"

void OnCardActorRemoved(Actor* /*actor*/)
{
}

void ResetGameState()
{
}
