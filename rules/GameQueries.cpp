#include "rules/GameQueries.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <vector>

namespace {

CardActor* FindAfter(int id, int player, const CardActor* after, bool inPlay)
{
    bool passed = after == nullptr;
    for (CardActor* const card : GetCardActors()) {
        if (!passed) {
            passed = card == after;
            continue;
        }
        if (card->GetOwner() != player || (id != 0 && card->GetId() != id))
            continue;
        if (inPlay ? card->CanAct() : (card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving()))
            return card;
    }
    return nullptr;
}

bool IsCreatureCard(const CardActor& card)
{
    return card.GetCardType() == CT_CREATURE;
}

// The combat tricks matter before this turn's combat is over or while an attack or a block is under way.
bool IsCombatMoment(bool atAnyStep)
{
    return atAnyStep || !s_PastCombat || s_AttackStep != 0 || s_CpuBlockStep != 0 || s_HumanBlockStep != 0;
}

bool HasAnyReadyCreatures()
{
    return CountReadyCreatures(PLAYER_HUMAN) > 0 || CountReadyCreatures(PLAYER_CPU) > 0;
}

// Every colour but black.
const ManaCost NON_BLACK_COLOURS(0, 1, 1, 1, 0, 1);

} // namespace

bool CanPay(int player, const ManaCost& cost, bool countAll)
{
    ManaCost copy = GetAvailableMana(player);
    if (!countAll) {
        for (const CardActor* const card : GetCardActors()) {
            if (card->GetOwner() == player && card->CanAct() && !card->IsLand() &&
                card->GetAbility()->effect.effectType == EFFECT_PRODUCEMANA &&
                card->GetAbility()->costType == COSTTYPE_TAP && card->GetAbility()->cost.Total() == 0 &&
                card->GetTapState() == TAP_READY && card->GetHost() == nullptr)
                copy.Add(card->GetAbility()->effect.manaProduced.Negated());
        }
    }
    if (cost.Total() == 0)
        return true;
    for (int i = 1; i < 6; ++i) {
        if (cost.At(i) == 0)
            continue;
        if (copy.At(i) < cost.At(i))
            return false;
        copy.At(i) -= cost.At(i);
    }
    return cost.generic <= copy.red + copy.green + copy.blue + copy.black + copy.white;
}

bool CanAffordCard(const CardActor* card, bool ability, bool countAll)
{
    if (card == nullptr)
        return false;
    return CanPay(card->GetOwner(), ability ? card->GetAbility()->cost : card->GetCost(), countAll);
}

bool HasUsableAbility(int player)
{
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != player || !card->CanAct() || !card->HasActivatedAbility())
            continue;
        const CardAbility& ability = *card->GetAbility();
        if (ability.effect.effectType == EFFECT_PRODUCEMANA)
            continue;
        if (ability.cost.Total() != 0 && !CanAffordCard(card, true, true))
            continue;
        switch (ability.costType) {
        case COSTTYPE_NOTAP:
        case COSTTYPE_SACRIFICE:
            return true;
        case COSTTYPE_TAP:
        case COSTTYPE_TAPSAC:
            return card->GetTapState() == TAP_READY;
        case COSTTYPE_SACTARGET:
            if ((ability.target.type & TT_LAND) != 0)
                return CountLandsInPlay(player) >= 1;
            if ((ability.target.type & TT_CREATURE) != 0)
                return CountCreaturesWithFlagsInCombat(player, 1, false, false) >= 1;
            break;
        default:
            break;
        }
    }
    return false;
}

int FindCardActorByState(int player)
{
    if (GetAvailableMana(player).Total() == 0)
        return 0;
    int bits = 0;
    for (const CardActor* const card : GetCardActors()) {
        const int type = card->GetCardType();
        if (card->GetOwner() == player && card->IsHeld() && card->IsNotLeaving() && type >= CT_CREATURE &&
            type <= CT_INSTANT && CanAffordCard(card, false, true))
            bits |= 1 << (type - 1);
    }
    return bits;
}

CardActor* FindCardActor(int id, int player, const CardActor* after)
{
    return FindAfter(id, player, after, false);
}

CardActor* FindCardActorInPlay(int id, int player, const CardActor* after)
{
    return FindAfter(id, player, after, true);
}

int CountReadyCreatures(int player)
{
    int count = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && card->GetCardType() == CT_CREATURE && card->IsNotLeaving() &&
            !card->IsSummoningSick() && !card->IsHeld())
            ++count;
    }
    return count;
}

int CountLandsInPlay(int player)
{
    int count = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && card->IsLand() && card->IsNotLeaving() && !card->IsHeld() &&
            card->GetTapState() != TAP_OFF_TABLE)
            ++count;
    }
    return count;
}

bool CanSpellTarget(const CardActor* target, const CardActor* spell)
{
    if (target == nullptr || spell == nullptr)
        return false;
    return !(spell->GetId() == CD_FALARSAR && target->GetCardType() == CT_CREATURE &&
             target->GetManaCounters()->black != 0);
}

CardActor* FindStackEntryForCard(const Actor* target, int id)
{
    SpellStack& stack = GetSpellStack();
    for (int i = 0; i < stack.GetCount(); ++i) {
        const StackEntry* const entry = stack.GetEntry(i);
        if (entry->card != nullptr && entry->card->GetId() == id &&
            (entry->targetCard == target || entry->targetPlayer == target))
            return entry->card;
    }
    return nullptr;
}

int GetAvailableManaTotal(int player)
{
    return GetAvailableMana(player).Total();
}

namespace {

// A strict order of creatures to play: true when a ranks above b.
bool RanksAbove(const CardActor& a, const CardActor& b)
{
    const int costA = a.GetCost().Total();
    const int costB = b.GetCost().Total();
    if (costA != costB)
        return costA > costB;
    const CreatureStats& statsA = a.GetStats();
    const CreatureStats& statsB = b.GetStats();
    if (statsA.power != statsB.power)
        return statsA.power > statsB.power;
    if (statsA.flying != statsB.flying)
        return statsA.flying;
    return a.GetId() < b.GetId();
}

} // namespace

CardActor* FindBestCreatureToPlay(int player, const CardActor* after)
{
    CardActor* best = nullptr;
    for (CardActor* const card : GetCardActors()) {
        if (card == after || card->GetOwner() != player || !card->IsHeld() || !card->IsNotLeaving() ||
            card->GetCardType() != CT_CREATURE || !CanAffordCard(card, false, true))
            continue;
        if (after != nullptr && (card->GetId() == after->GetId() || RanksAbove(*card, *after)))
            continue;
        if (best == nullptr || RanksAbove(*card, *best))
            best = card;
    }
    return best;
}

std::array<CardActor*, UNBLOCKED_LIST_SIZE>& GetUnblockedAttackers()
{
    static std::array<CardActor*, UNBLOCKED_LIST_SIZE> s_Unblocked{};
    return s_Unblocked;
}

void SortUnblockedByPower(int count)
{
    std::array<CardActor*, UNBLOCKED_LIST_SIZE>& list = GetUnblockedAttackers();
    const int n = std::clamp(count, 0, UNBLOCKED_LIST_SIZE);
    // Only the filled slots move among themselves.
    std::vector<int> filled;
    std::vector<CardActor*> cards;
    for (int i = 0; i < n; ++i) {
        if (list[static_cast<std::size_t>(i)] != nullptr) {
            filled.push_back(i);
            cards.push_back(list[static_cast<std::size_t>(i)]);
        }
    }
    std::stable_sort(cards.begin(), cards.end(), [](const CardActor* a, const CardActor* b) {
        const CreatureStats& statsA = a->GetStats();
        const CreatureStats& statsB = b->GetStats();
        if (statsA.power != statsB.power)
            return statsA.power > statsB.power;
        return statsA.flying && !statsB.flying;
    });
    for (std::size_t i = 0; i < filled.size(); ++i)
        list[static_cast<std::size_t>(filled[i])] = cards[i];
}

bool HasRemovableTarget(const CardActor* spell, bool blockersOnly, bool againstAttackers)
{
    if (spell == nullptr)
        return false;
    const int owner = spell->GetOwner();
    const int evasion = againstAttackers ? GetPlayerCombatFlags(owner) : 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != (owner ^ 1) || card->GetCardType() != CT_CREATURE || !card->IsNotLeaving() ||
            card->IsHeld() || !CanSpellTarget(card, spell))
            continue;
        if (!blockersOnly)
            return true;
        if (againstAttackers ? CanBlockWith(card, evasion) : IsAbleToBlock(card))
            return true;
    }
    return false;
}

int GetTappedPermanentKinds(int player)
{
    constexpr int TAPPED_LAND = 1;
    constexpr int TAPPED_CREATURE = 2;
    int kinds = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (kinds == (TAPPED_LAND | TAPPED_CREATURE))
            break;
        if (card->GetOwner() != player || card->IsHeld() || !card->IsNotLeaving() || card->IsSummoningSick() ||
            card->GetTapState() != TAP_TAPPED)
            continue;
        if (card->GetCardType() == CT_LAND)
            kinds |= TAPPED_LAND;
        else if (card->GetCardType() == CT_CREATURE)
            kinds |= TAPPED_CREATURE;
    }
    return kinds;
}

void CountTappedReadyCards(int* human, int* cpu)
{
    int counts[2] = {0, 0};
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetTapState() == TAP_TAPPED && (card->CanAct() || card->GetExitMove() == -1))
            ++counts[card->GetOwner() == 0 ? 0 : 1];
    }
    if (human != nullptr)
        *human = counts[0];
    if (cpu != nullptr)
        *cpu = counts[1];
}

bool HasKillableTarget(const CardActor* spell, bool blockersOnly, bool againstAttackers)
{
    if (spell == nullptr)
        return false;
    const int owner = spell->GetOwner();
    const int damage = spell->GetSpellEffect()->damageAmt;
    const int attackerBits = againstAttackers ? GetPlayerCombatFlags(owner) : 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != (owner ^ 1) || !IsCreatureCard(*card) || !card->IsNotLeaving() || card->IsHeld())
            continue;
        const int remaining =
            card->GetStats().toughness + card->GetShields() - (card->GetDamage() + card->GetPendingDamage());
        if (remaining > damage || !CanSpellTarget(card, spell))
            continue;
        if (blockersOnly && !(againstAttackers ? CanBlockWith(card, attackerBits) : IsAbleToBlock(card)))
            continue;
        return true;
    }
    return false;
}

bool IsInstantUsefulNow(const CardActor* card, bool atAnyStep, bool noFallback)
{
    if (card == nullptr)
        return false;
    const EffectSpec& effect = *card->GetSpellEffect();
    const TargetSpec& target = *card->GetSpellTarget();
    if (!effect.needsTarget || target.caster || target.opponent)
        return true;
    const int own = card->GetOwner();
    const int other = own ^ 1;
    switch (card->GetId()) {
    case CD_PRAUNRIK:
        return CountReadyCreatures(own) > 0 && IsCombatMoment(atAnyStep);
    case CD_SAVOTNEL:
    case CD_VORENTON:
    case CD_FENORTON:
    case CD_WENORTH:
        return true;
    case CD_ESKARMAR:
        return HasAnyReadyCreatures() && IsCombatMoment(atAnyStep);
    case CD_SELEVMAR:
        return CountReadyCreatures(other) > 0;
    case CD_NESURGAST:
        return CountAttackingCreatures(other) > 0;
    case CD_FALARSAR:
        return CountCreaturesSharingColour(other, NON_BLACK_COLOURS) > 0;
    case CD_NODUMBER:
        return CountTappedCreaturesMatchingFlags(other, 31, false) > 0;
    case CD_WENARWYN:
        return CountArtifactLikeCards(other) > 0 || CountEnchantmentsInPlay(other) > 0;
    default:
        break;
    }
    if (noFallback)
        return false;
    return (target.type & TT_CREATURE) != 0 && HasAnyReadyCreatures();
}
