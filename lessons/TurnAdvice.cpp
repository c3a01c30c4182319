// Placeholder until the physical lesson's advice exists: every call answers what a test set.
#include "lessons/TurnAdvice.h"

namespace {

TurnAdviceAnswers s_Answers;

} // namespace

TurnAdviceAnswers& GetTurnAdviceAnswers()
{
    return s_Answers;
}

bool UpdatePhysicalTurnAdvice(int side)
{
    return side == 0 ? s_Answers.advanceHuman : s_Answers.advanceCpu;
}
