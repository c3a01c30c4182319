// The behaviour of the actor type "intro", which opens every lesson game: it deals both decks on its first frame,
// creates the current intro (NewLessonIntro chooses which) and drives it until it ends.
#pragma once

#include "gamestate/Intro.h"

class Actor;

void IntroBehaviour(Actor* actor);
