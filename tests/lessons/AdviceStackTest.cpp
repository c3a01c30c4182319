// The advice at the spell stack's waiting entries: the CPU's spell or ability by table with its clip, spoken once
// per card; the learner's answers; the gang-block lines; the notice before combat damage.
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/Advice.h"
#include "lessons/CpuPhysicalTurn.h"
#include "rules/CombatDamage.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <string>

namespace {

using namespace lessontest;

constexpr int SPELL_ID = 50;
constexpr int CREATURE_ID = 30;
constexpr int LAND_ID = 1;
constexpr int ENCHANTMENT_ID = 51;
constexpr int INSTANT_ID = 52;

const char16_t* const SPELL_KEYS[] = {
    u"PHYS_STACK_OPPSPELL_COUNTER_CR", u"PHYS_STACK_OPPSPELL_UNTARGETED", u"PHYS_STACK_OPPSPELL_TARGET_SELF",
    u"PHYS_STACK_OPPSPELL_TARGET_YOU",  u"PHYS_STACK_OPPSPELL_TARGET_OWN", u"PHYS_STACK_OPPSPELL_TARGET_YOUR",
    u"PHYS_STACK_OPPABILITY",           u"PHYS_STACK_OPPABILITY_TARGET_YOU", u"PHYS_STACK_OPPABILITY_TARGET_YOUR",
};

void SetName(int id, std::u16string_view name)
{
    auto& field = g_CardDefs[id].m_Name;
    field.fill(0);
    std::copy(name.begin(), name.end(), field.begin());
}

void ClickLessonBox(int button)
{
    Messagebox* const box = GetLessonBox();
    ASSERT_NE(box, nullptr);
    GUI_InputEvent event;
    event.type = GUI_EVENT_COMMAND;
    event.sender = box->GetButton(button);
    box->HandleInput(event);
}

class AdviceStackTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        for (const char16_t* key : SPELL_KEYS)
            AddString(key, std::u16string(key) + u"|%0|%1");
        AddString(u"PHYSDLG_MoreThanOneBlocker1", u"B1 %0");
        AddString(u"PHYSDLG_MoreThanOneBlocker2", u"B2 %0 %1 %2");
        AddString(u"STR_damage", u"point");
        AddString(u"STR_damage_plural", u"points");
        KeysAsTexts({u"STR_OK", u"PHYSDLG_BUTTON_Respond", u"PHYSDLG_CreaturesDealCombatDamage",
                     u"PHYSDLG_CreaturesDealCombatDamage_CPU"});
        Define();
        ResetStackAdvice();
        SpawnPlayers();
    }

    void TearDown() override
    {
        SetCanPlayNowFlag(0);
        CloseLessonBox();
        DeleteLessonBox();
        ResetStackAdvice();
        s_GameMode = 0;
        // The texts added here die with the test's heap.
        ClearStringTables();
        LessonTest::TearDown();
    }

    static void Define()
    {
        SetName(SPELL_ID, u"Bolt");
        SetName(CREATURE_ID, u"Ogre");
        SetName(LAND_ID, u"Hill");
        SetName(ENCHANTMENT_ID, u"Aura");
        g_CardDefs[ENCHANTMENT_ID].m_CardType = CT_ENCHANT;
        g_CardDefs[INSTANT_ID].m_CardType = CT_INSTANT;
    }

    void SpawnPlayers()
    {
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    }

    void NextCase()
    {
        SetCanPlayNowFlag(0);
        CloseLessonBox();
        ClearHintPlayCounts();
        ResetStackAdvice();
        ResetTableScene();
        PurgeRemovedActors();
        Define();
        SpawnPlayers();
    }

    // The CPU's spell of that type and effect, needing a target or not.
    static CardActor* CpuSpell(int type, int effect, bool needsTarget)
    {
        CARD& card = g_CardDefs[SPELL_ID];
        card.m_CardType = type;
        card.m_SpellEffect = EffectSpec();
        card.m_SpellEffect.effectType = effect;
        card.m_SpellEffect.needsTarget = needsTarget;
        card.m_Ability = CardAbility();
        card.m_Ability.costType = COSTTYPE_TAP;
        card.m_Ability.effect.effectType = effect;
        card.m_Ability.effect.needsTarget = needsTarget;
        return Card(SPELL_ID, 1);
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

TEST_F(AdviceStackTest, TheCpusSpellOrAbilityIsExplainedByItsTarget)
{
    enum Target { NONE, HUMAN, CPU, HUMAN_CREATURE, CPU_LAND, HUMAN_ENCHANTMENT };
    struct Case {
        const char* name;
        bool ability;
        int type, effect;
        bool needsTarget;
        Target target;
        std::u16string text;
        const char16_t* clip;
    };
    const Case cases[] = {
        {"counter on the learner's creature", false, CT_INSTANT, EFFECT_COUNTER, true, HUMAN_CREATURE,
         u"PHYS_STACK_OPPSPELL_COUNTER_CR|Bolt|", u"vo_phys\\adv_oppspell_remvsoul.wav"},
        {"creature spell", false, CT_CREATURE, EFFECT_NONE, false, NONE, u"PHYS_STACK_OPPSPELL_UNTARGETED|Bolt|",
         u"vo_phys\\adv_oppcreature.wav"},
        {"untargeted sorcery", false, CT_SORCERY, EFFECT_DAMAGE, false, HUMAN, u"PHYS_STACK_OPPSPELL_UNTARGETED|Bolt|",
         u"vo_phys\\adv_oppspell.wav"},
        {"at the CPU", false, CT_SORCERY, EFFECT_DAMAGE, true, CPU, u"PHYS_STACK_OPPSPELL_TARGET_SELF|Bolt|",
         u"vo_phys\\adv_oppspell.wav"},
        {"at the learner", false, CT_INSTANT, EFFECT_DAMAGE, true, HUMAN, u"PHYS_STACK_OPPSPELL_TARGET_YOU|Bolt|",
         u"vo_phys\\adv_oppspell_you.wav"},
        {"at the CPU's land", false, CT_SORCERY, EFFECT_DAMAGE, true, CPU_LAND,
         u"PHYS_STACK_OPPSPELL_TARGET_OWN|Hill|Bolt", u"vo_phys\\adv_oppspell_land.wav"},
        {"at the learner's creature", false, CT_SORCERY, EFFECT_DAMAGE, true, HUMAN_CREATURE,
         u"PHYS_STACK_OPPSPELL_TARGET_YOUR|Ogre|Bolt", u"vo_phys\\adv_oppspell_cr.wav"},
        {"at the learner's enchantment", false, CT_SORCERY, EFFECT_DAMAGE, true, HUMAN_ENCHANTMENT,
         u"PHYS_STACK_OPPSPELL_TARGET_YOUR|Aura|Bolt", u"vo_phys\\adv_oppspell_ench.wav"},
        {"ability, untargeted", true, CT_CREATURE, EFFECT_DAMAGE, false, NONE, u"PHYS_STACK_OPPABILITY|Bolt|",
         u"vo_phys\\adv_oppability.wav"},
        {"ability at the learner", true, CT_CREATURE, EFFECT_DAMAGE, true, HUMAN,
         u"PHYS_STACK_OPPABILITY_TARGET_YOU|Bolt|", u"vo_phys\\adv_oppability.wav"},
        {"ability at the learner's creature", true, CT_CREATURE, EFFECT_DAMAGE, true, HUMAN_CREATURE,
         u"PHYS_STACK_OPPABILITY_TARGET_YOUR|Ogre|Bolt", u"vo_phys\\adv_oppability.wav"},
        {"ability at the CPU's land", true, CT_CREATURE, EFFECT_DAMAGE, true, CPU_LAND,
         u"PHYS_STACK_OPPABILITY|Bolt|", u"vo_phys\\adv_oppability.wav"},
        {"ability at the CPU", true, CT_CREATURE, EFFECT_DAMAGE, true, CPU, u"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_GameMode = 2;
        StackEntry entry{CpuSpell(c.type, c.effect, c.needsTarget), nullptr, nullptr, c.ability, 0};
        switch (c.target) {
        case HUMAN:
            entry.targetPlayer = m_human;
            break;
        case CPU:
            entry.targetPlayer = m_cpu;
            break;
        case HUMAN_CREATURE:
            entry.targetCard = Card(CREATURE_ID, 0);
            break;
        case CPU_LAND:
            entry.targetCard = Card(LAND_ID, 1);
            break;
        case HUMAN_ENCHANTMENT:
            entry.targetCard = Card(ENCHANTMENT_ID, 0);
            break;
        case NONE:
            break;
        }
        int answer = -5;
        EXPECT_FALSE(ShowOpponentSpellAdvice(&entry, &answer));
        ASSERT_EQ(ShownKind(), 20);
        EXPECT_EQ(ShownText(), c.text);
        if (c.clip != nullptr) {
            EXPECT_TRUE(WasSpoken(c.clip));
        }
        NextCase();
    }
}

TEST_F(AdviceStackTest, ASpellIsSpokenOnceAnAbilityEveryTime)
{
    s_GameMode = 1;
    StackEntry spell{CpuSpell(CT_SORCERY, EFFECT_DAMAGE, false), nullptr, nullptr, false, 0};
    int answer = -5;
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    // The basic lesson offers OK alone; OK lets the stack go on.
    ASSERT_EQ(GetLessonBox()->GetButtonCount(), 1);
    EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_oppspell.wav"));
    ClickLessonBox(0);
    EXPECT_TRUE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(IsLessonBoxShowing());
    // The same spell explained again is not spoken again.
    ClearHintPlayCounts();
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_EQ(ShownKind(), 20);
    EXPECT_FALSE(WasSpoken(u"vo_phys\\adv_oppspell.wav"));
    ClickLessonBox(0);
    EXPECT_TRUE(ShowOpponentSpellAdvice(&spell, &answer));

    StackEntry ability{spell.card, nullptr, nullptr, true, 0};
    for (int i = 0; i < 2; ++i) {
        ClearHintPlayCounts();
        EXPECT_FALSE(ShowOpponentSpellAdvice(&ability, &answer));
        EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_oppability.wav")) << i;
        ClickLessonBox(0);
        EXPECT_TRUE(ShowOpponentSpellAdvice(&ability, &answer));
    }
}

TEST_F(AdviceStackTest, RespondingHoldsTheAdviceUntilTheResponseIsOver)
{
    s_GameMode = 2;
    StackEntry spell{CpuSpell(CT_SORCERY, EFFECT_DAMAGE, false), nullptr, nullptr, false, 0};
    int answer = -5;
    // Without an instant or ability the respond button is greyed out.
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    ASSERT_EQ(GetLessonBox()->GetButtonCount(), 2);
    EXPECT_TRUE(GetLessonBox()->IsButtonDisabled(1));
    CloseLessonBox();

    Card(INSTANT_ID, 0, true);
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_FALSE(GetLessonBox()->IsButtonDisabled(1));
    ClickLessonBox(1);
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_NE(GetCanPlayNowFlag(), 0);
    // While the learner responds the advice stays silent; then the stack goes on with the answer "responded".
    EXPECT_FALSE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_FALSE(IsLessonBoxShowing());
    SetCanPlayNowFlag(0);
    EXPECT_TRUE(ShowOpponentSpellAdvice(&spell, &answer));
    EXPECT_EQ(answer, 1);

    // The learner's own entry needs no advice; an error box up holds the advice back.
    StackEntry own{Card(INSTANT_ID, 0), nullptr, nullptr, false, 0};
    EXPECT_TRUE(ShowOpponentSpellAdvice(&own, &answer));
    EXPECT_EQ(answer, -1);
    ShowBox(11);
    StackEntry another{Card(SPELL_ID, 1), nullptr, nullptr, false, 0};
    EXPECT_FALSE(ShowOpponentSpellAdvice(&another, &answer));
    EXPECT_EQ(ShownKind(), 11);
}

TEST_F(AdviceStackTest, EachGangBlockIsExplainedWithTheDamageEachBlockerGets)
{
    SetName(31, u"Wall1");
    SetName(32, u"Wall2");
    SetName(33, u"Wall3");
    s_GameMode = 1;
    CardActor* const ogre = Card(CREATURE_ID, 1);
    ogre->SetAttacking(true);
    const int damage[] = {1, 2, 0};
    for (int i = 0; i < 3; ++i) {
        CardActor* const wall = Card(31 + i, 0);
        AssignBlocker(ogre, wall);
        wall->SetPendingDamage(damage[i]);
    }
    EXPECT_TRUE(ShowMultipleBlockersAdvice(0)) << "the learner's attackers are not explained";
    EXPECT_FALSE(ShowMultipleBlockersAdvice(1));
    ASSERT_EQ(ShownKind(), 29);
    EXPECT_EQ(ShownText(), u"B1 Ogre\n\nB2 Wall1 1 point\nB2 Wall2 2 points\nB2 Wall3 0 points");
    EXPECT_TRUE(WasSpoken(u"vo_phys\\MoreThanOneBlocker.wav"));
    EXPECT_FALSE(ShowMultipleBlockersAdvice(1)) << "the box waits for OK";
    ClickLessonBox(0);
    EXPECT_FALSE(ShowMultipleBlockersAdvice(1));
    EXPECT_FALSE(IsLessonBoxShowing());
    // The one gang block was explained: nothing more to say until the count is reset.
    EXPECT_TRUE(ShowMultipleBlockersAdvice(1));
    ResetExplainedGangBlocks();
    EXPECT_FALSE(ShowMultipleBlockersAdvice(1));
}

TEST_F(AdviceStackTest, TheCombatDamageNoticeAsksOncePerCombatInTheAdvancedLesson)
{
    int answer = -5;
    s_GameMode = 1;
    EXPECT_TRUE(ShowCombatDamageAdvice(0, &answer));
    EXPECT_EQ(answer, 1);
    EXPECT_FALSE(IsLessonBoxShowing());

    s_GameMode = 2;
    s_HumanTurnCount = 3;
    EXPECT_FALSE(ShowCombatDamageAdvice(0, &answer));
    ASSERT_EQ(ShownKind(), 22);
    EXPECT_EQ(ShownText(), u"PHYSDLG_CreaturesDealCombatDamage");
    EXPECT_TRUE(GetLessonBox()->IsButtonDisabled(1));
    EXPECT_TRUE(WasSpoken(u"vo_phys\\CreaturesDealCombatDamage.wav"));
    ClickLessonBox(0);
    EXPECT_TRUE(ShowCombatDamageAdvice(0, &answer));
    EXPECT_EQ(answer, 0);

    // The CPU's combat: the learner responds, then the stack goes on with "responded" until the next combat.
    Card(INSTANT_ID, 0, true);
    EXPECT_FALSE(ShowCombatDamageAdvice(1, &answer));
    EXPECT_EQ(ShownText(), u"PHYSDLG_CreaturesDealCombatDamage_CPU");
    ClickLessonBox(1);
    EXPECT_FALSE(ShowCombatDamageAdvice(1, &answer));
    EXPECT_NE(GetCanPlayNowFlag(), 0);
    EXPECT_FALSE(ShowCombatDamageAdvice(1, &answer));
    SetCanPlayNowFlag(0);
    EXPECT_TRUE(ShowCombatDamageAdvice(1, &answer));
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(ShowCombatDamageAdvice(1, &answer));
    ++GetCpuPhysicalTurnWords().turnNumber;
    EXPECT_FALSE(ShowCombatDamageAdvice(1, &answer)) << "a new combat asks again";
    s_HumanTurnCount = 0;
}

} // namespace
