// The physical lesson's lesson box: the one reused message box in which every advice, prompt and error is shown,
// the call pattern every raiser follows, and the balloon placement beside the side panel. The box and the pending
// cards themselves are kept in the advice state, which the table and the rules read.
#pragma once

#include "gamestate/AdviceState.h"

#include <cstdint>
#include <string>
#include <vector>

class CardActor;
class Messagebox;
class WordBalloon;

// Where a shown box goes: at the advice position when it is new or was of another kind (the rule), or only when
// it is new (the play errors and the block-step prompt).
enum class LessonBoxPlacing { NewOrOtherKind, OnlyNew };

// What a raiser chooses; everything else is the shared pattern.
struct LessonBoxContent {
    int kind = -1;
    // Nominal size: the width is multiplied by the text scale, the height follows the text.
    int width = 300;
    int height = 200;
    // The text's key, or a text built at run time (used when the key is null).
    const char16_t* textKey = nullptr;
    std::u16string builtText;
    // Button label keys in answer order; disabled holds the indices greyed out.
    std::vector<const char16_t*> buttons;
    std::vector<int> disabled;
    // A box measured shorter than its nominal height is set back to it.
    bool keepNominalHeight = false;
    LessonBoxPlacing placing = LessonBoxPlacing::NewOrOtherKind;
    // The box is moved off this card before it is shown.
    const CardActor* avoidCard = nullptr;
    // An explanation link shown under the text as a link label (-1: none).
    int explanationLink = -1;
};

// Fills and shows the lesson box: made when missing, reset, sized, kinded, texted, buttoned, auto-sized, placed as
// the content says, moved off its card and registered. The voice cue is the raiser's. Returns the box.
Messagebox* ShowLessonBox(const LessonBoxContent& content);
// The box a flow fills itself: a new one when there is none, else the current one taken off the display.
Messagebox* ReuseLessonBox();
// Closes only a registered box: unregisters and deletes it and stops the voices.
void CloseLessonBox();
// A registered lesson box of that kind, or null.
Messagebox* GetShownLessonBox(int kind);
// The answer of a shown box of that kind: on a pressed button the box is closed and the voices stopped, and the
// index is returned; -1 while none is pressed or the box is not up.
int TakeLessonBoxAnswer(int kind);

// Set with the card being paid while the learner pays for a spell.
bool IsSpellPaymentUnderWay();
void SetSpellPaymentUnderWay(bool underWay);

// Places a word balloon by the display's layout values: a balloon with a pointer side at the anchor point plus
// (5, 8); otherwise its right edge at the side panel's left edge (its left edge at the panel's right edge where
// that would leave the screen), its bottom half a panel below the base line.
void PositionLessonBox(WordBalloon* balloon);

// The advice delay at start and after every scene reset.
constexpr std::uint32_t INITIAL_ADVICE_DELAY = 1000;
// How long the step advice waits after the lesson time stamp before it raises the untap prompt.
std::uint32_t GetAdviceDelay();
void SetAdviceDelay(std::uint32_t delay);
// The advice delay of a language: longer for the languages whose clips run longer.
std::uint32_t GetAdviceDelayForLanguage(int languageId);

// The opponent's balloon showing a turn-advice kind (56-57 basic, 56-59 advanced) is protected while a
// card-specific dialog is shown or queued or the lesson box is registered.
bool IsProtectedAdviceWindow(const Messagebox* window);
