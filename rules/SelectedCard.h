// The selected-card driver: a click on a card turns into an ability's activation or an instant's casting, walked
// through target choice and payment onto the stack; the X-cost collection; the games-played statistics.
#pragma once

class CardActor;

// Per frame from the camera.
void ProcessSelectedCard();
// True while X is still being collected for the card.
bool PayXCost(CardActor* card);
// The learner confirmed the X amount (the prompt's button).
void ConfirmXCostPrompt();
// Counts a finished game in the settings (and a won one).
void CountGamePlayed(bool won);
