// Placeholders until the end-of-step prompts exist: every call answers what a test set. The turn advice's gate is
// in PhysicalTurnAdvice.cpp.
#include "lessons/TurnAdvice.h"

namespace {

TurnAdviceAnswers s_Answers;

bool TakePrompt(int& prompt, int& answer)
{
    if (prompt < 0)
        return false;
    answer = prompt;
    prompt = -1;
    return true;
}

} // namespace

TurnAdviceAnswers& GetTurnAdviceAnswers()
{
    return s_Answers;
}

bool ShowManaBurnWarning(const char16_t* /*key*/)
{
    return s_Answers.manaBurnWaits;
}

bool ShowPassAndNoAttackPrompt(int& answer)
{
    return TakePrompt(s_Answers.passPrompt, answer);
}

bool ShowPlayMoreCardsPrompt(int& answer)
{
    return TakePrompt(s_Answers.playMorePrompt, answer);
}
