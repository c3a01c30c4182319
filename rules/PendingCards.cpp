// Placeholder until the pending-card sets exist: the sets are kept; the hooks and the tips do nothing.
#include "rules/PendingCards.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CardActor*> s_Pending[2];

} // namespace

void AddPendingCard(CardActor* card)
{
    if (card == nullptr || IsOnlineLesson())
        return;
    const int owner = card->GetOwner() == 1 ? 1 : 0;
    if (std::find(s_Pending[owner].begin(), s_Pending[owner].end(), card) == s_Pending[owner].end())
        s_Pending[owner].push_back(card);
}

void RemovePendingCard(const CardActor* card)
{
    for (auto& set : s_Pending)
        std::erase(set, card);
}

int CountPendingCards(int player)
{
    return player == 0 || player == 1 ? static_cast<int>(s_Pending[player].size()) : 0;
}

bool IsCardPendingForOwner(const CardActor* card)
{
    if (card == nullptr)
        return false;
    const auto& set = s_Pending[card->GetOwner() == 1 ? 1 : 0];
    return std::find(set.begin(), set.end(), card) != set.end();
}

void ClearPendingCards()
{
    s_Pending[0].clear();
    s_Pending[1].clear();
}

void NotifyCardHeldChanged(int /*side*/, CardActor* /*card*/)
{
}

void ShowFirstAppearanceTip(CardActor* /*card*/)
{
}
