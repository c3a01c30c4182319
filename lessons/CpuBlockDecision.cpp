#include "lessons/CpuBlockDecision.h"

#include "cards/CardActor.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/GameQueries.h"
#include "rules/ManaCost.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int MAX_BLOCK_CANDIDATES = 40;

bool IsHumanAttacker(const CardActor* c, AttackerPower counted)
{
    const int power = c->GetStats().power;
    const bool counts = counted == AttackerPower::AboveZero ? power > 0 : power != 0;
    return c->IsAttacking() && c->GetCardType() == CT_CREATURE && counts && c->CanAct() && c->GetOwner() == PLAYER_HUMAN;
}

bool CannotBeBlocked(const CardActor* c)
{
    const ManaCost& walk = c->GetStats().walk;
    return c->GetStats().isUnblockable || (walk.Total() != 0 && CountCardsPayableWith(PLAYER_CPU, walk) != 0);
}

// The pump the candidate could use to survive: its own or an attached card's, with a toughness gain.
const CardAbility* FindPump(CardActor* candidate)
{
    const CardActor* const source = candidate->CanActivate(nullptr, EFFECT_PTMOD_MANAPUMP);
    const CardAbility* const pump = source != nullptr ? source->GetAbility() : nullptr;
    return pump != nullptr && pump->effect.toughModAmt > 0 ? pump : nullptr;
}

// A losing block is worth it when enough pumps are affordable to keep the candidate alive.
bool PumpSaves(const CardActor* attacker, const CardActor* candidate, const CardAbility& pump)
{
    const int power = attacker->GetStats().power;
    const int toughness = candidate->GetRemainingToughness(false, false);
    if (toughness > power)
        return false;
    const int count = DivideRoundUp(power - toughness + 1, pump.effect.toughModAmt);
    if (count <= 0 || count > MAX_BLOCK_CANDIDATES)
        return false;
    ManaCost total;
    for (int i = 0; i < count; ++i)
        total.Add(pump.cost);
    return CanPay(PLAYER_CPU, total, true);
}

} // namespace

void ChooseCpuBlocks(AttackerPower counted)
{
    int attackingPower = 0;
    std::vector<CardActor*> attackers;
    for (CardActor* c : GetCardActors()) {
        if (!IsHumanAttacker(c, counted))
            continue;
        attackingPower += c->GetStats().power;
        if (!CannotBeBlocked(c))
            attackers.push_back(c);
    }
    if (attackers.empty())
        return;
    const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    const auto isSafe = [&] { return cpu.m_Life + cpu.m_PreventDamage > attackingPower; };
    std::vector<CardActor*> candidates;
    for (CardActor* c : GetCardActors()) {
        if (static_cast<int>(candidates.size()) >= MAX_BLOCK_CANDIDATES)
            break;
        if (c->GetBlockedAttacker() != nullptr || c->GetOwner() != PLAYER_CPU || !IsAbleToBlock(c))
            continue;
        const CardAbility* const ability = c->GetAbility();
        if (ability != nullptr && ability->costType == COSTTYPE_TAP && isSafe())
            continue;
        candidates.push_back(c);
    }
    if (candidates.empty())
        return;
    // Equal power keeps the order in which the table lists the attackers.
    std::stable_sort(attackers.begin(), attackers.end(), [](const CardActor* a, const CardActor* b) {
        return a->GetStats().power > b->GetStats().power;
    });
    for (CardActor* attacker : attackers) {
        const int bits = GetCombatFlags(attacker);
        for (CardActor* candidate : candidates) {
            if (!CanBlockWith(candidate, bits) || candidate->GetTapState() == TAP_TAPPED ||
                candidate->GetBlockedAttacker() != nullptr)
                continue;
            const CardAbility* const pump = FindPump(candidate);
            bool block = SecondKillsFirstAndSurvives(attacker, candidate) || SecondSurvivesFirst(attacker, candidate) ||
                         (pump == nullptr && CreaturesTrade(attacker, candidate));
            const bool decided = block || FirstKillsSecond(attacker, candidate);
            if (!decided)
                continue;
            if (!block)
                block = !isSafe() || (pump != nullptr && PumpSaves(attacker, candidate, *pump));
            if (block) {
                AssignBlocker(attacker, candidate);
                attackingPower -= attacker->GetStats().power;
            }
            break;
        }
    }
}
