#include "rules/Usability.h"

#include "cards/CardActor.h"
#include "cards/GraveyardLists.h"
#include "cards/HandLayout.h"
#include "gamestate/LessonState.h"
#include "gamestate/RulesLessonCalls.h"
#include "gui/DialogManager.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/StackPrompts.h"
#include "rules/Targets.h"

namespace {

constexpr int LESSON_EVENT_PAID = 5;
constexpr int LESSON_EVENT_ABILITY_PAID = 7;

} // namespace

bool CanUseCardNow(CardActor* card, bool isAbility)
{
    if (card == nullptr)
        return false;
    const EffectSpec& effect = isAbility ? card->GetAbility()->effect : *card->GetSpellEffect();
    const TargetSpec& target = isAbility ? card->GetAbility()->target : *card->GetSpellTarget();
    if (!effect.needsTarget && effect.effectType != EFFECT_COUNTER)
        return true;
    if (target.opponent || target.caster)
        return true;
    if (effect.effectType == EFFECT_COUNTER) {
        CardActor* const top = GetSpellStack().GetTopCard();
        return top != nullptr && ChooseTarget(card, top, isAbility, true, false, nullptr) != nullptr;
    }
    for (CardActor* const candidate : GetCardActors()) {
        if (ChooseTarget(card, candidate, isAbility, true, true, nullptr) != nullptr)
            return true;
    }
    return false;
}

void FinishPayment(CardActor* card)
{
    ClearPlayerManaPool(PLAYER_HUMAN);
    GetPaymentState().paying = false;
    if (card == nullptr)
        return;
    card->m_InputState = 0;
    card->SetPlayedMark(1);
    const EffectSpec& effect = *card->GetSpellEffect();
    // X spells wait for the X prompt, which comes with the payment driver; until then X is what was paid.
    if (effect.needsTarget && !effect.targetOnResolve)
        CastCardAtChosenTarget(card);
    else
        GetSpellStack().CastSpell(card, nullptr, nullptr, true, false);
    PostDialogEvent(LESSON_EVENT_PAID, card);
}

int FinishAbilityPayment(CardActor* card)
{
    if (card == nullptr)
        return 0;
    const CardAbility& ability = *card->GetAbility();
    int count = 0;
    if (ability.effect.effectType == EFFECT_PTMOD_MANAPUMP) {
        if (ability.cost.Total() != 0) {
            while (count < PUMP_ACTIVATION_CAP && PayFromPlayerPool(ability.cost, PLAYER_HUMAN))
                ++count;
        }
    } else if (ability.cost.Total() != 0) {
        GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Clear();
        UpdateHumanAvailableMana();
    }
    count = count == 0 ? 1 : count;
    for (int i = 0; i < count; ++i)
        ActivateAtChosenTarget(card);
    GetPaymentState().paying = false;
    PostDialogEvent(LESSON_EVENT_ABILITY_PAID, card);
    return count;
}

void ReplaceSpecialCardsAfterLayout()
{
    ClampCardActorToTable(GetLessonPendingCard(), true);
    ClampCardActorToTable(GetLessonSecondCard(), true);
    if (CardActor* const returning = GetLessonReturningCard()) {
        returning->m_TargetPoint = returning->m_Position;
        ClampCardActorToTable(returning, true);
    }
    RelayoutGraveyardLists();
    if (g_RulesLessonCalls.PositionLessonBox != nullptr)
        g_RulesLessonCalls.PositionLessonBox();
    PlaceStackWindow();
}
