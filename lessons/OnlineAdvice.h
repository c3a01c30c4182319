// One piece of online advice as a family of the advisor would give it: its number, its text (a string key with
// its arguments, or a text already built), the box, the buttons, the hint arrow and the spoken sentence. The
// families only choose; the advisor shows.
#pragma once

#include <string>
#include <vector>

struct FormattedText;

constexpr int ADVICE_BOX_WIDTH = 320;
constexpr int ADVICE_BOX_HEIGHT = 240;

struct Advice {
    // 0 for a text that waits for the next numbered advice.
    int number = 0;
    std::u16string key;
    std::vector<std::u16string> args;
    // A text built already (an ability explanation); used instead of the key when not empty.
    std::u16string text;
    // A formatted record shown instead of a plain text (payment with mana symbols, formatted explanations).
    FormattedText* record = nullptr;
    int width = ADVICE_BOX_WIDTH;
    int height = ADVICE_BOX_HEIGHT;
    bool ok = true;
    bool cancel = false;
    // The two answers of a spell with two modes.
    bool choice = false;
    bool arrow = false;
    // Where the arrow points when it does not point at the play area's corner.
    bool arrowPlaced = false;
    int arrowX = 0;
    int arrowY = 0;
    // Advice up that must be answered or must wait.
    bool busy = false;
    // Move the box to the stored position when it is shown.
    bool moveBox = false;
    // Clips in order; the first clears the queue.
    std::vector<std::u16string> voice;
    // The spoken explanation of a cost (generic, coloured, colour index), when generic is not negative.
    int costGeneric = -1;
    int costColored = 0;
    int costColour = 0;
    // What showing the advice does besides the box: burn the learner's pool (an amount not stored), let the
    // opponent's attack through unblocked (the learner cannot block), count the attack as explained.
    bool burnsPool = false;
    bool skipsBlocking = false;
    bool explainsAttack = false;
};

// The text the advice shows: the built text, else the key's text with the arguments in place.
std::u16string AdviceText(const Advice& advice);
// Two pieces of advice look the same on screen: same number, text and buttons.
bool IsSameAdvice(const Advice& a, const Advice& b);
