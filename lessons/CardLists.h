// The online advisor's positions in the actor list, kept in step when actors leave it.
#pragma once

class Actor;

// An actor left the actor list: each advisor cursor standing on it moves on to the next actor, and the advisor
// forgets it.
void ClearCardFromLists(Actor* actor);
// Every actor was destroyed: the cursors stand at the end of the list and the advice box is deleted.
void RebuildCardLists();
