// Placeholder until the lesson's advice exists: the stack's advice answers what a test set.
#include "lessons/Advice.h"

namespace {

bool s_StackAdviceDone = true;
bool s_StackAdviceRespond = false;

bool Answer(bool* respond)
{
    if (respond != nullptr)
        *respond = s_StackAdviceDone && s_StackAdviceRespond;
    return s_StackAdviceDone;
}

} // namespace

bool ShowMultipleBlockersAdvice(int /*side*/)
{
    return s_StackAdviceDone;
}

bool ShowCombatDamageAdvice(int /*side*/, bool* respond)
{
    return Answer(respond);
}

bool ShowOpponentSpellAdvice(const StackEntry* /*entry*/, bool* respond)
{
    return Answer(respond);
}

void SetStackAdviceAnswer(bool done, bool respond)
{
    s_StackAdviceDone = done;
    s_StackAdviceRespond = respond;
}
