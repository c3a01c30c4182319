#include "cards/CardIds.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "tests/rules/PromptFixture.h"

#include <algorithm>
#include <string>

namespace {

class TargetPromptTest : public rulestest::PromptTest {
protected:
    CARD& Targeting(int type, int state = INPLAY, bool caster = false, bool opponent = false,
                    ManaCost colours = ManaCost(1, 1, 1, 1, 1, 1), int effect = EFFECT_DAMAGE)
    {
        CARD& card = Define(CT_INSTANT, ManaCost(0, 1, 0, 0, 0, 0));
        card.m_SpellEffect.effectType = effect;
        card.m_SpellTarget = TargetSpec{caster, opponent, colours, state, OWNER_EITHER, type};
        card.m_Ability.target = card.m_SpellTarget;
        return card;
    }

    static std::u16string Key(const CardActor& source, bool isAbility, std::u16string* voice)
    {
        const char16_t* clip = nullptr;
        const std::u16string key = GetTargetPromptKey(&source, isAbility, &clip);
        *voice = clip != nullptr ? clip : u"";
        return key;
    }
};

TEST_F(TargetPromptTest, SpellAndAbilityKeysWithTheirVoices)
{
    const ManaCost nonBlack(1, 1, 1, 1, 0, 1);
    struct Case {
        const char* name;
        int type, state;
        bool caster, opponent, isAbility;
        ManaCost colours;
        int effect;
        const char16_t* key;
        const char16_t* voice;
    };
    const ManaCost all(1, 1, 1, 1, 1, 1);
    const Case cases[] = {
        {"non-black creature", TT_CREATURE, INPLAY, true, true, false, nonBlack, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_NONBLACKCREATURE", u"vo_phys\\spelltarget_NonBlackCreature.wav"},
        {"attacking creature", TT_CREATURE, ATTACKING, false, false, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_ATTACKINGCREATURE", u"vo_phys\\spelltarget_AttackingCreature.wav"},
        {"tapped beats creature-or-player", TT_CREATURE, TAPPED, true, true, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_TAPPEDCREATURE", u"vo_phys\\spelltarget_TappedCreature.wav"},
        {"creature and counter", TT_CREATURE, INPLAY, true, true, false, all, EFFECT_COUNTER,
         u"PHYSDLG_TARGET_CREATUREANDCOUNTER", u""},
        {"creature or player", TT_CREATURE, INPLAY, true, true, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_CREATUREORPLAYER", u"vo_phys\\spelltarget_CreatureOrPlayer.wav"},
        {"one player only is a creature", TT_CREATURE, INPLAY, false, true, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_CREATURE", u"vo_phys\\spelltarget_Creature.wav"},
        {"player", TT_LAND, INPLAY, true, true, false, all, EFFECT_DAMAGE, u"PHYSDLG_TARGET_PLAYER",
         u"vo_phys\\spelltarget_Player.wav"},
        {"land", TT_LAND, INPLAY, false, false, false, all, EFFECT_DAMAGE, u"PHYSDLG_TARGET_LAND",
         u"vo_phys\\spelltarget_Land.wav"},
        {"artifact or enchantment", TT_ARTIFACT | TT_ENCHANTMENT, INPLAY, false, false, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_ARTIFACTORENCHANTMENT", u"vo_phys\\spelltarget_ArtOrEnch.wav"},
        {"artifact alone", TT_ARTIFACT, INPLAY, false, false, false, all, EFFECT_DAMAGE,
         u"PHYSDLG_TARGET_GENERIC_SPELL", u""},
        {"ability creature or player", TT_CREATURE, TAPPED, true, true, true, all, EFFECT_DAMAGE,
         u"PHYSDLG_ABILITYTARGET_CREATUREORPLAYER", u"vo_phys\\adv_abilitytarget_CreatureOrPlayer.wav"},
        {"ability creature", TT_CREATURE, INPLAY, true, false, true, all, EFFECT_DAMAGE,
         u"PHYSDLG_ABILITYTARGET_CREATURE", u"vo_phys\\adv_abilitytarget_Creature.wav"},
        {"ability player", 0, INPLAY, true, true, true, all, EFFECT_DAMAGE, u"PHYSDLG_ABILITYTARGET_PLAYER",
         u"vo_phys\\adv_abilitytarget_Player.wav"},
        {"ability land", TT_LAND, INPLAY, false, false, true, all, EFFECT_DAMAGE, u"PHYSDLG_TARGET_GENERIC_ABILITY",
         u""},
    };
    for (const Case& c : cases) {
        CardActor& source = InHand(Targeting(c.type, c.state, c.caster, c.opponent, c.colours, c.effect));
        std::u16string voice;
        EXPECT_EQ(Key(source, c.isAbility, &voice), c.key) << c.name;
        EXPECT_EQ(voice, c.voice) << c.name;
    }
}

TEST_F(TargetPromptTest, CardKeysHoldOnlyInTheirGameAndKind)
{
    struct Case {
        int mode;
        int id;
        bool isAbility;
        const char16_t* key;
        const char16_t* voice;
    };
    const Case cases[] = {
        {1, CD_NODUMBER, false, u"PHYSDLG_NODUMBER_CHOOSETARGET", u"vo_phys\\target_nodumber.wav"},
        {1, CD_ESKINRIC, false, u"PHYSDLG_ESKINRIC_CHOOSETARGET", u"vo_phys\\target_eskinric.wav"},
        {1, CD_VEKINDAL, false, u"PHYSDLG_VEKINDAL_CHOOSETARGET", u"vo_phys\\target_vekindal.wav"},
        {1, CD_DRAUMBER, false, u"PHYSDLG_DRAUMBER_CHOOSETARGET", u"vo_phys\\target_draumber.wav"},
        {1, CD_GALUMSK, false, u"PHYSDLG_GALUMSK_CHOOSETARGET", u"vo_phys\\target_galumsk.wav"},
        {1, CD_DOVANRIC, false, u"PHYSDLG_DOVANRIC_CHOOSETARGET", u"vo_phys\\target_dovanric.wav"},
        {2, CD_DRAISNEL, true, u"PHYSDLG_DRAISNEL_CHOOSETARGET", u"vo_phys\\adv_abilitytarget_draisnel.wav"},
        // Out of their game or kind the record decides.
        {2, CD_NODUMBER, false, u"PHYSDLG_TARGET_LAND", u"vo_phys\\spelltarget_Land.wav"},
        {1, CD_NODUMBER, true, u"PHYSDLG_TARGET_GENERIC_ABILITY", u""},
        {1, CD_DRAISNEL, true, u"PHYSDLG_TARGET_GENERIC_ABILITY", u""},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        CARD& card = Targeting(TT_LAND);
        card.m_Id = c.id;
        std::u16string voice;
        EXPECT_EQ(Key(InHand(card), c.isAbility, &voice), c.key) << c.id;
        EXPECT_EQ(voice, c.voice) << c.id;
    }
}

TEST_F(TargetPromptTest, OpeningBuildsTheBoxOnceAndReusesItAfterClosing)
{
    AddString(u"PHYSDLG_TARGET_LAND", u"Choose a land.");
    AddString(u"PHYSDLG_TARGET_GENERIC_ABILITY", u"Choose a target for %0.");
    CARD& card = Targeting(TT_LAND);
    const std::u16string name = u"Quake";
    std::copy(name.begin(), name.end(), card.m_Name.begin());
    CardActor& source = InHand(card);

    struct Case {
        int mode;
        bool isAbility;
        const char16_t* text;
        int buttons;
    };
    const Case cases[] = {
        {1, false, u"Choose a land.", 0},
        {2, false, u"Choose a land.", 1},
        {2, true, u"Choose a target for Quake.", 1},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        OpenTargetPrompt(&source, c.isAbility);
        Messagebox* const box = GetTargetPrompt();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(IsTargetPromptOpen());
        EXPECT_EQ(box->GetText(), c.text) << c.mode;
        EXPECT_EQ(box->GetButtonCount(), c.buttons) << c.mode;
        EXPECT_EQ(box->GetKind(), DIALOG_KIND_MESSAGEBOX);

        CloseTargetPrompt();
        EXPECT_FALSE(IsTargetPromptOpen());
        EXPECT_EQ(GetTargetPrompt(), box) << "hiding keeps the box";
        OpenTargetPrompt(&source, c.isAbility);
        EXPECT_EQ(GetTargetPrompt(), box) << "the next opening reuses it";
        EXPECT_EQ(box->GetButtonCount(), c.buttons) << "buttons set afresh, not added";
        DeleteTargetPrompt();
    }
}

TEST_F(TargetPromptTest, DeletingUnregistersFromDisplayAndToolkit)
{
    CardActor& source = InHand(Targeting(TT_LAND));
    OpenTargetPrompt(&source, false);
    const GUI_Window* const box = GetTargetPrompt();
    ASSERT_TRUE(GetGameDisplay()->IsWindowRegistered(box));
    ASSERT_TRUE(GetGUIManager()->IsRegistered(box));

    DeleteTargetPrompt();
    EXPECT_EQ(GetTargetPrompt(), nullptr);
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(box));
    EXPECT_FALSE(GetGUIManager()->IsRegistered(box));
    DeleteTargetPrompt();  // nothing left to delete
}

} // namespace
