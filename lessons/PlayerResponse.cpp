#include "lessons/PlayerResponse.h"

#include "cards/CardActor.h"
#include "cards/CardEnums.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"

namespace {

bool IsInstantInHand(const CardActor& card)
{
    return card.GetCardType() == CT_INSTANT && card.IsHeld() && !card.IsInLibrary();
}

bool HasAbilityToUse(const CardActor& card, int player)
{
    if (card.IsHeld() || card.IsInLibrary() || card.IsSummoningSick() || !card.HasActivatedAbility())
        return false;
    const CardAbility& ability = *card.GetAbility();
    if (ability.effect.effectType == EFFECT_NONE || ability.effect.effectType == EFFECT_PRODUCEMANA)
        return false;
    switch (ability.costType) {
    case COSTTYPE_NOTAP:
    case COSTTYPE_SACRIFICE:
        return true;
    case COSTTYPE_TAP:
    case COSTTYPE_TAPSAC:
        return card.GetTapState() == TAP_READY;
    case COSTTYPE_SACTARGET:
        return ((ability.target.type & TT_LAND) != 0 && CountLandsInPlay(player) > 0) ||
               ((ability.target.type & TT_CREATURE) != 0 && CountCreaturesWithFlagsInCombat(player, 1, false, false) > 0);
    default:
        return false;
    }
}

} // namespace

bool CanPlayerRespond(int player)
{
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != player || !card->IsNotLeaving())
            continue;
        if (IsInstantInHand(*card) || HasAbilityToUse(*card, player))
            return true;
    }
    return false;
}
