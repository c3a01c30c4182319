#include "lessons/PhysicalAdviceState.h"

#include "cards/CardActor.h"

#include <algorithm>

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

void ForgetAdviceCard(const Actor* actor)
{
    if (actor == nullptr)
        return;
    for (std::vector<CardActor*>& saved : s_Advice.savedPending)
        std::erase_if(saved, [actor](const CardActor* c) { return static_cast<const Actor*>(c) == actor; });
    std::erase_if(s_Advice.combatMap, [actor](const auto& entry) { return static_cast<const Actor*>(entry.first) == actor; });
    std::erase_if(s_Advice.combatSet, [actor](const CardActor* c) { return static_cast<const Actor*>(c) == actor; });
    if (static_cast<const Actor*>(s_Advice.lastAdvisedOpponentSpell) == actor)
        s_Advice.lastAdvisedOpponentSpell = nullptr;
}
