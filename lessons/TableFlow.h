// What the lesson flows do with the card table each frame: the per-frame lesson steps the camera and the cards
// run. Until the lesson flows exist the steps do nothing.
#pragma once

#include "gamestate/TableFlowState.h"
// Whose turn it is.
#include "gamestate/TurnFlags.h"

class CardActor;

// Per-frame lesson steps.
void HandleCardTapPhysical(CardActor* card);
// Built with the online advisor.
bool DetectSituationChange(bool force);
