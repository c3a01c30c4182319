// Placeholder until the card windows exist: no window shows an actor.
#include "cards/CardWindows.h"

void ReleaseActorCardWindow(Actor* /*actor*/)
{
}
