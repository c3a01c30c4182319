#include "gamestate/PhysicalAdviceState.h"

namespace {

PhysicalAdviceState s_Advice;

} // namespace

PhysicalAdviceState& GetPhysicalAdviceState()
{
    return s_Advice;
}

void ResetPhysicalAdviceState()
{
    s_Advice = PhysicalAdviceState();
}
