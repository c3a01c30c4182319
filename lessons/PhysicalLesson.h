// What the physical lesson's drop handling offers the card table. Until the lesson exists a drop does nothing.
#pragma once

class CardActor;

#include "gamestate/LessonState.h"

// Called for every drag that ends.
void HandleCardDropPhysical(CardActor* card);
