// The physical lesson's advice state that the table, the rules and the lessons share: the one lesson box, the
// pending cards that park a play until the learner deals with it, and whether advice blocks the table.
#pragma once

class CardActor;
class Messagebox;

// The one lesson box, owned here; null when none. Setting a new box deletes the old one.
Messagebox* GetLessonBox();
void SetLessonBox(Messagebox* box);
// Deletes the box without unregistering it (the display's list was already emptied).
void DeleteLessonBox();
// The box exists and the display has it registered.
bool IsLessonBoxShowing();

// The card whose cost the learner is paying, the card played without enough untapped land, the card of the last
// mistimed-play error. Setting a card stops the voices first; clearing leaves them alone.
CardActor* GetCardBeingPaid();
void SetCardBeingPaid(CardActor* card);
CardActor* GetUnaffordableCard();
void SetUnaffordableCard(CardActor* card);
CardActor* GetMistimedCard();
void SetMistimedCard(CardActor* card);
// The blocker a blocking error names and the attacker the tap handler refused; both park play like the cards above.
CardActor* GetBlockErrorCard();
void SetBlockErrorCard(CardActor* card);
CardActor* GetRefusedAttacker();
void SetRefusedAttacker(CardActor* card);
// Every scene load: no pending card.
void ClearAdviceCards();

// True while a pending card is parked, the card drawn by hand is in flight, the quit warning is up, or the lesson
// box shows an attack error (kind 34) or the end of the game (kind 18).
bool IsAdviceBlocked();
// The player's library glows while the display asks for it and no advice blocks the table.
bool IsLibraryHighlightWanted();
