// The physical lesson's turn advice: the boxes that walk the learner through each step of a turn.
#pragma once

// False while the advice holds the game; side 0 from the human's driver, 1 from the CPU's.
bool UpdatePhysicalTurnAdvice(int side);
// The warning before mana burns (basic game only): true while the learner must still answer it.
bool ShowManaBurnWarning(const char16_t* key);
// The end-of-turn prompts: true once answered, with the button chosen; false when there is nothing to ask.
bool ShowPassAndNoAttackPrompt(int& answer);
bool ShowPlayMoreCardsPrompt(int& answer);

// Placeholders until the end-of-step prompts exist: what the three prompts above answer.
struct TurnAdviceAnswers {
    bool manaBurnWaits = false;
    int passPrompt = -1;      // -1: nothing to ask
    int playMorePrompt = -1;  // -1: nothing to ask
};
TurnAdviceAnswers& GetTurnAdviceAnswers();
