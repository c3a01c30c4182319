// The words of the CPU's online answers that outlive a call: the keys it has used, the card it used last, and
// the learner's cards whose action is still under way. The rules clear a removed card out of them and reset the
// whole record for a new game.
#pragma once

#include <set>
#include <vector>

class Actor;
class CardActor;

struct OnlineResponseState {
    std::set<const Actor*> usedKeys;
    CardActor* actingCard = nullptr;
    std::vector<CardActor*> actionable;
};
OnlineResponseState& GetOnlineResponseState();
void ResetOnlineResponseState();
