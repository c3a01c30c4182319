#include "cards/CardIds.h"
#include "rules/ResolutionPrompts.h"
#include "tests/rules/RulesFixture.h"

#include <string>

namespace {

using rulestest::RulesTest;

std::u16string Text(const char16_t* s)
{
    return s != nullptr ? s : u"";
}

class ResolutionPromptTest : public RulesTest {
protected:
    // The stack resolving a spell of owner with the effect, aimed at a player ("player", "cpuplayer") or a card.
    void Resolving(int id, int owner, int effectType, const char16_t* player, CardActor* targetCard = nullptr,
                   int damage = 0, int draw = 0, int discard = 0)
    {
        CARD& card = Define(CT_SORCERY);
        card.m_Id = id;
        card.m_SpellEffect.effectType = effectType;
        card.m_SpellEffect.damageAmt = damage;
        card.m_SpellEffect.drawAmt = draw;
        card.m_SpellEffect.discardAmt = discard;
        SpellStack& stack = GetSpellStack();
        stack.m_ResolvingCard = &OnTable(card, owner);
        stack.m_ResolvingEffect = &card.m_SpellEffect;
        stack.m_ResolvingIsAbility = false;
        stack.m_ResolvingTargetPlayer = player != nullptr ? FindActorByName(player) : nullptr;
        stack.m_ResolvingTargetCard = targetCard;
    }
};

TEST_F(ResolutionPromptTest, BasicGameRowsPickTheirKeysAndVoices)
{
    CardActor& standing = OnTable(Creature(2, 3));
    CardActor& dying = OnTable(Creature(2, 3));
    dying.SetExitMove(-1);
    struct Case {
        const char* name;
        int id, owner, effect;
        const char16_t* player;
        CardActor* target;
        int damage, draw, discard, humanLife, cpuLife;
        int row;
        const char16_t* key;
        const char16_t* voice;
        bool ok;
    };
    const Case cases[] = {
        {"cpu card 253", CD_NODUMBER, PLAYER_CPU, EFFECT_DAMAGE, nullptr, &dying, 3, 0, 0, 20, 20, 1,
         u"PHYS_BASIC_OPPSPELL_NODUMBER", u"vo_phys\\basic_OppSpell_nodumber.wav", false},
        {"cpu 257, human lives", CD_VEKINDAL, PLAYER_CPU, EFFECT_DAMAGE, u"player", nullptr, 3, 0, 0, 5, 20, 2,
         u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOULIVE", u"vo_phys\\basic_oppspell_vekindal_live.wav", false},
        {"cpu 257, human dies", CD_VEKINDAL, PLAYER_CPU, EFFECT_DAMAGE, u"player", nullptr, 3, 0, 0, 0, 20, 2,
         u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOUDIE", u"vo_phys\\basic_oppspell_vekindal_die.wav", true},
        {"cpu 188", CD_GALUMSK, PLAYER_CPU, EFFECT_DESTROY, nullptr, &dying, 0, 0, 0, 20, 20, 3,
         u"PHYS_BASIC_OPPSPELL_GALUMSK", u"vo_phys\\basic_oppspell_galumsk.wav", false},
        {"cpu gains life", 0, PLAYER_CPU, EFFECT_MODLIFE, u"cpuplayer", nullptr, 0, 0, 0, 20, 20, 4,
         u"PHYS_BASIC_OPPSPELL_GAINLIFE", nullptr, true},
        {"cpu draws one", 0, PLAYER_CPU, EFFECT_DRAWDISCARD, u"cpuplayer", nullptr, 0, 1, 0, 20, 20, 5,
         u"PHYS_BASIC_OPPSPELL_DRAW_1", nullptr, true},
        {"cpu draws three", 0, PLAYER_CPU, EFFECT_DRAWDISCARD, u"cpuplayer", nullptr, 0, 3, 0, 20, 20, 5,
         u"PHYS_BASIC_OPPSPELL_DRAW_N", nullptr, true},
        {"cpu draws and discards: general", 0, PLAYER_CPU, EFFECT_DRAWDISCARD, u"cpuplayer", nullptr, 0, 1, 1, 20,
         20, 0, nullptr, nullptr, false},
        {"cpu burns the human", 0, PLAYER_CPU, EFFECT_DAMAGE, u"player", nullptr, 3, 0, 0, 17, 20, 6,
         u"PHYS_BASIC_OPPSPELL_DAMAGE_YOULIVE", u"vo_phys\\basic_oppspell_damage_you.wav", true},
        {"cpu burns the human out", 0, PLAYER_CPU, EFFECT_DAMAGE, u"player", nullptr, 3, 0, 0, 0, 20, 6,
         u"PHYS_BASIC_OPPSPELL_DAMAGE_YOUDIE", u"vo_phys\\basic_oppspell_damage_youlose.wav", true},
        {"cpu misses a kill: no text", 0, PLAYER_CPU, EFFECT_DAMAGE, nullptr, &standing, 1, 0, 0, 20, 20, 6,
         nullptr, nullptr, false},
        {"cpu finishes a wounded creature", 0, PLAYER_CPU, EFFECT_DAMAGE, nullptr, &dying, 1, 0, 0, 20, 20, 6,
         u"PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY_WOUNDED", u"vo_phys\\basic_oppspell_damage_killwounded.wav", false},
        {"cpu kills outright", 0, PLAYER_CPU, EFFECT_DAMAGE, nullptr, &dying, 3, 0, 0, 20, 20, 6,
         u"PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY", u"vo_phys\\basic_oppspell_damage_kill.wav", false},
        {"human 257, cpu lives", CD_VEKINDAL, PLAYER_HUMAN, EFFECT_DAMAGE, u"cpuplayer", nullptr, 3, 0, 0, 20, 7, 7,
         u"PHYS_BASIC_SPELL_VEKINDAL_OPPLIVE", u"vo_phys\\basic_spell_vekindal.wav", false},
        {"human 257, cpu dies", CD_VEKINDAL, PLAYER_HUMAN, EFFECT_DAMAGE, u"cpuplayer", nullptr, 3, 0, 0, 20, 0, 7,
         u"PHYS_BASIC_SPELL_VEKINDAL_OPPDIE", u"vo_phys\\basic_spell_vekindal_win.wav", true},
        {"human gains life: no text", 0, PLAYER_HUMAN, EFFECT_MODLIFE, u"player", nullptr, 0, 0, 0, 20, 20, 8,
         nullptr, nullptr, false},
        {"cpu discards", 0, PLAYER_HUMAN, EFFECT_DRAWDISCARD, u"cpuplayer", nullptr, 0, 0, 1, 20, 20, 9,
         u"PHYS_BASIC_SPELL_OPPDISCARD", u"vo_phys\\basic_spell_oppdiscard.wav", true},
        {"human draws: general", 0, PLAYER_HUMAN, EFFECT_DRAWDISCARD, u"player", nullptr, 0, 2, 0, 20, 20, 0,
         nullptr, nullptr, false},
        {"human burns the cpu out", 0, PLAYER_HUMAN, EFFECT_DAMAGE, u"cpuplayer", nullptr, 3, 0, 0, 20, 0, 10,
         u"PHYS_BASIC_SPELL_DAMAGE_OPPDIE", u"vo_phys\\basic_spell_damage_opplose.wav", true},
        {"human burns the cpu", 0, PLAYER_HUMAN, EFFECT_DAMAGE, u"cpuplayer", nullptr, 3, 0, 0, 20, 9, 10,
         u"PHYS_BASIC_SPELL_DAMAGE_OPPLIVE", u"vo_phys\\basic_spell_damage_opp.wav", true},
        {"human misses a kill", 0, PLAYER_HUMAN, EFFECT_DAMAGE, nullptr, &standing, 1, 0, 0, 20, 20, 10,
         u"PHYS_BASIC_SPELL_DAMAGE_NODESTROY", u"vo_phys\\basic_spell_damage_nokill.wav", true},
        {"human finishes a wounded creature", 0, PLAYER_HUMAN, EFFECT_DAMAGE, nullptr, &dying, 2, 0, 0, 20, 20, 10,
         u"PHYS_BASIC_SPELL_DAMAGE_DESTROY_WOUNDED", u"vo_phys\\basic_spell_damage_killwounded.wav", true},
        {"human kills outright", 0, PLAYER_HUMAN, EFFECT_DAMAGE, nullptr, &dying, 3, 0, 0, 20, 20, 10,
         u"PHYS_BASIC_SPELL_DAMAGE_DESTROY", u"vo_phys\\basic_spell_damage_kill.wav", true},
    };
    for (const Case& c : cases) {
        Human().m_Life = c.humanLife;
        Cpu().m_Life = c.cpuLife;
        Resolving(c.id, c.owner, c.effect, c.player, c.target, c.damage, c.draw, c.discard);
        const ResolutionPromptText prompt = GetBasicSpellPrompt(GetSpellStack());
        EXPECT_EQ(prompt.row, c.row) << c.name;
        EXPECT_EQ(Text(prompt.key), Text(c.key)) << c.name;
        EXPECT_EQ(Text(prompt.voice), Text(c.voice)) << c.name;
        EXPECT_EQ(prompt.okButton, c.ok) << c.name;
    }

    // An ability never takes a basic row.
    Resolving(CD_NODUMBER, PLAYER_CPU, EFFECT_DAMAGE, nullptr, &dying, 3);
    GetSpellStack().m_ResolvingIsAbility = true;
    EXPECT_EQ(GetBasicSpellPrompt(GetSpellStack()).row, 0);
}

TEST_F(ResolutionPromptTest, DrawAndDiscardPromptsByCountAndSource)
{
    struct Case {
        const char* name;
        ResolutionPromptText prompt;
        const char16_t* key;
        const char16_t* voice;
    };
    const Case cases[] = {
        {"spell draws 1", GetDrawPrompt(false, 1), u"PHYS_PROMPT_SPELL_DRAW_1", u"vo_phys\\prompt_spell_draw_1.wav"},
        {"spell draws 3", GetDrawPrompt(false, 3), u"PHYS_PROMPT_SPELL_DRAW_N", u"vo_phys\\prompt_spell_draw_N.wav"},
        {"ability draws 1", GetDrawPrompt(true, 1), u"PHYS_PROMPT_ABILITY_DRAW_1",
         u"vo_phys\\adv_ability_drawdiscard01.wav"},
        {"ability draws 2: silent", GetDrawPrompt(true, 2), u"PHYS_PROMPT_ABILITY_DRAW_N", nullptr},
        {"cpu card, 1", GetDiscardPrompt(true, false, 1), u"PHYS_PROMPT_OPPSPELL_DISCARD_1",
         u"vo_phys\\prompt_oppspell_discard_1.wav"},
        {"cpu ability, 2", GetDiscardPrompt(true, true, 2), u"PHYS_PROMPT_OPPSPELL_DISCARD_N",
         u"vo_phys\\prompt_oppspell_discard_N.wav"},
        {"own spell, empty hand", GetDiscardPrompt(false, false, 0), u"PHYS_PROMPT_SPELL_DISCARD_N",
         u"vo_phys\\prompt_oppspell_discard_N.wav"},
        {"own ability, 1", GetDiscardPrompt(false, true, 1), u"PHYS_PROMPT_ABILITY_DISCARD_1",
         u"vo_phys\\adv_ability_drawdiscard02.wav"},
        {"own ability, 2: silent", GetDiscardPrompt(false, true, 2), u"PHYS_PROMPT_ABILITY_DISCARD_N", nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.prompt.key), Text(c.key)) << c.name;
        EXPECT_EQ(Text(c.prompt.voice), Text(c.voice)) << c.name;
    }
    EXPECT_EQ(Text(GetOnlineDiscardKey(1)), u"ONL_PROMPT_DISCARD_1");
    EXPECT_EQ(Text(GetOnlineDiscardKey(2)), u"ONL_PROMPT_DISCARD_N");
}

} // namespace
