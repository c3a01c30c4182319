// What the lesson flows do with the card table each frame: the per-frame lesson steps the camera and the cards
// run.
#pragma once

#include "gamestate/TableFlowState.h"
// Whose turn it is.
#include "gamestate/TurnFlags.h"
// The press on a card.
#include "lessons/CardTapPhysical.h"
// The advisor's test for a new situation.
#include "lessons/OnlineAdviceSituation.h"
