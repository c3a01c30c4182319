// The texts and voices the resolution prompts open with.
#include "rules/ResolutionPrompts.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/Actor.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

namespace {

bool IsHumanActor(const Actor* player)
{
    return player != nullptr && player == FindActorByName(u"player");
}

bool IsCpuActor(const Actor* player)
{
    return player != nullptr && player == FindActorByName(u"cpuplayer");
}

ResolutionPromptText Row(int row, const char16_t* key, const char16_t* voice, bool okButton)
{
    return ResolutionPromptText{row, key, voice, okButton};
}

ResolutionPromptText CpuSpellPrompt(const SpellStack& stack, const EffectSpec& effect)
{
    const CardActor& card = *stack.m_ResolvingCard;
    const int humanLife = GetPlayerState(PLAYER_HUMAN)->GetLife();
    switch (card.GetId()) {
    case CD_NODUMBER:
        return Row(1, u"PHYS_BASIC_OPPSPELL_NODUMBER", u"vo_phys\\basic_OppSpell_nodumber.wav", false);
    case CD_VEKINDAL:
        if (humanLife > 0)
            return Row(2, u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOULIVE", u"vo_phys\\basic_oppspell_vekindal_live.wav",
                       false);
        return Row(2, u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOUDIE", u"vo_phys\\basic_oppspell_vekindal_die.wav", true);
    case CD_GALUMSK:
        return Row(3, u"PHYS_BASIC_OPPSPELL_GALUMSK", u"vo_phys\\basic_oppspell_galumsk.wav", false);
    default:
        break;
    }
    if (effect.effectType == EFFECT_MODLIFE)
        return Row(4, u"PHYS_BASIC_OPPSPELL_GAINLIFE", nullptr, true);
    if (effect.effectType == EFFECT_DRAWDISCARD && effect.drawAmt > 0 && effect.discardAmt == 0)
        return Row(5, effect.drawAmt == 1 ? u"PHYS_BASIC_OPPSPELL_DRAW_1" : u"PHYS_BASIC_OPPSPELL_DRAW_N", nullptr,
                   true);
    if (effect.effectType != EFFECT_DAMAGE)
        return ResolutionPromptText();
    if (IsHumanActor(stack.m_ResolvingTargetPlayer)) {
        if (humanLife < 1)
            return Row(6, u"PHYS_BASIC_OPPSPELL_DAMAGE_YOUDIE", u"vo_phys\\basic_oppspell_damage_youlose.wav", true);
        return Row(6, u"PHYS_BASIC_OPPSPELL_DAMAGE_YOULIVE", u"vo_phys\\basic_oppspell_damage_you.wav", true);
    }
    const CardActor* const target = stack.m_ResolvingTargetCard;
    if (target == nullptr || target->IsNotLeaving())
        return Row(6, nullptr, nullptr, false);
    if (effect.damageAmt < target->GetStats().toughness)
        return Row(6, u"PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY_WOUNDED", u"vo_phys\\basic_oppspell_damage_killwounded.wav",
                   false);
    return Row(6, u"PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY", u"vo_phys\\basic_oppspell_damage_kill.wav", false);
}

ResolutionPromptText HumanSpellPrompt(const SpellStack& stack, const EffectSpec& effect)
{
    const CardActor& card = *stack.m_ResolvingCard;
    const int cpuLife = GetPlayerState(PLAYER_CPU)->GetLife();
    if (card.GetId() == CD_VEKINDAL) {
        if (cpuLife < 1)
            return Row(7, u"PHYS_BASIC_SPELL_VEKINDAL_OPPDIE", u"vo_phys\\basic_spell_vekindal_win.wav", true);
        return Row(7, u"PHYS_BASIC_SPELL_VEKINDAL_OPPLIVE", u"vo_phys\\basic_spell_vekindal.wav", false);
    }
    if (effect.effectType == EFFECT_MODLIFE)
        return Row(8, nullptr, nullptr, false);
    if (effect.effectType == EFFECT_DRAWDISCARD && effect.drawAmt == 0 && IsCpuActor(stack.m_ResolvingTargetPlayer))
        return Row(9, u"PHYS_BASIC_SPELL_OPPDISCARD", u"vo_phys\\basic_spell_oppdiscard.wav", true);
    if (effect.effectType != EFFECT_DAMAGE)
        return ResolutionPromptText();
    if (IsCpuActor(stack.m_ResolvingTargetPlayer)) {
        if (cpuLife < 1)
            return Row(10, u"PHYS_BASIC_SPELL_DAMAGE_OPPDIE", u"vo_phys\\basic_spell_damage_opplose.wav", true);
        return Row(10, u"PHYS_BASIC_SPELL_DAMAGE_OPPLIVE", u"vo_phys\\basic_spell_damage_opp.wav", true);
    }
    const CardActor* const target = stack.m_ResolvingTargetCard;
    if (target == nullptr)
        return ResolutionPromptText();
    if (target->IsNotLeaving())
        return Row(10, u"PHYS_BASIC_SPELL_DAMAGE_NODESTROY", u"vo_phys\\basic_spell_damage_nokill.wav", true);
    if (effect.damageAmt < target->GetStats().toughness)
        return Row(10, u"PHYS_BASIC_SPELL_DAMAGE_DESTROY_WOUNDED", u"vo_phys\\basic_spell_damage_killwounded.wav",
                   true);
    return Row(10, u"PHYS_BASIC_SPELL_DAMAGE_DESTROY", u"vo_phys\\basic_spell_damage_kill.wav", true);
}

} // namespace

ResolutionPromptText GetBasicSpellPrompt(const SpellStack& stack)
{
    if (stack.m_ResolvingCard == nullptr || stack.m_ResolvingEffect == nullptr || stack.m_ResolvingIsAbility)
        return ResolutionPromptText();
    if (stack.m_ResolvingCard->GetOwner() == PLAYER_CPU)
        return CpuSpellPrompt(stack, *stack.m_ResolvingEffect);
    return HumanSpellPrompt(stack, *stack.m_ResolvingEffect);
}

ResolutionPromptText GetDrawPrompt(bool isAbility, int count)
{
    const bool one = count == 1;
    if (isAbility)
        return Row(0, one ? u"PHYS_PROMPT_ABILITY_DRAW_1" : u"PHYS_PROMPT_ABILITY_DRAW_N",
                   one ? u"vo_phys\\adv_ability_drawdiscard01.wav" : nullptr, false);
    return Row(0, one ? u"PHYS_PROMPT_SPELL_DRAW_1" : u"PHYS_PROMPT_SPELL_DRAW_N",
               one ? u"vo_phys\\prompt_spell_draw_1.wav" : u"vo_phys\\prompt_spell_draw_N.wav", false);
}

ResolutionPromptText GetDiscardPrompt(bool cpuCard, bool isAbility, int count)
{
    const bool one = count == 1;
    const char16_t* const spellVoice =
        one ? u"vo_phys\\prompt_oppspell_discard_1.wav" : u"vo_phys\\prompt_oppspell_discard_N.wav";
    if (cpuCard)
        return Row(0, one ? u"PHYS_PROMPT_OPPSPELL_DISCARD_1" : u"PHYS_PROMPT_OPPSPELL_DISCARD_N", spellVoice, false);
    if (isAbility)
        return Row(0, one ? u"PHYS_PROMPT_ABILITY_DISCARD_1" : u"PHYS_PROMPT_ABILITY_DISCARD_N",
                   one ? u"vo_phys\\adv_ability_drawdiscard02.wav" : nullptr, false);
    return Row(0, one ? u"PHYS_PROMPT_SPELL_DISCARD_1" : u"PHYS_PROMPT_SPELL_DISCARD_N", spellVoice, false);
}

const char16_t* GetOnlineDiscardKey(int count)
{
    return count == 1 ? u"ONL_PROMPT_DISCARD_1" : u"ONL_PROMPT_DISCARD_N";
}
