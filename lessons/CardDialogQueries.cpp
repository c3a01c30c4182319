#include "lessons/CardDialogQueries.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "gamestate/LessonState.h"
#include "gamestate/PlayerActors.h"
#include "rules/CpuAttack.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/Usability.h"

namespace carddialog {

namespace {

int EffectAmount(const EffectSpec& effect)
{
    switch (effect.effectType) {
    case EFFECT_DAMAGE:
        return effect.damageAmt;
    case EFFECT_DRAINLIFE:
        return effect.drainLifeAmt;
    default:
        return 0;
    }
}

} // namespace

bool IsResponding()
{
    return GetCanPlayNowFlag() != 0;
}

CardActor* FindInHand(int id, int owner)
{
    return FindCardActor(id, owner, nullptr);
}

CardActor* FindActive(int id, int owner, const CardActor* previous)
{
    return FindCardActorInPlay(id, owner, previous);
}

bool IsAffordable(const CardActor* card, bool ability)
{
    return CanAffordCard(card, ability, true);
}

bool IsUntapped(const CardActor* card)
{
    return card != nullptr && card->GetTapState() == TAP_READY;
}

int GetSpellAmount(const CardActor* card)
{
    return card != nullptr ? EffectAmount(*card->GetSpellEffect()) : 0;
}

int GetAbilityAmount(const CardActor* card)
{
    return card != nullptr ? EffectAmount(card->GetAbility()->effect) : 0;
}

int GetDoomingDamage(const CardActor* card)
{
    return GetSpellStack().GetPendingDamage(card, true) + card->GetDamage();
}

bool HasWoundedKillableCpuCreature(int amount)
{
    for (const CardActor* creature = FindKillableCreature(false, amount, PLAYER_CPU, nullptr, true);
         creature != nullptr; creature = FindKillableCreature(false, amount, PLAYER_CPU, creature, true)) {
        if (creature->GetStats().toughness > amount)
            return true;
    }
    return false;
}

bool IsOwnedBy(const CardActor* card, int owner)
{
    return card != nullptr && (owner == -1 || card->GetOwner() == owner);
}

std::u16string GetCardName(int id)
{
    if (id < 0 || id >= CD_NUMBER_OF_CARD_DEFS)
        return {};
    return g_CardDefs[static_cast<std::size_t>(id)].GetNameField();
}

CardActor* AsEventCard(Actor* card)
{
    return card != nullptr ? AsCardActor(card) : nullptr;
}

} // namespace carddialog
