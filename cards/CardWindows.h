// The card windows bound to card actors.
#pragma once

class Actor;

// Removes and deletes every card window that shows the actor (card actors only); the registry calls it when it
// removes an actor.
void ReleaseActorCardWindow(Actor* actor);
