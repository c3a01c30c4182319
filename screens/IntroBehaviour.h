// The behaviour of the actor type "intro", which opens every lesson game: it deals both decks on its first frame and
// drives the current intro until it ends. No concrete intro exists yet, so it ends at once.
#pragma once

#include "gamestate/Intro.h"

class Actor;

void IntroBehaviour(Actor* actor);
