// A card shown in the lesson box between its text and its buttons, as the sacrifice prompt shows the card whose
// ability is being paid. The card's window is a child of the box: it goes with the box, and it shows nothing once
// the box has been given other advice.
#pragma once

class CardActor;
class Messagebox;

// Makes the box taller by a card and puts the card's window in the space above the buttons; a card shown before in
// the box is replaced.
void ShowCardInLessonBox(Messagebox& box, CardActor* card);
// The card the box shows, null when none (or when the box now shows other advice).
CardActor* GetLessonBoxCard(const Messagebox& box);
