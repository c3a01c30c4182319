// The advice about an instant the opponent has just put on the stack: how the learner could answer it.
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/TextHelpers.h"
#include "gamestate/PlayerActors.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

namespace {

constexpr int INSTANT_BOX_HEIGHT = 180;
constexpr int HEAL_AMOUNT = 3;

Advice InstantAdvice(int number, std::u16string_view key, std::u16string arg)
{
    Advice a;
    a.number = number;
    a.key = key;
    if (!arg.empty())
        a.args = {std::move(arg)};
    a.height = INSTANT_BOX_HEIGHT;
    a.ok = false;
    return a;
}

int Damage(const CardActor& spell)
{
    return spell.GetSpellEffect() != nullptr ? spell.GetSpellEffect()->damageAmt : 0;
}

int LearnerLifeAndShield()
{
    const PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    return human.GetLife() + human.m_PreventDamage;
}

AdviceChoice DamageInstant(const CardActor& instant, CardActor* target, const Actor* player)
{
    if (target != nullptr && !target->IsHeld() && target->IsNotLeaving()) {
        const int left = target->GetStats().toughness + target->GetShields() -
                         (target->GetDamage() + target->GetPendingDamage() + Damage(instant));
        const std::u16string name = ActorName(target);
        if (AffordableLearnerCard(CD_ESKARMAR) != nullptr)
            return InstantAdvice(25, u"ONL_EskarmarSavesCreature", name);
        if (AffordableLearnerCard(CD_WENORTH) != nullptr && left > -3 && left <= 0)
            return InstantAdvice(23, u"ONL_WenorthSavesCreature", name);
        if (AffordableLearnerCard(CD_PRAUNRIK) != nullptr && left > -3 && left <= 0)
            return InstantAdvice(24, u"ONL_PraunrikSavesCreature", name);
        return std::nullopt;
    }
    if (player != nullptr && player == GetHumanPlayerActor()) {
        const CardActor* const heal = AffordableLearnerCard(CD_WENORTH);
        if (heal != nullptr && LearnerLifeAndShield() + HEAL_AMOUNT - Damage(instant) > 0) {
            Advice a = InstantAdvice(28, u"ONL_HealingSpellSavesPlayer", ActorName(heal));
            a.args.push_back(IntToWString(HEAL_AMOUNT));
            return a;
        }
    }
    return std::nullopt;
}

AdviceChoice PumpOrHeal(const CardActor& instant, const CardActor* target)
{
    if (target == nullptr)
        return std::nullopt;
    const int toughness = target->GetStats().toughness + target->GetShields();
    const CardActor* damage = nullptr;
    if (const CardActor* c = AffordableLearnerCard(CD_SAVOTNEL); c != nullptr && toughness <= 2)
        damage = c;
    else if (const CardActor* v = AffordableLearnerCard(CD_VORENTON); v != nullptr && toughness <= 4)
        damage = v;
    if (damage == nullptr)
        return std::nullopt;
    Advice a = InstantAdvice(27, u"ONL_FunWithTheStack", ActorName(&instant));
    a.args.push_back(ActorName(target));
    a.args.push_back(ActorName(damage));
    return a;
}

} // namespace

AdviceChoice AdviseOpponentInstant(const AdviceSituation& s, OnlineAdvisorState& /*m*/)
{
    const CardActor* const instant = s.topCard;
    if (s.advisedCard != nullptr || s.paying || instant == nullptr || instant->GetOwner() != PLAYER_CPU ||
        instant->GetCardType() != CT_INSTANT || !instant->IsSummoningSick() || !instant->IsNotLeaving() ||
        instant->IsHeld() || s.topController != 2)
        return std::nullopt;
    auto* const target = dynamic_cast<CardActor*>(s.topTargetCard);
    switch (instant->GetId()) {
    case CD_SAVOTNEL:
    case CD_VORENTON:
        return DamageInstant(*instant, target, s.topTargetPlayer);
    case CD_PRAUNRIK:
    case CD_WENORTH:
        return PumpOrHeal(*instant, target);
    case CD_NESURGAST:
        return InstantAdvice(101, u"ONL_OppNesurgast", {});
    case CD_FENORTON:
        return InstantAdvice(101, u"ONL_OppFenorton_A", {});
    case CD_ESKARMAR:
        if (target != nullptr && target->GetOwner() == PLAYER_HUMAN)
            return InstantAdvice(101, u"ONL_OppEskarmar", {});
        return InstantAdvice(101, u"ONL_OppEskarmar_Own", ActorName(target));
    case CD_FALARSAR:
        if (AffordableLearnerCard(CD_ESKARMAR) != nullptr)
            return InstantAdvice(25, u"ONL_EskarmarSavesCreature", ActorName(target));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}
