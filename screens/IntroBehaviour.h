// The behaviour of the actor type "intro", which opens every lesson game: it deals both decks on its first frame,
// creates the current intro and drives it until it ends. Until the concrete intros exist, a stand-in intro leaves
// the table ready on its first frame.
#pragma once

#include "gamestate/Intro.h"

class Actor;

void IntroBehaviour(Actor* actor);
