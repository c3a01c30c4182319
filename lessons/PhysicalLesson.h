// What the physical lesson's drop handling offers the card table.
#pragma once

// The countered card it reads and clears.
#include "gamestate/LessonState.h"
#include "lessons/CardDropPhysical.h"
