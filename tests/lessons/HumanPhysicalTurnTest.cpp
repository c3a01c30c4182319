#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "lessons/HumanPhysicalTurn.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/PhysicalLesson.h"
#include "lessons/TurnAdvice.h"
#include "rules/BoardQueries.h"
#include "rules/PendingCards.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonFixture.h"

#include <vector>

namespace {

using lessontest::LessonTest;

// A modal card dialog that answers only to its own event.
class WaitingModalDialog : public CardSpecificDialog {
public:
    static constexpr int EVENT = 1000;
    WaitingModalDialog() : CardSpecificDialog(0, 0, nullptr, {}, -1) {}
    bool TestEvent(int event, Actor*) override { return event == EVENT; }
    bool TestCardEvent(int, Actor*) override { return false; }
    bool IsModal() const override { return true; }
    bool IsExhausted() const override { return false; }
};

class HumanPhysicalTurnTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(2);
        GetSpellStack().Reset(1);
        GetSpellStack().OpenWindow();
        GetTurnAdviceAnswers() = TurnAdviceAnswers();
        FillHumanLibrary(40);
        m_player = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_player->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            HumanPhysicalTurn(m_player);
    }

    // The game starts and the human has the turn; the opening draw is left out.
    void Start()
    {
        Frames(1);
        HandTurnTo(PLAYER_HUMAN);
        Human().m_CardsToDraw = 0;
    }

    // The drawn card waits on the pile until the learner drags it into the hand.
    static void TakeDrawnCard()
    {
        CardActor*& drawn = GetTableFlow().cardDrawnByHand;
        ASSERT_NE(drawn, nullptr);
        drawn->SetInLibrary(false);
        drawn = nullptr;
    }

    Actor* m_player = nullptr;
};

TEST_F(HumanPhysicalTurnTest, ForcedStateWinsBeforeTheGameStarts)
{
    s_ForcedHumanState = 4;
    Frames(1);
    EXPECT_EQ(m_player->GetState(), 4);
    EXPECT_EQ(Human().m_NextDrawIndex, 0) << "the game start has not run";
    s_ForcedHumanState = 0;
    Frames(1);
    EXPECT_EQ(Human().m_NextDrawIndex, 7);
    EXPECT_EQ(GetHumanPlayerActor(), m_player);
    EXPECT_EQ(m_player->m_Flags & ACTOR_FLAG_FIRST_FRAME, 0u);
}

TEST_F(HumanPhysicalTurnTest, FirstTurnSkipsUntapAndDrawThenEndsAndHandsOver)
{
    Start();
    Frames(3);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_MAIN) << "0 -> 2 -> 3 -> 5 without a draw";
    EXPECT_EQ(s_HumanTurnCount, 1);

    Messagebox* const box = ShowBox(4);
    Frames(2);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_MAIN) << "the main-phase box waits for its answer";
    Click(box, 1);
    Frames(1);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_END_PROMPTS);
    EXPECT_EQ(GetLessonBox(), nullptr);

    Frames(5);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_START);
    EXPECT_TRUE(s_CpuTurn);
    EXPECT_FALSE(s_HumanTurn);
    Frames(3);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_START) << "waits while the CPU has the turn";
}

TEST_F(HumanPhysicalTurnTest, LaterTurnsUntapAndDrawOneCardOffThePile)
{
    Start();
    s_HumanTurnCount = 1;
    CardActor* const land = Card(CD_MOUNTAIN1, PLAYER_HUMAN);
    land->SetTapState(TAP_TAPPED);
    Frames(1);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_UNTAP);
    Frames(3);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_UNTAP) << "waits for the learner to untap";
    land->SetTapState(TAP_READY);
    Frames(1);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_DRAW);
    Frames(3);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_DRAW) << "the drawn card waits on the pile";
    EXPECT_EQ(Human().m_NextDrawIndex, 8);
    EXPECT_EQ(Human().m_CardsToDraw, 0);
    TakeDrawnCard();
    // A card parked by a play error holds the draw step as well.
    CardActor parked;
    SetMistimedCard(&parked);
    Frames(2);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_DRAW);
    SetMistimedCard(nullptr);
    Frames(2);
    EXPECT_EQ(m_player->GetState(), HUMAN_STEP_MAIN);
}

TEST_F(HumanPhysicalTurnTest, DrawingPastTheLibraryLoses)
{
    Frames(1);
    HandTurnTo(PLAYER_HUMAN);
    Human().m_NextDrawIndex = 40;
    Human().m_CardsToDraw = 1;
    m_player->SetState(HUMAN_STEP_DRAW);
    Frames(1);
    EXPECT_TRUE(Human().HasLost());
}

TEST_F(HumanPhysicalTurnTest, ClickingAnAttackerDeclaresItAndClickingAgainTakesItBack)
{
    Start();
    struct Case {
        bool noTapAttack;
        int tapWhileAttacking;
    };
    for (const Case c : {Case{false, TAP_TAPPED}, Case{true, TAP_READY}}) {
        CardActor* const creature = Card(30, PLAYER_HUMAN);
        creature->GetStats().noTapAttack = c.noTapAttack;
        m_player->SetState(HUMAN_STEP_ATTACK);
        s_AttackStep = 0;
        GetTableInput().pointedCard = creature;
        MouseState.leftClicked = 1;
        Frames(1);
        EXPECT_TRUE(creature->IsAttacking());
        EXPECT_EQ(creature->GetTapState(), c.tapWhileAttacking);
        EXPECT_EQ(s_AttackStep, 1);
        EXPECT_EQ(MouseState.leftClicked, 0) << "the click is used";

        MouseState.leftClicked = 1;
        Frames(1);
        EXPECT_FALSE(creature->IsAttacking());
        EXPECT_EQ(creature->GetTapState(), TAP_READY);
        EXPECT_EQ(s_AttackStep, 0);
        GetTableInput().pointedCard = nullptr;
        RemoveActor(creature);
        PurgeRemovedActors();
    }
}

TEST_F(HumanPhysicalTurnTest, CombatDamageRunsFirstStrikeOnlyWhenPresent)
{
    Start();
    for (const bool firstStrike : {false, true}) {
        CardActor* const attacker = Card(30, PLAYER_HUMAN);
        attacker->GetStats().firstStrike = firstStrike;
        attacker->SetAttacking(true);
        m_player->SetState(HUMAN_STEP_ATTACK);
        s_CpuBlockStep = 3;
        Frames(1);
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_FIRST_STRIKE);
        EXPECT_EQ(s_CpuBlockStep, 0);
        Frames(1);
        EXPECT_EQ(m_player->GetState(), firstStrike ? HUMAN_STEP_FIRST_STRIKE_STACK : HUMAN_STEP_DAMAGE);
        if (firstStrike) {
            GetSpellStack().PushCombatDamage(0, 2);
            Frames(2);
            EXPECT_EQ(m_player->GetState(), HUMAN_STEP_FIRST_STRIKE_STACK);
            GetSpellStack().Reset(1);
            Frames(1);
            EXPECT_EQ(m_player->GetState(), HUMAN_STEP_DAMAGE);
        }
        attacker->SetAttacking(true);
        Frames(1);
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_DAMAGE_STACK);
        GetSpellStack().Reset(1);
        Frames(3);
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_MAIN2) << "10 -> 13 -> 14 -> 4";
        RemoveActor(attacker);
        PurgeRemovedActors();
    }
}

// A new clean-up box opens at the advice position; one that takes over an error box drops its buttons and link.
TEST_F(HumanPhysicalTurnTest, ACleanupRequestIsPlacedWhenNewAndResetWhenItTakesABoxOver)
{
    Start();
    for (const bool takesOver : {false, true}) {
        SCOPED_TRACE(takesOver ? "takes an error box over" : "new");
        ForgetLessonBoxPlace();
        s_CleanupKind = -1;
        if (takesOver)
            ShowErrorBoxWithLink();
        CardActor* const dead = Card(30, PLAYER_HUMAN);
        ASSERT_TRUE(dead->LeavePlay(LEAVE_DESTROY));
        Frames(1);
        Messagebox* const box = GetShownLessonBox(14);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetButtonCount(), 0);
        EXPECT_EQ(box->GetExtraWindowCount(), 0);
        if (!takesOver)
            EXPECT_TRUE(IsAtAdvicePosition(box));
        RemovePendingCard(dead);
        Frames(1);
        DeleteLessonBox();
        RemoveActor(dead);
        PurgeRemovedActors();
    }
}

// A new game shows every explanation link unread; the error box tints a pressed link as read and opens it.
TEST_F(HumanPhysicalTurnTest, LinksStartUnreadAndAPressedOneIsTintedAsRead)
{
    constexpr int FLYING_LINK = 3;
    AddString(u"PHYSEXPL_LINK_FLYING", u"Flying");
    {
        Messagebox earlier;
        earlier.OpenExplanation(FLYING_LINK);
        earlier.CloseExplanation();
    }
    ASSERT_TRUE(IsExplanationLinkVisited(FLYING_LINK)) << "read in the last game";
    Start();
    EXPECT_FALSE(IsExplanationLinkVisited(FLYING_LINK));

    Messagebox* const box = ShowBox(11);
    GUI_TextButton* const link = box->CreateTextButton(u"Flying", PackColour(0, 192, 255), PackColour(255, 96, 0),
                                                       PackColour(0, 64, 192), 7, -1);
    link->SetTag(FLYING_LINK);
    GUI_InputEvent press;
    press.type = GUI_EVENT_COMMAND;
    press.sender = link;
    box->HandleInput(press);
    Frames(1);
    EXPECT_EQ(link->GetTextColour(), (GUI_Colour{0, 160, 224, 255}));
    EXPECT_NE(box->GetExplanation(), nullptr);
    EXPECT_EQ(GetShownLessonBox(11), box) << "the error box waits for its answer";
    DeleteLessonBox();
    ClearStringTables();
}

// The advice's containers of one combat are emptied when it ends, not carried into the next.
TEST_F(HumanPhysicalTurnTest, TheEndOfCombatEmptiesTheCombatsAdviceContainers)
{
    Start();
    CardActor* const card = Card(30, PLAYER_HUMAN);
    PhysicalAdviceState& advice = GetPhysicalAdviceState();
    advice.combatMap[card] = 1;
    advice.combatSet.insert(card);
    m_player->SetState(HUMAN_STEP_END_COMBAT);
    Frames(1);
    EXPECT_NE(m_player->GetState(), HUMAN_STEP_END_COMBAT);
    EXPECT_TRUE(advice.combatMap.empty());
    EXPECT_TRUE(advice.combatSet.empty());
}

// Choosing to attack with no creature that can gives the attack error that says why; the step goes on to combat.
TEST_F(HumanPhysicalTurnTest, AttackingWithoutAnAbleCreatureSaysWhy)
{
    for (const char16_t* const key :
         {u"PHYSDLG_ERROR_ATTACK_NoCreatures", u"PHYSDLG_ERROR_ATTACK_NoUntappedUnsickCreatures",
          u"PHYSDLG_ERROR_ATTACK_NoUnsickCreatures", u"PHYSDLG_ERROR_ATTACK_NoUntappedCreatures"})
        AddString(key, key);
    Start();
    struct Case {
        const char* name;
        std::vector<int> tapStates;
        bool cannotAttack;
        const char16_t* key;
    };
    const Case cases[] = {
        {"no creature", {}, false, u"PHYSDLG_ERROR_ATTACK_NoCreatures"},
        {"a summoning-sick one and a tapped one", {TAP_NEW, TAP_TAPPED}, false,
         u"PHYSDLG_ERROR_ATTACK_NoUntappedUnsickCreatures"},
        {"summoning-sick only", {TAP_NEW}, false, u"PHYSDLG_ERROR_ATTACK_NoUnsickCreatures"},
        {"tapped only", {TAP_TAPPED, TAP_TAPPED}, false, u"PHYSDLG_ERROR_ATTACK_NoUntappedCreatures"},
        {"ready, but it may not attack", {TAP_READY}, true, u"PHYSDLG_ERROR_ATTACK_NoUntappedUnsickCreatures"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CardActor*> creatures;
        for (const int tap : c.tapStates) {
            creatures.push_back(Card(30, PLAYER_HUMAN));
            creatures.back()->SetTapState(tap);
            creatures.back()->GetStats().cannotAttack = c.cannotAttack;
        }
        m_player->SetState(HUMAN_STEP_MAIN);
        s_PastCombat = false;
        Click(ShowBox(4), 0);
        Frames(1);
        const Messagebox* const box = GetShownLessonBox(34);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetText(), c.key);
        EXPECT_EQ(box->GetButtonCount(), 1);
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_BEGIN_COMBAT);
        DeleteLessonBox();
        for (CardActor* const creature : creatures)
            RemoveActor(creature);
        PurgeRemovedActors();
    }
    ClearStringTables();
}

// Done without an attacker, or with a creature that must attack left out: a box says so and the step waits.
TEST_F(HumanPhysicalTurnTest, TheAttackDeclarationAsksBeforeItEnds)
{
    AddString(u"PHYS_ATTACK_Declare_Misclick_Done", u"No attackers?");
    AddString(u"PHYS_ADV_MustAttack_1", u"It must attack.");
    Start();
    struct Case {
        const char* name;
        bool mustAttack;
        int kind;
        const char16_t* text;
        int buttons;
    };
    const Case cases[] = {
        {"done without attackers", false, 50, u"No attackers?", 1},
        {"a creature must attack", true, 54, u"It must attack.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardActor* const creature = Card(30, PLAYER_HUMAN);
        creature->GetStats().mustAttack = c.mustAttack;
        m_player->SetState(HUMAN_STEP_ATTACK);
        s_AttackStep = 0;
        s_CpuBlockStep = 0;
        Click(ShowBox(49), 0);
        Frames(1);
        const Messagebox* const box = GetShownLessonBox(c.kind);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetText(), c.text);
        EXPECT_EQ(box->GetButtonCount(), c.buttons);
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_ATTACK) << "the step waits";
        DeleteLessonBox();
        RemoveActor(creature);
        PurgeRemovedActors();
    }
    ClearStringTables();
}

// The basic game's must-attack reminder names the creature left home and speaks Tavevsar's own clip for it.
TEST_F(HumanPhysicalTurnTest, TheBasicGamesMustAttackReminderNamesTheCreature)
{
    SetMode(1);
    AddString(u"PHYS_BASIC_MustAttack_1", u"%0 must attack.");
    AddString(u"PHYS_BASIC_MustAttack_N", u"%0 and the others must attack.");
    Start();
    struct Case {
        const char* name;
        int id;
        int count;
        const char16_t* format;
        const char16_t* voice;
    };
    const Case cases[] = {
        {"one creature", 30, 1, u"%0 must attack.", u"vo_phys\\adv_MustAttack.wav"},
        {"two creatures", 30, 2, u"%0 and the others must attack.", u"vo_phys\\adv_MustAttack_N.wav"},
        {"Tavevsar", CD_TAVEVSAR, 1, u"%0 must attack.", u"vo_phys\\basic_tavevsar_MustAttack.wav"},
        {"two Tavevsars", CD_TAVEVSAR, 2, u"%0 and the others must attack.",
         u"vo_phys\\basic_tavevsar_MustAttack_N.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearHintPlayCounts();
        std::vector<CardActor*> creatures;
        for (int i = 0; i < c.count; ++i) {
            creatures.push_back(Card(c.id, PLAYER_HUMAN));
            creatures.back()->GetStats().mustAttack = true;
        }
        m_player->SetState(HUMAN_STEP_ATTACK);
        s_AttackStep = 0;
        s_CpuBlockStep = 0;
        Click(ShowBox(49), 0);
        Frames(1);
        const Messagebox* const box = GetShownLessonBox(54);
        ASSERT_NE(box, nullptr);
        std::u16string expected = c.format;
        expected.replace(expected.find(u"%0"), 2, creatures.front()->GetNameField());
        EXPECT_EQ(box->GetText(), expected);
        EXPECT_EQ(box->GetButtonCount(), 0) << "the reminder waits for the creatures";
        EXPECT_EQ(m_player->GetState(), HUMAN_STEP_ATTACK);
        // Spoken once for each creature left home: the count given is the limit.
        EXPECT_EQ(GetHintRegistry()->PlayVoiceLimited(c.voice, c.count, false), c.count > 1);
        DeleteLessonBox();
        for (CardActor* const creature : creatures)
            RemoveActor(creature);
        PurgeRemovedActors();
    }
    ClearStringTables();
}

TEST_F(HumanPhysicalTurnTest, CleanupRequestsNameWhatWaitsAndCloseOnceItIsGone)
{
    Start();
    constexpr int SORCERY = 40;
    constexpr int AURA = 41;
    g_CardDefs[SORCERY].m_CardType = CT_SORCERY;
    g_CardDefs[AURA].m_CardType = CT_ENCHANT;
    g_CardDefs[AURA].m_SpellEffect.effectType = EFFECT_ENCHANT;
    struct Case {
        const char* name;
        int creatures, lands, spells, countered;
        bool aura;
        const char16_t* key;
    };
    const Case cases[] = {
        {"one dead creature", 1, 0, 0, 0, false, u"PHYSDLG_DEADCREATURECLEANUP"},
        {"one dead land", 0, 1, 0, 0, false, u"PHYSDLG_DEADCARDCLEANUP"},
        {"two dead creatures", 2, 0, 0, 0, false, u"PHYSDLG_DEADCREATURECLEANUP_MORETHANONE"},
        {"a creature and a land", 1, 1, 0, 0, false, u"PHYSDLG_DEADCARDCLEANUP_MORETHANONE"},
        {"one countered card", 0, 0, 0, 1, false, u"PHYSDLG_COUNTEREDCARDCLEANUP"},
        {"countered and dead", 1, 0, 0, 1, false, u"PHYSDLG_COUNTEREDANDDEADCARDCLEANUP"},
        {"one used spell", 0, 0, 1, 0, false, u"PHYSDLG_USEDSPELLCLEANUP"},
        {"two used spells", 0, 0, 2, 0, false, u"PHYSDLG_USEDSPELLCLEANUP_MORETHANONE"},
        {"an aura whose creature died", 1, 0, 0, 0, true, u"PHYSDLG_ERROR_AbandonedCreatureEnchantment"},
    };
    for (const Case& c : cases) {
        std::vector<CardActor*> gone;
        const auto leave = [&gone](CardActor* card, int reason) {
            ASSERT_TRUE(card->LeavePlay(reason));
            gone.push_back(card);
        };
        std::vector<CardActor*> creatures;
        for (int i = 0; i < c.creatures; ++i)
            creatures.push_back(Card(30, PLAYER_HUMAN));
        CardActor* const aura = c.aura ? Card(AURA, PLAYER_HUMAN) : nullptr;
        if (aura != nullptr)
            creatures.front()->AttachCard(aura);
        for (CardActor* creature : creatures)
            leave(creature, LEAVE_DESTROY);
        if (aura != nullptr) {
            // The learner has put the creature away; its aura still waits.
            ASSERT_EQ(aura->GetHost(), creatures.front());
            PutCardIntoGraveyard(creatures.front());
            RemovePendingCard(creatures.front());
            gone.push_back(aura);
        }
        for (int i = 0; i < c.lands; ++i)
            leave(Card(CD_MOUNTAIN1, PLAYER_HUMAN), LEAVE_DESTROY);
        for (int i = 0; i < c.spells; ++i)
            leave(Card(SORCERY, PLAYER_HUMAN), LEAVE_DESTROY);
        for (int i = 0; i < c.countered; ++i)
            leave(Card(31, PLAYER_HUMAN), LEAVE_COUNTERED);
        Frames(1);
        const Messagebox* const box = GetShownLessonBox(14);
        ASSERT_NE(box, nullptr) << c.name;
        EXPECT_TRUE(box->GetText().starts_with(c.key)) << c.name;
        Frames(2);
        EXPECT_EQ(GetShownLessonBox(14), box) << c.name << ": the request stays as it is";

        for (CardActor* card : gone)
            RemovePendingCard(card);
        Frames(1);
        EXPECT_EQ(GetShownLessonBox(14), nullptr) << c.name << ": the box closes once the cards are away";
        DeleteLessonBox();
        g_CounteredCard = nullptr;
        s_CleanupKind = -1;
        for (CardActor* card : gone)
            RemoveActor(card);
        PurgeRemovedActors();
    }
}

// The advice on a CPU spell waits while a modal card dialog is queued, so the queue is served while that spell
// stands on the stack; only a resolution handed over to its prompts holds it back.
TEST_F(HumanPhysicalTurnTest, AQueuedModalDialogIsShownWhileACpuSpellWaitsOnTheStack)
{
    struct Case {
        const char* name;
        bool paused;
        bool shown;
    };
    for (const Case c : {Case{"a spell waits", false, true}, Case{"a resolution is paused", true, false}}) {
        Start();
        SpellStack& stack = GetSpellStack();
        stack.CastSpell(Card(30, PLAYER_CPU), nullptr, nullptr, false, false);
        ASSERT_EQ(stack.GetCount(), 1) << c.name;
        stack.m_ResolutionPaused = c.paused;
        stack.m_PausedWord = c.paused ? 1 : 0;
        DestroyAllDialogs();
        AddArmedDialog(std::make_unique<WaitingModalDialog>());
        PostDialogEvent(WaitingModalDialog::EVENT, nullptr);
        ASSERT_TRUE(HasPriorityDialogQueued()) << c.name;
        Frames(1);
        EXPECT_EQ(IsPriorityDialogShown(), c.shown) << c.name;
        EXPECT_EQ(HasPriorityDialogQueued(), !c.shown) << c.name;
        DestroyAllDialogs();
        stack.Reset(1);
        stack.OpenWindow();
    }
}

} // namespace
