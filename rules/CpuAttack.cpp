#include "rules/CpuAttack.h"

#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuPayment.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <tuple>
#include <vector>

namespace {

struct Fighters {
    int pA, pB, rA, rB;
    bool aloneA, aloneB;
};

Fighters Measure(const CardActor* a, const CardActor* b)
{
    const bool strikeA = a->GetStats().firstStrike;
    const bool strikeB = b->GetStats().firstStrike;
    return {a->GetStats().power,
            b->GetStats().power,
            a->GetRemainingToughness(false, true),
            b->GetRemainingToughness(false, true),
            strikeA && !strikeB,
            strikeB && !strikeA};
}

auto RankKey(const CardActor* card)
{
    return std::make_tuple(card->GetStats().toughness, card->GetManaCounters()->Total(), card->GetStats().flying,
                           card->GetId(), card->GetTapState(), card->GetSerial());
}

bool HumanCoversWalk(const CardActor* attacker)
{
    const ManaCost& walk = attacker->GetStats().walk;
    return walk.Total() != 0 && KeepCoveredColours(GetPlayerState(PLAYER_HUMAN)->m_LandColours, walk).HasColour();
}

// The evasions that make a losing fight worth attacking into anyway.
bool AttacksDespiteLosing(const CardActor* attacker)
{
    const CreatureStats& stats = attacker->GetStats();
    return stats.mustAttack || stats.isUnblockable || HumanCoversWalk(attacker) ||
           (stats.hasFearAttack && CountFearBlockers(PLAYER_HUMAN) == 0);
}

void DeclareAttacker(CardActor* attacker)
{
    attacker->RemoveBlocker(nullptr);
    if (!attacker->GetStats().noTapAttack)
        TapManaSource(attacker, false);
    attacker->SetAttacking(true);
}

// Weighs the attacker against every creature that could block it.
bool ShouldAttack(CardActor* attacker, int ableAttackers)
{
    if (s_GameMode == 1 || s_GameMode == 3)
        return true;
    const int bits = GetCombatFlags(attacker);
    std::vector<CardActor*> blockers;
    for (CardActor* const card : GetCardActors())
        if (card->GetOwner() == PLAYER_HUMAN && CanBlockWith(card, bits))
            blockers.push_back(card);
    if (blockers.empty())
        return true;
    SortByToughness(blockers.data(), static_cast<int>(blockers.size()));
    const int power = attacker->GetStats().power;
    bool verdict = true;
    for (const CardActor* const blocker : blockers) {
        if (!FirstKillsSecondAndSurvives(attacker, blocker) && !FirstSurvivesSecond(attacker, blocker) &&
            !FirstTradesWithSecond(attacker, blocker) && ableAttackers <= static_cast<int>(blockers.size()) &&
            plat::Rand() % 3 != 0)
            verdict = false;
        if (verdict)
            continue;
        if (AttacksDespiteLosing(attacker)) {
            verdict = true;
            break;
        }
        CardActor* const pump = attacker->CanActivate(nullptr, EFFECT_PTMOD_MANAPUMP);
        if (pump == nullptr || pump->GetAbility()->effect.powerModAmt <= 0)
            continue;
        verdict = true;
        const int toughness = blocker->GetRemainingToughness(false, true);
        if (toughness <= power)
            continue;
        const int pumps = DivideRoundUp(toughness - power, pump->GetAbility()->effect.powerModAmt);
        ManaCost cost;
        for (int i = 0; i < pumps; ++i)
            cost.Add(pump->GetAbility()->cost);
        if (pumps > 0 && !CanPay(PLAYER_CPU, cost, true)) {
            verdict = false;
            break;
        }
    }
    // A weak tapper is worth more at home while the human can block it.
    if (verdict && attacker->GetAbility()->costType == COSTTYPE_TAP && power <= 1 &&
        CountAbleBlockers(PLAYER_HUMAN) >= 1)
        return false;
    return verdict;
}

} // namespace

bool FirstKillsSecondAndSurvives(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return f.aloneA ? f.pA >= f.rB : f.pA >= f.rB && f.rA > f.pB;
}

bool FirstSurvivesSecond(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return f.aloneA ? f.pA >= f.rB || f.rA > f.pB : f.rA > f.pB;
}

bool FirstTradesWithSecond(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return !f.aloneA && f.pA >= f.rB && f.rA <= f.pB;
}

bool SecondKillsFirstAndSurvives(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return f.aloneB ? f.pB >= f.rA : f.pB >= f.rA && f.rB > f.pA;
}

bool CreaturesTrade(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return !f.aloneB && f.pB >= f.rA && f.rB <= f.pA;
}

bool SecondSurvivesFirst(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return f.rB > f.pA;
}

bool FirstKillsSecond(const CardActor* a, const CardActor* b)
{
    const Fighters f = Measure(a, b);
    return f.aloneB ? f.rB <= f.pA && f.pB < f.rA : f.rB <= f.pA;
}

CardActor* FindKillableCreature(bool ignoreShields, int amount, int owner, const CardActor* previous,
                                bool requirePositive)
{
    CardActor* best = nullptr;
    const SpellStack& stack = GetSpellStack();
    for (CardActor* const card : GetCardActors()) {
        if (card == previous || card->GetOwner() != owner || card->GetCardType() != CT_CREATURE || card->IsHeld() ||
            card->IsOnStack() || !card->IsNotLeaving())
            continue;
        const int margin = card->GetRemainingToughness(ignoreShields, false) - stack.GetPendingDamage(card, false);
        if ((requirePositive && margin <= 0) || margin > amount)
            continue;
        if (previous != nullptr && RankKey(card) > RankKey(previous))
            continue;
        if (best == nullptr || RankKey(card) > RankKey(best))
            best = card;
    }
    return best;
}

bool CpuDeclareAttackers()
{
    const int ableAttackers = CountAbleAttackers(PLAYER_CPU);
    if (ableAttackers < 1)
        return false;
    bool declared = false;
    for (CardActor* const attacker : GetCardActors()) {
        if (attacker->GetOwner() != PLAYER_CPU || attacker->GetStats().power <= 0 || !IsAbleToAttack(attacker))
            continue;
        if (!ShouldAttack(attacker, ableAttackers))
            continue;
        DeclareAttacker(attacker);
        declared = true;
    }
    return declared;
}
