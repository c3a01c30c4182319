// Placeholder until the lesson's advice exists: the stack's advice answers what a test set.
#include "lessons/Advice.h"

namespace {

bool s_StackAdviceDone = true;
bool s_StackAdviceRespond = false;

bool Answer(int* answer)
{
    if (answer != nullptr && s_StackAdviceDone)
        *answer = s_StackAdviceRespond ? 1 : 0;
    return s_StackAdviceDone;
}

} // namespace

bool ShowMultipleBlockersAdvice(int /*side*/)
{
    return s_StackAdviceDone;
}

bool ShowCombatDamageAdvice(int /*side*/, int* answer)
{
    return Answer(answer);
}

bool ShowOpponentSpellAdvice(const StackEntry* /*entry*/, int* answer)
{
    return Answer(answer);
}

void SetStackAdviceAnswer(bool done, bool respond)
{
    s_StackAdviceDone = done;
    s_StackAdviceRespond = respond;
}
