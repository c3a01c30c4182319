// The behaviour of the actor type "card": eases a card toward its target point, makes a dragged card follow the
// mouse and drops it on release, and draws the human's held cards. Cards on the table are drawn by the table.
#pragma once

class Actor;
class CardActor;

constexpr float CARD_EASING_RATE = 300.0f;
constexpr float CARD_START_DEPTH = 20.0f;
constexpr float LIBRARY_PILE_DEPTH = 200.0f;
constexpr float DRAGGED_CARD_DEPTH = 6.0f;
constexpr float LIBRARY_CARD_DEPTH = 7.0f;
// Texture flag: draw colour-keyed.
constexpr unsigned int RASTER_FLAG_KEYED = 0x80000000u;

void CardBehaviour(Actor* actor);

// Drawing depth of a held card: a dragged card lies in front of the hand, every four hand slots lie 5 deeper.
float HeldCardDepth(bool draggedByMouse, bool inLibrary, int sortKey);
