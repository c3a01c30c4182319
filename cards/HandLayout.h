// The human's hand: the list of held cards by sort key, their slots, the raise ripple under the mouse, where a
// dragged card would be inserted, drawing a card off the library pile, and the phase number the phase bar shows.
// UpdateHandCards, UpdateLibraryDraw and FlushActorRemovals are declared with the frame tick's table steps.
#pragma once

class CardActor;

constexpr int RAISE_RIPPLE_MS = 100;

// The step in pixels by which a card's attachments are offset on the table.
int GetAttachmentOffset();
void UpdateHandLayout();
// Keeps the card's rectangle on the visible table; with alsoPosition the card jumps there too.
void ClampCardActorToTable(CardActor* card, bool alsoPosition);

// Where a card dragged over a hand of n cards goes: i slots lie left of it, k is its own slot (sort key / 4).
struct InsertionSlot {
    int slot = 0;         // the sort key becomes 4 * slot - 2
    int markerSlot = 0;   // the slot whose marker is drawn
    bool between = false; // the between-cards marker, else the slot marker
};
InsertionSlot FindInsertionSlot(int n, int i, int k);
// The phase the active player's state shows; phase is the current one. -1 leaves it unchanged.
int PhaseForState(int state, int phase, bool online);
