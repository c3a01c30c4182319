// Placeholder until the lesson's advice exists: advice is blocked only when set.
#include "lessons/Advice.h"

namespace {

bool s_AdviceBlocked = false;

} // namespace

bool IsAdviceBlocked()
{
    return s_AdviceBlocked;
}

void SetAdviceBlocked(bool blocked)
{
    s_AdviceBlocked = blocked;
}
