// What the physical lesson's drop handling offers the card table. Until the lesson exists a drop does nothing.
#pragma once

// The countered card it reads and clears.
#include "gamestate/LessonState.h"

class CardActor;

// Called for every drag that ends.
void HandleCardDropPhysical(CardActor* card);
