#include "rules/CombatResults.h"

#include "cards/CardActor.h"
#include "rules/CombatDamage.h"

#include <algorithm>
#include <array>

namespace {

std::deque<CombatResult> s_Queue;
std::array<std::vector<CardActor*>, 2> s_Hit;

void NoteHit(CardActor* card, int damage)
{
    if (card == nullptr || damage <= 0)
        return;
    const int owner = card->GetOwner();
    if (owner != 0 && owner != 1)
        return;
    std::vector<CardActor*>& list = s_Hit[static_cast<std::size_t>(owner)];
    if (std::find(list.begin(), list.end(), card) == list.end())
        list.push_back(card);
}

} // namespace

void QueueCombatResults()
{
    for (const CombatDamageRecord& record : GetCombatDamageRecords()) {
        if (!record.blocked || record.attacker == nullptr || record.entries.empty())
            continue;
        CombatResult result{record.attacker, record.damageTaken, {}};
        NoteHit(record.attacker, record.damageTaken);
        for (const CombatDamageEntry& entry : record.entries) {
            if (entry.blocker == nullptr)
                continue;
            result.blockers.push_back(CombatResultBlocker{entry.blocker, entry.assigned, entry.dealtToAttacker});
            NoteHit(entry.blocker, entry.assigned);
        }
        s_Queue.push_back(std::move(result));
    }
}

std::deque<CombatResult>& GetCombatResultQueue()
{
    return s_Queue;
}

std::vector<CardActor*>& GetCreaturesHitInCombat(int player)
{
    return s_Hit[player == 1 ? 1 : 0];
}

void ForgetCombatResultCard(const CardActor* card)
{
    if (card == nullptr) {
        s_Queue.clear();
        for (std::vector<CardActor*>& list : s_Hit)
            list.clear();
        return;
    }
    // A result whose attacker is gone has nothing left to show; a gone blocker only leaves its line.
    std::erase_if(s_Queue, [card](const CombatResult& result) { return result.attacker == card; });
    for (CombatResult& result : s_Queue)
        std::erase_if(result.blockers, [card](const CombatResultBlocker& b) { return b.blocker == card; });
    std::erase_if(s_Queue, [](const CombatResult& result) { return result.blockers.empty(); });
    for (std::vector<CardActor*>& list : s_Hit)
        std::erase(list, card);
}
