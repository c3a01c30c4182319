// The families of online advice over small boards: which advice each situation gives, its text key and
// arguments, its box and buttons, its sentence, and the budgets that fall only when the advice is new.
#include "tests/lessons/OnlineAdviceFixture.h"

#include "engine/core/TextHelpers.h"
#include "rules/SpellStack.h"

#include <functional>
#include <string>

namespace {

using advicetest::OnlineAdviceTest;

std::string Narrow(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

std::u16string Clip(const char* stem)
{
    std::u16string s = u"data\\wavsonl\\";
    for (const char* p = stem; *p != '\0'; ++p)
        s += static_cast<char16_t>(*p);
    return s + u".wav";
}

TEST_F(OnlineAdviceTest, TheUntapStepTellsWhatUntapsOncePerGameEach)
{
    struct Case {
        int summary;
        int number;
        const char16_t* key;
        const char* clip;
    };
    const Case cases[] = {
        {0, 4, u"ONL_NothingToUntap", nullptr},
        {1, 1, u"ONL_UntapLands", "b028"},
        {2, 2, u"ONL_UntapCreatures", "b029"},
        {3, 3, u"ONL_UntapLandsandCreatures", "b030"},
    };
    for (const Case& c : cases) {
        ResetAdvisorGame();
        Memory().untapSummary = c.summary;
        const AdviceSituation s = Situation(STEP_UNTAP);
        const AdviceChoice first = AdviseUntap(s, Memory());
        ASSERT_TRUE(first) << c.number;
        EXPECT_EQ(first->number, c.number);
        EXPECT_EQ(first->key, c.key);
        EXPECT_EQ(first->height, 160);
        EXPECT_TRUE(first->busy);
        if (c.clip != nullptr) {
            ASSERT_EQ(first->voice.size(), 1u);
            EXPECT_EQ(first->voice[0], Clip(c.clip));
        } else {
            EXPECT_TRUE(first->voice.empty());
        }
        // The same situation looked at again: the advice stays, silent.
        Memory().lastAdvice = c.number;
        const AdviceChoice again = AdviseUntap(s, Memory());
        ASSERT_TRUE(again);
        EXPECT_TRUE(again->voice.empty());
        // A later untap step of the game: shown already.
        Memory().lastAdvice = 0;
        EXPECT_FALSE(AdviseUntap(s, Memory())) << c.number;
    }
    // Not the learner's untap step: nothing.
    EXPECT_FALSE(AdviseUntap(Situation(STEP_MAIN), Memory()));
}

TEST_F(OnlineAdviceTest, TheCardBeingPlayedAsksForItsTargetWithACancelButton)
{
    struct Case {
        int id;
        const char* board;
        int number;
        const char16_t* key;
        const char* firstClip;
    };
    const Case cases[] = {
        {CD_SAVOTNEL, "ready creature", 150, u"ONL_DamageTargetEither", "b610"},
        {CD_VORENTON, "empty", 151, u"ONL_DamageTargetPlayer", nullptr},
        {CD_PRAUNRIK, "empty", 152, u"ONL_SpellTargetCreature", nullptr},
        {CD_ESKARMAR, "empty", 152, u"ONL_SpellTargetCreature", nullptr},
        {CD_WENORTH, "state 0", 153, u"ONL_WenorthMode", nullptr},
        {CD_WENORTH, "state 1", 154, u"ONL_Wenorth_Life", nullptr},
        {CD_WENORTH, "state 2", 155, u"ONL_Wenorth_Prevent", nullptr},
        {CD_FENORTON, "empty", 156, u"ONL_FenortonTarget", "b620"},
    };
    for (const Case& c : cases) {
        Fresh();
        const std::string board = c.board;
        if (board == "ready creature")
            OnTable(Creature(1, 1), PLAYER_CPU);
        CardActor& card = InHand(TargetInstant(c.id));
        if (board == "state 1")
            card.SetState(1);
        if (board == "state 2")
            card.SetState(2);
        GetTableSelection().pendingSpell = &card;
        const AdviceChoice a = AdviseTargetPrompt(Situation(STEP_MAIN), Memory());
        ASSERT_TRUE(a) << c.number;
        EXPECT_EQ(a->number, c.number);
        EXPECT_EQ(a->key, c.key);
        EXPECT_FALSE(a->ok);
        EXPECT_EQ(a->cancel, c.number != 153);
        EXPECT_EQ(a->choice, c.number == 153);
        if (c.number == 153)
            EXPECT_EQ(a->height, 200);
        if (c.number == 152) {
            ASSERT_EQ(a->args.size(), 2u);
            EXPECT_EQ(a->args[0], ActorName(&card));
        }
        if (c.firstClip != nullptr) {
            ASSERT_FALSE(a->voice.empty());
            EXPECT_EQ(a->voice.front(), Clip(c.firstClip));
        } else {
            EXPECT_TRUE(a->voice.empty()) << c.number;
        }
        // Its target chosen, the card asks nothing more about targets.
        card.SetChosenTarget(m_cpu);
        EXPECT_FALSE(AdviseTargetPrompt(Situation(STEP_MAIN), Memory())) << c.number;
    }
}

TEST_F(OnlineAdviceTest, PaymentAdviceFollowsTheCostAndItsBudgets)
{
    struct Case {
        ManaCost cost;
        int number;
        const char16_t* shortKey;
        const char16_t* key;
        std::size_t budget;
        std::size_t args;
    };
    // Red is colour index 1: "a Mountain", "Mountains".
    const Case cases[] = {
        {ManaCost(0, 1, 0, 0, 0, 0), 31, u"ONL_PayforSpell_C", u"ONL_PayforSpell_01", 0, 1},
        {ManaCost(0, 2, 0, 0, 0, 0), 32, u"ONL_PayforSpell_CC", u"ONL_PayforSpell_0N", 1, 2},
        {ManaCost(1, 1, 0, 0, 0, 0), 33, u"ONL_PayforSpell_1C", u"ONL_PayforSpell_11", 0, 1},
        {ManaCost(1, 3, 0, 0, 0, 0), 34, u"ONL_PayforSpell_1CC", u"ONL_PayforSpell_1N", 1, 2},
        {ManaCost(2, 1, 0, 0, 0, 0), 35, u"ONL_PayforSpell_NC", u"ONL_PayforSpell_N1", 2, 2},
        {ManaCost(3, 2, 0, 0, 0, 0), 36, u"ONL_PayforSpell_NCC", u"ONL_PayforSpell_NN", 2, 3},
    };
    for (const Case& c : cases) {
        Fresh();
        CardActor& card = InHand(Creature(2, 2, c.cost));
        GetTableSelection().pendingSpell = &card;
        const AdviceSituation s = Situation(STEP_MAIN);
        int& budget = Memory().paymentBudgets[c.budget];
        budget = 4;
        // A full budget: the short key with mana symbols, its sentence, and the budget falls once.
        AdviceChoice a = AdvisePayment(s, Memory());
        ASSERT_TRUE(a) << c.number;
        EXPECT_EQ(a->number, c.number);
        EXPECT_EQ(a->key, c.shortKey);
        EXPECT_TRUE(a->cancel);
        EXPECT_FALSE(a->ok);
        EXPECT_EQ(a->costGeneric, c.cost.generic);
        EXPECT_EQ(budget, 3);
        Memory().lastAdvice = c.number;
        a = AdvisePayment(s, Memory());
        EXPECT_EQ(a->costGeneric, -1) << "spoken once";
        EXPECT_EQ(budget, 3) << "not new: the budget stays";
        // A worn budget: the numbered key with the land words, a lower box.
        EXPECT_EQ(a->key, c.key);
        EXPECT_EQ(a->height, 160);
        EXPECT_EQ(a->args.size(), c.args);
        // Spent: the generic text.
        budget = 0;
        Memory().lastAdvice = 0;
        a = AdvisePayment(s, Memory());
        EXPECT_EQ(a->key, u"ONL_Generic_PayForSpell");
        EXPECT_EQ(budget, 0);
    }
    // A colourless cost gets no payment advice.
    Fresh();
    CardActor& artifact = InHand(Define(CT_ARTIFACT, ManaCost(3, 0, 0, 0, 0, 0)));
    GetTableSelection().pendingSpell = &artifact;
    EXPECT_FALSE(AdvisePayment(Situation(STEP_MAIN), Memory()));
}

TEST_F(OnlineAdviceTest, TheOpponentsInstantOnTheStackNamesTheAnswerTheLearnerCanAfford)
{
    struct Case {
        const char* board;
        int instantId;
        int answerId;  // the learner's instant in hand, 0 none
        bool atPlayer;
        int number;    // 0: no advice
        const char16_t* key;
    };
    const Case cases[] = {
        {"damage at a creature, Eskarmar in hand", CD_SAVOTNEL, CD_ESKARMAR, false, 25,
         u"ONL_EskarmarSavesCreature"},
        {"damage at a creature, Wenorth in hand", CD_SAVOTNEL, CD_WENORTH, false, 23, u"ONL_WenorthSavesCreature"},
        {"damage at a creature, Praunrik in hand", CD_SAVOTNEL, CD_PRAUNRIK, false, 24, u"ONL_PraunrikSavesCreature"},
        {"damage at a creature, nothing in hand", CD_SAVOTNEL, 0, false, 0, nullptr},
        {"damage at the learner, Wenorth in hand", CD_VORENTON, CD_WENORTH, true, 28, u"ONL_HealingSpellSavesPlayer"},
        {"a pump, Savotnel finishes the target", CD_PRAUNRIK, CD_SAVOTNEL, false, 27, u"ONL_FunWithTheStack"},
        {"Nesurgast", CD_NESURGAST, 0, true, 101, u"ONL_OppNesurgast"},
        {"Fenorton", CD_FENORTON, 0, true, 101, u"ONL_OppFenorton_A"},
        {"Eskarmar at the learner's creature", CD_ESKARMAR, 0, false, 101, u"ONL_OppEskarmar"},
        {"Falarsar, Eskarmar in hand", CD_FALARSAR, CD_ESKARMAR, false, 25, u"ONL_EskarmarSavesCreature"},
    };
    for (const Case& c : cases) {
        Fresh();
        RedLands(1);
        // The learner's 1/2 that the instant aims at: Savotnel's 2 damage leaves it at 0.
        CardActor& target = OnTable(Creature(1, 2), PLAYER_HUMAN);
        if (c.answerId != 0)
            InHand(c.answerId == CD_SAVOTNEL ? DamageInstant(CD_SAVOTNEL, 2) : TargetInstant(c.answerId));
        CardActor& instant = OnTable(DamageInstant(c.instantId, 2), PLAYER_CPU);
        instant.m_SummoningSick = true;
        SpellStack& stack = GetSpellStack();
        stack.m_Entries[0].card = &instant;
        stack.m_Entries[0].targetCard = c.atPlayer ? nullptr : &target;
        stack.m_Entries[0].targetPlayer = c.atPlayer ? m_human : nullptr;
        stack.m_Count = 1;
        SetPlayerActors(m_human, m_cpu);
        AdviceSituation s = Situation(STEP_MAIN, false);
        s.topController = 2;
        const AdviceChoice a = AdviseOpponentInstant(s, Memory());
        if (c.number == 0) {
            EXPECT_FALSE(a) << c.board;
            continue;
        }
        ASSERT_TRUE(a) << c.board;
        EXPECT_EQ(a->number, c.number) << c.board;
        EXPECT_EQ(a->key, c.key) << c.board;
        EXPECT_EQ(a->height, 180);
        EXPECT_FALSE(a->ok);
        stack.m_Count = 0;
        stack.m_Entries[0] = StackEntry();
    }
}

TEST_F(OnlineAdviceTest, TheLearnersAttackIsExplainedPageByPageAndThenItsInstants)
{
    // A creature put onto the table this turn: summoning sickness first.
    CardActor& fresh = OnTable(Creature(2, 2), PLAYER_HUMAN);
    fresh.SetTapState(TAP_NEW);
    AdviceChoice a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 42);
    EXPECT_EQ(a->key, u"ONL_ExplainSummoningSickness");
    EXPECT_EQ(a->voice.front(), Clip("b100"));
    // The cursor has passed it: an able attacker that the opponent could block gets the blocking pages.
    OnTable(Creature(2, 2), PLAYER_HUMAN);
    OnTable(Creature(1, 3), PLAYER_CPU);
    a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 43);
    EXPECT_EQ(a->key, u"ONL_ExplainBlocking1");
    EXPECT_EQ(Memory().blockingExplanationBudget, 1);
    const struct {
        int page;
        const char16_t* key;
        bool ok;
    } pages[] = {{2, u"ONL_ExplainBlocking2", true}, {1, u"ONL_ExplainBlocking3", false}};
    for (const auto& p : pages) {
        Memory().lastAdvice = 43;
        Memory().page = p.page;
        a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
        ASSERT_TRUE(a);
        EXPECT_EQ(a->key, p.key);
        EXPECT_EQ(a->ok, p.ok);
        EXPECT_FALSE(a->voice.empty()) << "a new page speaks";
    }
    EXPECT_EQ(Memory().blockingExplanationBudget, 1) << "only the first page spends the budget";

    // Declared: the instants of the attack, a budget of three.
    Fresh();
    OnTable(Creature(2, 2), PLAYER_HUMAN);
    s_AttackStep = 2;
    a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 47);
    EXPECT_EQ(a->key, u"ONL_AttackDeclaredInst2");
    EXPECT_TRUE(a->arrow);
    EXPECT_EQ(Memory().attackInstantsBudget, 2);
    Memory().lastAdvice = 47;
    a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
    EXPECT_EQ(Memory().attackInstantsBudget, 2);
    Memory().lastAdvice = 0;
    a = AdviseLearnerAttack(Situation(STEP_COMBAT), Memory());
    EXPECT_EQ(a->key, u"ONL_CombatInstants2");
}

TEST_F(OnlineAdviceTest, TheLearnersMainPhaseWalksItsAdviceInOrder)
{
    struct Case {
        const char* board;
        std::function<void(OnlineAdviceTest&)> setUp;
        int number;
        const char16_t* key;
    };
    const auto drawShown = [](OnlineAdviceTest&) { GetOnlineAdvisorState().drawStepShown = true; };
    const Case cases[] = {
        {"the first main phase of the game", [](OnlineAdviceTest&) {}, 5, u"ONL_SkippedDrawStep"},
        {"after a draw", [](OnlineAdviceTest&) { GetOnlineAdvisorState().drawSkipped = false; }, 5,
         u"ONL_FirstDrawStep"},
        {"a land in hand", [&](OnlineAdviceTest& t) {
             drawShown(t);
             t.InHand(t.Land(ManaCost(0, 1, 0, 0, 0, 0)));
         }, 7, u"ONL_PlayLand"},
        {"Savotnel kills the opponent at 2", [&](OnlineAdviceTest& t) {
             drawShown(t);
             t.RedLands(1);
             t.InHand(t.DamageInstant(CD_SAVOTNEL, 2));
             GetPlayerState(PLAYER_CPU)->SetLife(2, false);
         }, 21, u"ONL_InstantWins"},
        {"Savotnel can kill a blocker before the attack", [&](OnlineAdviceTest& t) {
             drawShown(t);
             t.RedLands(1);
             t.InHand(t.DamageInstant(CD_SAVOTNEL, 2));
             t.OnTable(t.Creature(2, 2), PLAYER_HUMAN);
             t.OnTable(t.Creature(1, 2), PLAYER_CPU);
         }, 12, u"ONL_SavotnelReminder"},
        {"an attacker and an affordable creature", [&](OnlineAdviceTest& t) {
             drawShown(t);
             t.RedLands(2);
             t.OnTable(t.Creature(2, 2), PLAYER_HUMAN);
             t.InHand(t.Creature(1, 1, ManaCost(1, 1, 0, 0, 0, 0)));
         }, 14, u"ONL_EndPrecombatMain1"},
        {"an attacker and nothing to play", [&](OnlineAdviceTest& t) {
             drawShown(t);
             t.OnTable(t.Creature(2, 2), PLAYER_HUMAN);
         }, 15, u"ONL_EndPrecombatMain3"},
        {"after combat, a creature to play", [&](OnlineAdviceTest& t) {
             drawShown(t);
             s_PastCombat = true;
             t.RedLands(2);
             t.InHand(t.Creature(1, 1, ManaCost(1, 1, 0, 0, 0, 0)));
         }, 19, u"ONL_PlayBestCreature"},
    };
    for (const Case& c : cases) {
        Fresh();
        GetPlayerState(PLAYER_CPU)->SetLife(20, true);
        c.setUp(*this);
        const AdviceChoice a = AdviseLearnerMain(Situation(STEP_MAIN), Memory());
        ASSERT_TRUE(a) << c.board;
        EXPECT_EQ(a->number, c.number) << c.board;
        EXPECT_EQ(a->key, c.key) << c.board;
    }
    // A land played before the draw-step advice cancels it for the game.
    Fresh();
    Memory().landsAtTurnStart = 0;
    RedLands(1);
    EXPECT_FALSE(AdviseLearnerMain(Situation(STEP_MAIN), Memory()));
    EXPECT_TRUE(Memory().drawStepShown);
}

TEST_F(OnlineAdviceTest, TheOpponentsAttackTeachesBlockingOrWarnsTheDefencelessLearner)
{
    struct Case {
        const char* board;
        int learnerBlocking;
        bool learnerBlocker;
        bool flier;
        int attackers;
        int number;
        const char16_t* key;
    };
    const Case cases[] = {
        {"a lone attacker to block", 1, true, false, 1, 58, u"ONL_BlockLoneAttacker"},
        {"a lone flier to block", 1, true, true, 1, 59, u"ONL_BlockLoneFlyingAttacker"},
        {"several attackers", 1, true, false, 2, 60, u"ONL_BlockAttackers"},
        {"no blocker", 0, false, false, 1, 62, u"ONL_DefenselessPlayer1_nodudes"},
        {"a blocker, the stop before blocks", 0, true, false, 1, 63, u"ONL_WaitingForInstants2"},
    };
    for (const Case& c : cases) {
        Fresh();
        for (int i = 0; i < c.attackers; ++i) {
            CARD& def = Creature(2, 2);
            def.m_Stats.flying = c.flier;
            OnTable(def, PLAYER_CPU).SetAttacking(true);
        }
        if (c.learnerBlocker) {
            CARD& def = Creature(1, 3);
            def.m_Stats.flyBlock = true;
            OnTable(def, PLAYER_HUMAN);
        }
        s_HumanBlockStep = c.learnerBlocking;
        AdviceSituation s = Situation(STEP_COMBAT, false);
        s.stops[1][4] = true;
        const AdviceChoice a = AdviseOpponentTurn(s, Memory());
        ASSERT_TRUE(a) << c.board;
        EXPECT_EQ(a->number, c.number) << c.board;
        EXPECT_EQ(a->key, c.key) << c.board;
        EXPECT_EQ(a->skipsBlocking, c.number == 62) << c.board;
        if (c.number >= 58 && c.number <= 61)
            EXPECT_EQ(a->width, 380);
    }
    // A spent block budget gives no blocking advice.
    Fresh();
    OnTable(Creature(2, 2), PLAYER_CPU).SetAttacking(true);
    OnTable(Creature(2, 2), PLAYER_CPU).SetAttacking(true);
    OnTable(Creature(1, 3), PLAYER_HUMAN);
    s_HumanBlockStep = 1;
    Memory().blockBudgets[2] = 0;
    AdviceSituation s = Situation(STEP_COMBAT, false);
    s.stops[1][4] = true;
    EXPECT_FALSE(AdviseOpponentTurn(s, Memory()));
}

TEST_F(OnlineAdviceTest, TheHandDecidesTheGenericAdviceAndThePhaseStopsTheWait)
{
    // Nothing affordable: pass, with the arrow at the pass button.
    AdviceChoice a = AdviseGeneric(Situation(STEP_MAIN), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 30);
    EXPECT_TRUE(a->arrow);
    // A creature to play.
    RedLands(2);
    InHand(Creature(1, 1, ManaCost(1, 1, 0, 0, 0, 0)));
    a = AdviseGeneric(Situation(STEP_MAIN), Memory());
    EXPECT_EQ(a->number, 20);
    EXPECT_EQ(a->args.size(), 1u);
    // The wait for instants: only at a phase stop, and once per game for each of its variants.
    AdviceSituation s = Situation(STEP_END, false);
    EXPECT_FALSE(AdviseWaiting(s, Memory()));
    s.stops[1][9] = true;
    a = AdviseWaiting(s, Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 105);
    EXPECT_EQ(a->key, u"ONL_WaitingForInstants2");
    EXPECT_FALSE(AdviseWaiting(s, Memory()));
}

TEST_F(OnlineAdviceTest, ManaBurnShowsTheStoredAmountOrBurnsThePoolItSees)
{
    Memory().pendingManaBurn = 3;
    AdviceChoice a = AdviseManaBurn(Situation(STEP_MAIN), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 1010);
    EXPECT_EQ(a->key, u"ONL_ManaBurn");
    EXPECT_EQ(a->args, std::vector<std::u16string>{u"3"});
    EXPECT_EQ(a->width, 352);
    EXPECT_EQ(a->height, 265);
    EXPECT_FALSE(a->burnsPool);
    EXPECT_EQ(a->voice.front(), Clip("b940"));
    EXPECT_EQ(a->voice.back(), Clip("b941"));
    // Nothing stored: a pool seen at a new main, combat or damage step burns, with redraw set.
    Memory().pendingManaBurn = 0;
    GetPlayerState(PLAYER_HUMAN)->m_ManaPool = ManaCost(0, 2, 0, 0, 0, 0);
    Memory().redraw = true;
    Memory().lastActiveStep = STEP_UNTAP;
    a = AdviseManaBurn(Situation(STEP_MAIN), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->args, std::vector<std::u16string>{u"2"});
    EXPECT_TRUE(a->burnsPool);
    Memory().lastActiveStep = STEP_MAIN;
    EXPECT_FALSE(AdviseManaBurn(Situation(STEP_MAIN), Memory())) << "the same step";
    // The advanced game shows it without the sentence.
    SetMode(4);
    Memory().pendingManaBurn = 1;
    a = AdviseManaBurn(Situation(STEP_MAIN), Memory());
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->voice.empty());
}

TEST_F(OnlineAdviceTest, TheAdvancedGameGivesNoPaymentTargetOrStepAdvice)
{
    SetMode(4);
    CardActor& card = InHand(Creature(2, 2, ManaCost(0, 1, 0, 0, 0, 0)));
    GetTableSelection().pendingSpell = &card;
    InHand(Land(ManaCost(0, 1, 0, 0, 0, 0)));
    for (const int step : {STEP_UNTAP, STEP_MAIN, STEP_COMBAT, STEP_END})
        EXPECT_FALSE(ChooseAdvice(Situation(step), Memory())) << step;
}

// Combat damage to a player is explained once per turn; the first time for each player the arrow points at its
// life.
TEST_F(OnlineAdviceTest, CombatDamageToAPlayerIsExplainedOncePerTurn)
{
    GetPlayerState(PLAYER_CPU)->m_DamageThisTurn = 3;
    AdviceChoice a = AdviseCombatDamage(Situation(STEP_DAMAGE), Memory());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 102);
    EXPECT_EQ(a->key, u"ONL_DamageToOpponent");
    EXPECT_EQ(a->args[0], u"3");
    EXPECT_TRUE(a->arrow);
    EXPECT_FALSE(AdviseCombatDamage(Situation(STEP_DAMAGE), Memory()));
    ResetAdvisorTurn();
    a = AdviseCombatDamage(Situation(STEP_DAMAGE), Memory());
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->arrow) << "the first time only";
    GetPlayerState(PLAYER_CPU)->m_DamageThisTurn = 0;
}

} // namespace
