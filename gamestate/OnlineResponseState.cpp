#include "gamestate/OnlineResponseState.h"

namespace {

OnlineResponseState s_Response;

} // namespace

OnlineResponseState& GetOnlineResponseState()
{
    return s_Response;
}

void ResetOnlineResponseState()
{
    s_Response = OnlineResponseState{};
}
