// What the lesson flows do with the card table each frame: the per-frame lesson steps the camera and the cards
// run, and the clean-up when an actor leaves. Until the lesson flows exist the steps do nothing.
#pragma once

#include "gamestate/TableFlowState.h"
// Whose turn it is.
#include "gamestate/TurnFlags.h"
// The press on a card.
#include "lessons/CardTapPhysical.h"

class Actor;
class CardActor;

// A removed actor leaves every lesson slot and set, the player slots included.
void ForgetFlowCard(const Actor* actor);

// Per-frame lesson steps.
bool DetectSituationChange(bool pending);
