// The prompts a paused resolution runs step by step: the basic game's spell explanations, draws and discards,
// library searches and looks; the texts and voices they open with.
#pragma once

#include <string>

class Actor;
class CardActor;
class SpellStack;

// A resolution prompt holds the online message field.
bool IsOnlinePromptShowing();
// The human's sorcery shown on its way to the graveyard, or null.
CardActor* GetSpentSorcery();
// A removed card is no longer the spent sorcery.
void ForgetSpentSorcery(const Actor* actor);
// The clip the prompts last asked for; cleared on demand.
const std::u16string& GetLastPromptVoice();
void ClearLastPromptVoice();
// The human's drawn cards still lying on the library pile.
int CountCardsStillInLibrary();


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
