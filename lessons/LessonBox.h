// The physical lesson's current lesson box and the card whose cost the learner is paying.
#pragma once

class Messagebox;
class CardActor;

// The box the flows show; null when none. The owner deletes it through CloseLessonBox or the scene reset.
Messagebox* GetLessonBox();
void SetLessonBox(Messagebox* box);
// The box a flow fills anew: a new one when there is none, else the current one taken off the display.
Messagebox* ReuseLessonBox();
// Deletes the box only while the display still has it registered; an unregistered box is left alone.
void CloseLessonBox();
// Deletes the box without unregistering (the display's list was already emptied).
void DeleteLessonBox();

CardActor* GetCardBeingPaid();
void SetCardBeingPaid(CardActor* card);
// Set with the card being paid while the learner pays for a spell.
bool IsSpellPaymentUnderWay();
void SetSpellPaymentUnderWay(bool underWay);
// A registered lesson box of that kind, or null.
Messagebox* GetShownLessonBox(int kind);
