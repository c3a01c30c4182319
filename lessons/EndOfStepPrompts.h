// The physical lesson's prompts before the learner leaves a step: floating mana that will burn, a free attack
// about to be given up, and cards that could still be played this turn.
#pragma once

// The warning before mana burns (basic lesson only), with one line per land to untap: true while it is up; it
// withdraws itself once the pool is empty.
bool ShowManaBurnWarning(const char16_t* key);
// The end-of-turn questions: true while the prompt is up (answer -1) or when it was just answered (answer holds
// the button index); false when there is nothing to ask.
bool ShowPassAndNoAttackPrompt(int& answer);
bool ShowPlayMoreCardsPrompt(int& answer);

// The learner's driver starts every turn with both prompts unasked; a counter set high silences its prompt for
// the rest of the turn.
void ResetEndOfStepPrompts();
int& PassPromptCounter();
int& PlayMoreCardsCounter();

