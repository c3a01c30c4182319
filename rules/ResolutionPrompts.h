// The prompts a paused resolution hands over to: library searches and looks, draws and discards. Until they exist
// a started prompt ends the resolution at once.
#pragma once

// A tutor or spy resolution.
void StartLibraryPrompt(int effectType);
// The human draws or discards.
void StartDrawDiscardPrompt();
// The online message field shows a prompt text.
bool IsOnlinePromptShowing();

class CardActor;
class SpellStack;

// The text and voice a paused resolution opens with; key null when the prompt shows no text.
struct ResolutionPromptText {
    int row = 0;  // the basic game's spell row, 1 to 10; 0 when none holds
    const char16_t* key = nullptr;
    const char16_t* voice = nullptr;
    bool okButton = false;
};

// The basic game's own prompt for the resolving spell (the stack's resolving block, the players' lives now).
ResolutionPromptText GetBasicSpellPrompt(const SpellStack& stack);
// The general draw prompt of the human: one card or several, a spell or an ability.
ResolutionPromptText GetDrawPrompt(bool isAbility, int count);
// The general discard prompt of the human: the CPU's card, the human's spell or the human's ability.
ResolutionPromptText GetDiscardPrompt(bool cpuCard, bool isAbility, int count);
// The online discard prompt.
const char16_t* GetOnlineDiscardKey(int count);
