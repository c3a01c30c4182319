// Placeholder until the target prompt exists.
#include "rules/TargetPrompt.h"

#include "cards/CardActor.h"

namespace {

int s_Rejects = 0;

} // namespace

Actor* RunTargetPrompt(CardActor* /*source*/, CardActor* candidate, bool /*isAbility*/, bool /*cancelPaymentOnAbort*/,
                       bool* /*aborted*/)
{
    return candidate;
}

void RejectTargetClick()
{
    ++s_Rejects;
}

void RefuseHostileTarget(const char16_t* /*key*/)
{
}

void CloseTargetPromptAfterChoice()
{
}

int GetTargetRejectCount()
{
    return s_Rejects;
}
