// The combat-result box by table (one blocker or several, the attacker dying or not, how many blockers die, the
// learner or the CPU attacking, basic or advanced), its buttons, record and table marks, and the block-step prompt.
#include "engine/core/StringTable.h"
#include "gamestate/PhysicalAdviceState.h"
#include "lessons/CombatAdvice.h"
#include "lessons/HandDemos.h"
#include "lessons/PhysicalCombatAdvice.h"
#include "rules/CombatResults.h"
#include "rules/PendingCards.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <string>
#include <vector>

namespace {

using namespace lessontest;

constexpr int CREATURE_ID = 30;
constexpr int INSTANT_ID = 40;
constexpr int STAYS = 0;
constexpr int TO_GRAVEYARD = -1;

const char16_t* const RESULT_KEYS[] = {
    u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_BOUNCE", u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_BOUNCE",
    u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_KILL",   u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_KILL",
    u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE",    u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_DIE",
    u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_TRADE",  u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_TRADE",
    u"PHYSDLG_BLOCKED_ATT_BOUNCE",                 u"PHYSDLG_BLOCKED_ATT_KILL_P",
    u"PHYSDLG_BLOCKED_ATT_KILL_C",                 u"PHYSDLG_BLOCKED_ATT_DIE_P",
    u"PHYSDLG_BLOCKED_ATT_DIE_C",                  u"PHYSDLG_BLOCKED_ATT_TRADE_P",
    u"PHYSDLG_BLOCKED_ATT_TRADE_C",                u"PHYSDLG_GANGBLOCKED_ATT_BOUNCE",
    u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_P",         u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_C",
    u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_P",          u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_C",
    u"PHYSDLG_GANGBLOCKED_ATT_DIE_P",              u"PHYSDLG_GANGBLOCKED_ATT_DIE_C",
    u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_P",        u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_C",
    u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_P",         u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_C",
};

// A key's text shows the key and every argument it was given.
std::u16string Echo(const char16_t* key, std::initializer_list<std::u16string_view> args)
{
    std::u16string text = key;
    for (const std::u16string_view arg : args) {
        text += u'|';
        text += arg;
    }
    return text;
}

class CombatAdviceTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        for (const char16_t* key : RESULT_KEYS)
            AddString(key, std::u16string(key) + u"|%0|%1|%2|%3|%4|%5|%6|%7");
        AddString(u"PHYSDLG_GANGBLOCKLIST_DEAD", u"+%0");
        AddString(u"STR_damage", u"point");
        AddString(u"STR_damage_plural", u"points");
        KeysAsTexts({u"STR_OK", u"PHYSDLG_BUTTON_CreatureSurvives", u"PHYSDLG_BUTTON_Pass", u"PHYSDLG_BUTTON_Respond",
                     u"PHYSDLG_PlayerBlock_IA_Prompt"});
        SetCpuListEmpty(true);
    }

    void TearDown() override
    {
        ForgetCombatResultCard(nullptr);
        CloseLessonBox();
        DeleteLessonBox();
        s_GameMode = 0;
        // The texts added here die with the test's heap.
        ClearStringTables();
        LessonTest::TearDown();
    }

    // A creature whose definition carries the name (each name its own identifier).
    static CardActor* Named(int owner, std::u16string_view name)
    {
        static const std::u16string_view names[] = {u"Ogre", u"Wall1", u"Wall2", u"Wall3", u"Dead", u"Alive"};
        int id = CREATURE_ID;
        while (id - CREATURE_ID < 5 && names[id - CREATURE_ID] != name)
            ++id;
        auto& field = g_CardDefs[id].m_Name;
        field.fill(0);
        std::copy(name.begin(), name.end(), field.begin());
        return Card(id, owner);
    }

    // One fight: the attacker of the side took attackerDamage; each blocker took blockerDamage and hit back.
    static CombatResult& Fight(int side, int blockers, int attackerExit, int dyingBlockers, int blockerDamage = 3)
    {
        CardActor* const attacker = Named(side, u"Ogre");
        attacker->SetExitMove(attackerExit);
        CombatResult result{attacker, 2, {}};
        for (int i = 0; i < blockers; ++i) {
            const std::u16string name = u"Wall" + std::u16string(1, static_cast<char16_t>(u'1' + i));
            CardActor* const blocker = Named(1 - side, name);
            blocker->SetExitMove(i < dyingBlockers ? TO_GRAVEYARD : STAYS);
            result.blockers.push_back(CombatResultBlocker{blocker, blockerDamage, 1});
        }
        GetCombatResultQueue().push_back(result);
        return GetCombatResultQueue().back();
    }

    void NextCase()
    {
        ForgetCombatResultCard(nullptr);
        CloseLessonBox();
        ClearPendingCards();
        ClearHintPlayCounts();
        ResetTableScene();
        PurgeRemovedActors();
        SetCpuListEmpty(true);
    }
};

TEST_F(CombatAdviceTest, TheResultTextFollowsBlockersDeathsSideAndLesson)
{
    struct Case {
        const char* name;
        int mode, side, blockers, attackerExit, dying;
        const char16_t* key;
        int kind;
        const char16_t* clip;
    };
    const char16_t* const kill = u"vo_phys\\basic_1on1Combat_Kill.wav";
    const char16_t* const noKill = u"vo_phys\\basic_1on1Combat_NoKill.wav";
    const Case cases[] = {
        {"basic, learner bounces", 1, 0, 1, STAYS, 0, u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_BOUNCE", 31,
         u"vo_phys\\basic_1on1Combat_nokill.wav"},
        {"basic, CPU bounces", 1, 1, 1, STAYS, 0, u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_BOUNCE", 31,
         u"vo_phys\\basic_1on1Combat_nokill.wav"},
        {"basic, learner kills", 1, 0, 1, STAYS, 1, u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_KILL", 31, kill},
        {"basic, CPU kills", 1, 1, 1, STAYS, 1, u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_KILL", 31, noKill},
        {"basic, learner's attacker dies", 1, 0, 1, TO_GRAVEYARD, 0, u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE", 31,
         noKill},
        {"basic, CPU's attacker dies", 1, 1, 1, TO_GRAVEYARD, 0, u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_DIE", 31, kill},
        {"basic, trade", 1, 1, 1, TO_GRAVEYARD, 1, u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_TRADE", 31,
         u"vo_phys\\basic_1on1Combat_kill.wav"},
        {"one blocker, bounce", 2, 1, 1, STAYS, 0, u"PHYSDLG_BLOCKED_ATT_BOUNCE", 30, nullptr},
        {"one blocker, kill, P", 2, 0, 1, STAYS, 1, u"PHYSDLG_BLOCKED_ATT_KILL_P", 30, nullptr},
        {"one blocker, kill, C", 2, 1, 1, STAYS, 1, u"PHYSDLG_BLOCKED_ATT_KILL_C", 30, nullptr},
        {"one blocker, die, P", 2, 0, 1, TO_GRAVEYARD, 0, u"PHYSDLG_BLOCKED_ATT_DIE_P", 30, nullptr},
        {"one blocker, die, C", 2, 1, 1, TO_GRAVEYARD, 0, u"PHYSDLG_BLOCKED_ATT_DIE_C", 30, nullptr},
        {"one blocker, trade, P", 2, 0, 1, TO_GRAVEYARD, 1, u"PHYSDLG_BLOCKED_ATT_TRADE_P", 30, nullptr},
        {"one blocker, trade, C", 2, 1, 1, TO_GRAVEYARD, 1, u"PHYSDLG_BLOCKED_ATT_TRADE_C", 30, nullptr},
        {"several, bounce", 2, 0, 3, STAYS, 0, u"PHYSDLG_GANGBLOCKED_ATT_BOUNCE", 30, nullptr},
        {"several, kill some, P", 2, 0, 3, STAYS, 1, u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_P", 30, nullptr},
        {"several, kill some, C", 2, 1, 3, STAYS, 2, u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_C", 30, nullptr},
        {"several, kill all, P", 2, 0, 3, STAYS, 3, u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_P", 30, nullptr},
        {"several, kill all, C", 2, 1, 2, STAYS, 2, u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_C", 30, nullptr},
        {"several, die, P", 2, 0, 2, TO_GRAVEYARD, 0, u"PHYSDLG_GANGBLOCKED_ATT_DIE_P", 30, nullptr},
        {"several, die, C", 2, 1, 3, TO_GRAVEYARD, 0, u"PHYSDLG_GANGBLOCKED_ATT_DIE_C", 30, nullptr},
        {"several, trade some, P", 2, 0, 3, TO_GRAVEYARD, 2, u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_P", 30, nullptr},
        {"several, trade some, C", 2, 1, 3, TO_GRAVEYARD, 1, u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_C", 30, nullptr},
        {"several, trade all, P", 2, 0, 2, TO_GRAVEYARD, 2, u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_P", 30, nullptr},
        {"several, trade all, C", 2, 1, 3, TO_GRAVEYARD, 3, u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_C", 30, nullptr},
        {"basic, several blockers", 1, 1, 2, STAYS, 0, u"PHYSDLG_GANGBLOCKED_ATT_BOUNCE", 30, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_GameMode = c.mode;
        Fight(c.side, c.blockers, c.attackerExit, c.dying);
        EXPECT_TRUE(ShowCombatResult(c.side));
        ASSERT_EQ(ShownKind(), c.kind);
        const std::u16string text = ShownText();
        EXPECT_EQ(text.substr(0, text.find(u'|')), c.key);
        if (c.clip != nullptr) {
            EXPECT_TRUE(WasSpoken(c.clip));
        }
        NextCase();
    }
}

TEST_F(CombatAdviceTest, TheResultTextNamesTheFightersDamageAndTheDead)
{
    s_GameMode = 2;
    Fight(0, 1, STAYS, 1, 3);
    ASSERT_TRUE(ShowCombatResult(0));
    EXPECT_EQ(ShownText(),
              Echo(u"PHYSDLG_BLOCKED_ATT_KILL_P", {u"Ogre", u"Wall1", u"3", u"2", u"4", u"3", u"points", u"points"}));
    NextCase();

    // The CPU's attacker kills some of the learner's blockers: the dead are listed; one point reads singular.
    s_GameMode = 2;
    Fight(1, 3, STAYS, 2, 1);
    ASSERT_TRUE(ShowCombatResult(1));
    EXPECT_EQ(ShownText(), Echo(u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_C",
                                {u"Ogre", u"\r\n+Wall1\r\n+Wall2", u"1", u"2", u"2", u"3", u"point", u"points"}));
    NextCase();

    // The learner's gang attack: no list of the CPU's dead.
    s_GameMode = 2;
    Fight(0, 3, TO_GRAVEYARD, 1);
    ASSERT_TRUE(ShowCombatResult(0));
    EXPECT_EQ(ShownText(), Echo(u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_P",
                                {u"Ogre", u"", u"3", u"2", u"4", u"3", u"points", u"points"}));
}

TEST_F(CombatAdviceTest, TheBoxWaitsForTheDeadAndKeepsTheLearnersCreatureInBasic)
{
    // Advanced, the CPU's blocker dies: its owner still has to bury it, so OK is there but greyed out.
    s_GameMode = 2;
    CombatResult& kill = Fight(0, 1, STAYS, 1);
    CardActor* const attacker = kill.attacker;
    CardActor* const wall = kill.blockers[0].blocker;
    ASSERT_TRUE(ShowCombatResult(0));
    ASSERT_EQ(GetLessonBox()->GetButtonCount(), 1);
    EXPECT_TRUE(GetLessonBox()->IsButtonDisabled(0));
    EXPECT_TRUE(IsCardPendingForOwner(wall));
    // The fight is marked on the table: the attacker, and its blocker hit and hitting back.
    const PhysicalAdviceState& marks = GetPhysicalAdviceState();
    EXPECT_EQ(marks.combatSet.count(attacker), 1u);
    ASSERT_EQ(marks.combatMap.count(wall), 1u);
    EXPECT_EQ(marks.combatMap.at(wall), 3);
    NextCase();

    // Advanced, the learner's blocker dies: the learner buries it first, the box has no OK yet.
    s_GameMode = 2;
    Fight(1, 1, STAYS, 1);
    ASSERT_TRUE(ShowCombatResult(1));
    EXPECT_EQ(GetLessonBox()->GetButtonCount(), 0);
    NextCase();

    // Advanced, nobody dies and the CPU has nothing left to show: OK at once.
    s_GameMode = 2;
    Fight(1, 1, STAYS, 0);
    ASSERT_TRUE(ShowCombatResult(1));
    ASSERT_EQ(GetLessonBox()->GetButtonCount(), 1);
    EXPECT_FALSE(GetLessonBox()->IsButtonDisabled(0));
    NextCase();

    // Basic one-on-one: the box holds the learner's creature of the fight and the damage it took.
    s_GameMode = 1;
    CombatResult& attack = Fight(0, 1, STAYS, 0);
    CardActor* const ogre = attack.attacker;
    ASSERT_TRUE(ShowCombatResult(0));
    EXPECT_EQ(GetCombatResultCard().card, ogre);
    EXPECT_EQ(GetCombatResultCard().damage, 2);
    EXPECT_EQ(GetLessonBox()->GetButtonCount(), 1);
    NextCase();
    s_GameMode = 1;
    CombatResult& defence = Fight(1, 1, STAYS, 0);
    CardActor* const blocker = defence.blockers[0].blocker;
    ASSERT_TRUE(ShowCombatResult(1));
    EXPECT_EQ(GetCombatResultCard().card, blocker);
    EXPECT_EQ(GetCombatResultCard().damage, 3);
}

TEST_F(CombatAdviceTest, TheDamageStepGoesOnOnceTheBoxWaitingForTheDeadCloses)
{
    // Advanced, the learner's blocker dies: the box holds the CPU's damage step until the learner buries it.
    s_GameMode = 2;
    Fight(1, 1, STAYS, 1);
    EXPECT_FALSE(AdviseCombatDamage(1));
    ASSERT_TRUE(IsLessonBoxShowing());
    EXPECT_FALSE(AdviseCombatDamage(1));
    EXPECT_TRUE(IsLessonBoxShowing());
    // Buried: the box closes, and the closed box (kept for reuse) no longer holds the step.
    ClearPendingCards();
    EXPECT_FALSE(AdviseCombatDamage(1));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_TRUE(AdviseCombatDamage(1));
}

TEST_F(CombatAdviceTest, FightsWithNothingToSayAndTheEndOfTheQueue)
{
    s_GameMode = 2;
    // A blocker dealt no damage: nothing to say, the marks go again.
    Fight(0, 1, STAYS, 0, 0);
    EXPECT_TRUE(ShowCombatResult(0));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_TRUE(GetPhysicalAdviceState().combatSet.empty());
    EXPECT_TRUE(GetPhysicalAdviceState().combatMap.empty());
    // An attacker already on its way forward off the table: no box.
    Fight(0, 1, 1, 0);
    EXPECT_FALSE(ShowCombatResult(0));
    EXPECT_FALSE(IsLessonBoxShowing());

    // The queue ran dry: the creatures hit that go to the graveyard wait for their owners.
    CardActor* const dead = Named(1, u"Dead");
    dead->SetExitMove(TO_GRAVEYARD);
    CardActor* const alive = Named(0, u"Alive");
    GetCreaturesHitInCombat(1).push_back(dead);
    GetCreaturesHitInCombat(0).push_back(alive);
    EXPECT_FALSE(ShowCombatResult(0));
    EXPECT_TRUE(IsCardPendingForOwner(dead));
    EXPECT_FALSE(IsCardPendingForOwner(alive));
    EXPECT_TRUE(GetCreaturesHitInCombat(0).empty());
    EXPECT_TRUE(GetCreaturesHitInCombat(1).empty());
}

TEST_F(CombatAdviceTest, TheBlockPromptOffersRespondOnlyInTheAdvancedLessonAndWhenPossible)
{
    struct Case {
        const char* name;
        int mode;
        bool instant;
        int buttons;
        bool respondDisabled;
    };
    const Case cases[] = {
        {"basic", 1, true, 1, false},
        {"advanced, nothing to respond with", 2, false, 2, true},
        {"advanced, an instant in hand", 2, true, 2, false},
    };
    g_CardDefs[INSTANT_ID].m_CardType = CT_INSTANT;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_GameMode = c.mode;
        if (c.instant)
            Card(INSTANT_ID, 0, true);
        EXPECT_FALSE(IsBlockPromptShowing());
        ShowBlockInstantPrompt();
        EXPECT_TRUE(IsBlockPromptShowing());
        EXPECT_EQ(ShownKind(), 27);
        EXPECT_EQ(ShownText(), u"PHYSDLG_PlayerBlock_IA_Prompt");
        ASSERT_EQ(GetLessonBox()->GetButtonCount(), c.buttons);
        if (c.buttons == 2) {
            EXPECT_EQ(GetLessonBox()->IsButtonDisabled(1), c.respondDisabled);
        }
        EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_BlockIA_Prompt.wav"));
        NextCase();
    }
    // Only a new box is placed: one the learner moved stays where it is.
    s_GameMode = 2;
    ShowBlockInstantPrompt();
    GetLessonBox()->MoveTo(10, 20, true);
    ShowBlockInstantPrompt();
    EXPECT_EQ(GetLessonBox()->GetLeft(), 10);
    EXPECT_EQ(GetLessonBox()->GetTop(), 20);
}

} // namespace
