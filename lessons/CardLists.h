// The rules code's three card lists over the card actors of the actor registry.
#pragma once

class Actor;

// Removes a card actor from the lists; the registry calls it when the actor is removed.
void ClearCardFromLists(Actor* actor);
// Rebuilds the lists from the actor list; the registry calls it after destroying every actor.
void RebuildCardLists();
