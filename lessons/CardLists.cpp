#include "lessons/CardLists.h"

#include "lessons/OnlineAdviceState.h"
#include "lessons/OnlineAdvisor.h"

void ClearCardFromLists(Actor* actor)
{
    OnlineAdvisorState& state = GetOnlineAdvisorState();
    state.sicknessCursor.Forget(actor);
    state.pumpCursor.Forget(actor);
    ForgetAdvisedActor(actor);
}

void RebuildCardLists()
{
    OnlineAdvisorState& state = GetOnlineAdvisorState();
    state.sicknessCursor.ToEnd();
    state.pumpCursor.ToEnd();
    DeleteOnlineAdviceBox();
}
