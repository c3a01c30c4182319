// Placeholder until the physical lesson's advice exists: every call answers what a test set.
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

bool UpdatePhysicalTurnAdvice(int side)
{
    return side == 0 ? s_Answers.advanceHuman : s_Answers.advanceCpu;
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
