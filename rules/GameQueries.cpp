#include "rules/GameQueries.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/ManaPool.h"
#include "rules/SpellStack.h"

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
        if (card->GetOwner() == player && card->IsLand() && card->CanAct())
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
