// The checks before a dropped card is played in the physical lesson: whether a play may start, every outcome of a
// drop (silent refusals, not enough or wrong lands, no target, the wrong place), the mistimed-play errors, and the
// error box moved off its card.
#include "cards/LifeToken.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "lessons/PlayChecks.h"
#include "rules/CombatLinks.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using namespace lessontest;

// Synthetic cards: 1 a Mountain, 5 an Island, 17 a Swamp; 25 a creature costing one red and one generic; 30 a
// creature for the CPU.
constexpr int MOUNTAIN = 1;
constexpr int ISLAND = 5;
constexpr int SWAMP = 17;
constexpr int RED_TWO = 25;
constexpr int CPU_CREATURE = 30;

class PlayChecksTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        m_human->SetState(5);
        HandTurnTo(PLAYER_HUMAN);
        KeysAsTexts({u"PRE_PHYS_NotEnoughUntappedLand", u"PRE_PHYS_NotEnoughUntappedLand_Tapped",
                     u"PRE_PHYS_WrongUntappedLand", u"PRE_PHYS_WrongUntappedLand_Tapped",
                     u"PRE_PHYSDLG_ERROR_NoTargets", u"PRE_PHYSDLG_ERROR_NoGoodNodumberTarget",
                     u"PHYSDLG_Error_CreatureInWrongPlace", u"PHYSDLG_Error_ArtifactInWrongPlace",
                     u"PHYSDLG_Error_EnchantmentInWrongPlace", u"PHYSDLG_Error_SorceryInWrongPlace",
                     u"PHYSDLG_Error_InstantInWrongPlace", u"PHYSDLG_ERROR_MistimeLand",
                     u"PHYSDLG_ERROR_MistimeCreature_Combat", u"PHYSDLG_ERROR_MistimeSpell",
                     u"PHYSDLG_ERROR_MistimeInstant_OppTurn", u"PHYSDLG_ERROR_MistimeCard_OppTurn"});
    }

    void TearDown() override
    {
        CloseLessonBox();
        DeleteLessonBox();
        ClearAdviceCards();
        ClearTableSelection();
        GetPaymentState().paying = false;
        SetLessonPendingCard(nullptr);
        SetCanPlayNowFlag(0);
        LessonTest::TearDown();
    }

    static void Lands(int id, int count, bool tapped = false)
    {
        for (int i = 0; i < count; ++i)
            if (CardActor* land = Card(id, PLAYER_HUMAN); tapped)
                land->SetTapState(TAP_TAPPED);
        UpdateHumanAvailableMana();
    }

    // A card held in the hand, moved to a point of the table as the drag left it.
    static CardActor* Dropped(int id, bool inPlayArea)
    {
        CardActor* const card = Card(id, PLAYER_HUMAN, true);
        RasterRect area;
        GetGameDisplay()->GetPlayAreaRect(area);
        if (inPlayArea)
            card->m_Position.Set(static_cast<float>(area.left + 40), static_cast<float>(area.top + 20), 0.0f);
        else
            card->m_Position.Set(static_cast<float>(area.left + 40), 10.0f, 0.0f);
        return card;
    }

    static bool BoxClearOf(const CardActor* card)
    {
        if (!IsLessonBoxShowing())
            return false;
        RasterRect r;
        GetGameDisplay()->GetCardRect(card, r, false);
        const Messagebox* box = GetLessonBox();
        return box->GetRight() <= r.left || box->GetLeft() >= r.right || box->GetBottom() <= r.top ||
               box->GetTop() >= r.bottom;
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

TEST_F(PlayChecksTest, CanStartPlayingOnlyWhenNothingHoldsThePlay)
{
    CardActor card;
    struct Case {
        const char* name;
        void (*set)(CardActor* card, Actor* human);
        bool canStart;
    };
    const Case cases[] = {
        {"main phase, nothing pending", [](CardActor*, Actor*) {}, true},
        {"no CPU actor", [](CardActor*, Actor*) { SetCpuPlayerActor(nullptr); }, false},
        {"unaffordable card", [](CardActor* c, Actor*) { SetUnaffordableCard(c); }, false},
        {"mistimed card", [](CardActor* c, Actor*) { SetMistimedCard(c); }, false},
        {"card drawn by hand", [](CardActor* c, Actor*) { GetTableFlow().cardDrawnByHand = c; }, false},
        {"ability cost error, even unregistered",
         [](CardActor*, Actor*) {
             ShowBox(12);
             GetGameDisplay()->UnregisterWindow(GetLessonBox());
         },
         false},
        {"not the main phase", [](CardActor*, Actor* h) { h->SetState(7); }, false},
        {"can-play-now outside the main phase, in the CPU's turn",
         [](CardActor*, Actor* h) {
             h->SetState(7);
             HandTurnTo(PLAYER_CPU);
             SetCanPlayNowFlag(1);
         },
         true},
        {"a dropped card waits for payment", [](CardActor* c, Actor*) { SetLessonPendingCard(c); }, false},
        {"paying", [](CardActor*, Actor*) { GetPaymentState().paying = true; }, false},
        {"a card in payment", [](CardActor* c, Actor*) { GetTableSelection().pendingSpell = c; }, false},
        {"answering out of turn without the flag", [](CardActor*, Actor* h) { h->SetState(21); }, false},
        {"a pending card", [](CardActor*, Actor*) { AddPendingCard(Card(RED_TWO, PLAYER_HUMAN)); }, false},
        {"a paused stack",
         [](CardActor*, Actor*) {
             GetSpellStack().m_ResolutionPaused = true;
             GetSpellStack().m_PausedWord = 1;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetPlayerActors(m_human, m_cpu);
        m_human->SetState(5);
        HandTurnTo(PLAYER_HUMAN);
        c.set(&card, m_human);
        EXPECT_EQ(CanStartPlaying(), c.canStart);
        // A pending card holds the play even with the flag set.
        if (c.canStart && GetCanPlayNowFlag() != 0) {
            AddPendingCard(Card(RED_TWO, PLAYER_HUMAN));
            EXPECT_FALSE(CanStartPlaying());
        }
        ClearPendingCards();
        ClearAdviceCards();
        GetTableFlow().cardDrawnByHand = nullptr;
        DeleteLessonBox();
        SetCanPlayNowFlag(0);
        SetLessonPendingCard(nullptr);
        GetPaymentState().paying = false;
        ClearTableSelection();
        GetSpellStack().m_ResolutionPaused = false;
        GetSpellStack().m_PausedWord = 0;
    }
}

TEST_F(PlayChecksTest, SilentRefusalsShowNothing)
{
    Lands(MOUNTAIN, 2);
    struct Case {
        const char* name;
        CardActor* (*make)();
    };
    const Case cases[] = {
        {"a dropped card waits", [] {
             SetLessonPendingCard(Card(RED_TWO, PLAYER_HUMAN));
             return Dropped(RED_TWO, false);
         }},
        {"paying", [] {
             GetPaymentState().paying = true;
             return Dropped(RED_TWO, false);
         }},
        {"a pending card", [] {
             AddPendingCard(Card(RED_TWO, PLAYER_HUMAN));
             return Dropped(RED_TWO, false);
         }},
        {"the stack holds a spell", [] {
             GetSpellStack().CastSpell(Card(CPU_CREATURE, PLAYER_CPU), nullptr, nullptr, false, false);
             return Dropped(RED_TWO, false);
         }},
        {"not held", [] { return Card(RED_TWO, PLAYER_HUMAN); }},
        {"the CPU's card", [] {
             CardActor* const card = Dropped(RED_TWO, false);
             card->SetOwner(PLAYER_CPU);
             return card;
         }},
        {"a land", [] { return Dropped(MOUNTAIN, false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardActor* const card = c.make();
        EXPECT_FALSE(CheckDroppedCard(card));
        EXPECT_FALSE(IsLessonBoxShowing());
        EXPECT_EQ(GetUnaffordableCard(), nullptr);
        EXPECT_EQ(GetCardBeingPaid(), nullptr);
        ClearPendingCards();
        SetLessonPendingCard(nullptr);
        GetPaymentState().paying = false;
        GetSpellStack().Reset(1);
    }
}

TEST_F(PlayChecksTest, AnInstantMayAnswerASpellOnTheStackWithTheCanPlayNowFlag)
{
    Lands(MOUNTAIN, 2);
    g_CardDefs[RED_TWO].m_CardType = CT_INSTANT;
    GetSpellStack().CastSpell(Card(CPU_CREATURE, PLAYER_CPU), nullptr, nullptr, false, false);
    ASSERT_GT(GetSpellStack().GetCount(), 0);
    EXPECT_FALSE(CheckDroppedCard(Dropped(RED_TWO, true)));
    SetCanPlayNowFlag(1);
    EXPECT_TRUE(CheckDroppedCard(Dropped(RED_TWO, true)));
    GetSpellStack().Reset(1);
}

TEST_F(PlayChecksTest, NotEnoughOrWrongLandsAndTheirTappedForms)
{
    struct Case {
        const char* name;
        int land;
        int untapped;
        int tappedLand;  // 0 none: the pool is empty
        const char16_t* key;
        const char16_t* clip;
    };
    const Case cases[] = {
        {"one land for two", MOUNTAIN, 1, 0, u"PRE_PHYS_NotEnoughUntappedLand",
         u"vo_phys\\PayForSpell_NotEnoughUntapped.wav"},
        {"two lands of the wrong colour", ISLAND, 2, 0, u"PRE_PHYS_WrongUntappedLand",
         u"vo_phys\\PayForSpell_WrongUntappedLand.wav"},
        {"one land tapped already, none left", MOUNTAIN, 0, MOUNTAIN, u"PRE_PHYS_NotEnoughUntappedLand_Tapped",
         u"vo_phys\\PayForSpell_NotEnoughUntapped_Tapped.wav"},
        {"an island tapped, another untapped", ISLAND, 1, ISLAND, u"PRE_PHYS_WrongUntappedLand_Tapped",
         u"vo_phys\\PayForSpell_WrongUntappedLand_Tapped.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTableScene();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        ClearHintPlayCounts();
        Lands(c.land, c.untapped);
        if (c.tappedLand != 0) {
            CardActor* const tapped = Card(c.tappedLand, PLAYER_HUMAN);
            tapped->SetTapState(TAP_TAPPED);
            Human().m_ManaPool.Add(tapped->GetAbility()->effect.manaProduced);
            UpdateHumanAvailableMana();
        }
        CardActor* const card = Dropped(RED_TWO, true);
        EXPECT_FALSE(CheckDroppedCard(card));
        EXPECT_EQ(ShownKind(), KIND_PLAY_ERROR);
        EXPECT_EQ(ShownText(), c.key);
        EXPECT_TRUE(WasSpoken(c.clip));
        EXPECT_EQ(GetUnaffordableCard(), card);
        EXPECT_EQ(GetCardBeingPaid(), nullptr);
        EXPECT_FALSE(card->IsHeld());
        EXPECT_EQ(Human().m_ManaPool.Total(), 0) << "the tapped lands are settled";
        EXPECT_TRUE(BoxClearOf(card));
        EXPECT_TRUE(IsAdviceBlocked());
    }
}

TEST_F(PlayChecksTest, NoTargetAndTheNodumberCase)
{
    Lands(SWAMP, 2);
    Lands(MOUNTAIN, 2);
    // A spell aimed at an artifact, with none on the table.
    g_CardDefs[RED_TWO].m_SpellEffect.needsTarget = true;
    g_CardDefs[RED_TWO].m_SpellTarget.type = TT_ARTIFACT;
    CardActor* const aimed = Dropped(RED_TWO, true);
    EXPECT_FALSE(CheckDroppedCard(aimed));
    EXPECT_EQ(ShownText(), u"PRE_PHYSDLG_ERROR_NoTargets");
    EXPECT_TRUE(WasSpoken(u"vo_phys\\ERROR_NoTargets.wav"));
    EXPECT_EQ(GetUnaffordableCard(), aimed);
    EXPECT_TRUE(BoxClearOf(aimed));
    SetUnaffordableCard(nullptr);

    // The card that wants a tapped creature: only the learner has one.
    CardActor* const mine = Card(CPU_CREATURE, PLAYER_HUMAN);
    mine->SetTapState(TAP_TAPPED);
    CardActor* const nodumber = Dropped(CD_NODUMBER, true);
    EXPECT_FALSE(CheckDroppedCard(nodumber));
    EXPECT_EQ(ShownText(), u"PRE_PHYSDLG_ERROR_NoGoodNodumberTarget");
    EXPECT_TRUE(WasSpoken(u"vo_phys\\ERROR_NoGoodNodumberTarget.wav"));
    SetUnaffordableCard(nullptr);
    CloseLessonBox();

    // With a tapped creature of the CPU it goes on.
    Card(CPU_CREATURE, PLAYER_CPU)->SetTapState(TAP_TAPPED);
    EXPECT_TRUE(CheckDroppedCard(Dropped(CD_NODUMBER, true)));
    EXPECT_FALSE(IsLessonBoxShowing());
}

TEST_F(PlayChecksTest, InThePlayAreaTheCardGoesOnElseTheWrongPlaceErrorByType)
{
    Lands(MOUNTAIN, 4);
    EXPECT_TRUE(CheckDroppedCard(Dropped(RED_TWO, true)));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_EQ(GetCardBeingPaid(), nullptr);

    struct Case {
        int type;
        const char16_t* key;
        const char16_t* clip;
    };
    const Case cases[] = {
        {CT_CREATURE, u"PHYSDLG_Error_CreatureInWrongPlace", u"vo_phys\\Error_CreatureInWrongPlace.wav"},
        {CT_ARTIFACT, u"PHYSDLG_Error_ArtifactInWrongPlace", u"vo_phys\\Error_ArtifactInWrongPlace.wav"},
        {CT_ENCHANT, u"PHYSDLG_Error_EnchantmentInWrongPlace", u"vo_phys\\Error_EnchantmentInWrongPlace.wav"},
        {CT_SORCERY, u"PHYSDLG_Error_SorceryInWrongPlace", u"vo_phys\\Error_SorceryInWrongPlace.wav"},
        {CT_INSTANT, u"PHYSDLG_Error_InstantInWrongPlace", u"vo_phys\\Error_InstantInWrongPlace.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        g_CardDefs[RED_TWO].m_CardType = c.type;
        CardActor* const card = Dropped(RED_TWO, false);
        EXPECT_FALSE(CheckDroppedCard(card));
        EXPECT_EQ(ShownText(), c.key);
        EXPECT_TRUE(WasSpoken(c.clip));
        EXPECT_EQ(GetCardBeingPaid(), card);
        EXPECT_FALSE(card->IsHeld());
        EXPECT_TRUE(BoxClearOf(card));
        // A second card dropped outside while one is being paid: refused silently, the box unchanged.
        EXPECT_FALSE(CheckDroppedCard(Dropped(RED_TWO, false)));
        EXPECT_EQ(GetCardBeingPaid(), card);
        SetCardBeingPaid(nullptr);
        CloseLessonBox();
    }
}

TEST_F(PlayChecksTest, BeginPaymentPutsTheCardIntoPayment)
{
    CardActor* const card = Card(RED_TWO, PLAYER_HUMAN, true);
    card->SetState(4);
    card->SetPlayedMark(1);
    EXPECT_TRUE(BeginPayment(card));
    EXPECT_TRUE(GetPaymentState().paying);
    EXPECT_EQ(GetTableSelection().pendingSpell, card);
    EXPECT_EQ(card->GetState(), 0);
    EXPECT_EQ(card->GetPlayedMark(), 0);
    EXPECT_FALSE(card->IsHeld());
}

TEST_F(PlayChecksTest, MistimedPlayKeysByTurnCardAndCombat)
{
    struct Case {
        const char* name;
        bool humanTurn;
        int type;
        int humanState;
        int cpuState;
        const char16_t* key;
    };
    const Case cases[] = {
        {"own turn, a land", true, CT_LAND, 5, 0, u"PHYSDLG_ERROR_MistimeLand"},
        {"own turn, a creature in combat", true, CT_CREATURE, 7, 0, u"PHYSDLG_ERROR_MistimeCreature_Combat"},
        {"own turn, a creature", true, CT_CREATURE, 19, 0, u"PHYSDLG_ERROR_MistimeSpell"},
        {"own turn, a sorcery", true, CT_SORCERY, 5, 0, u"PHYSDLG_ERROR_MistimeSpell"},
        {"CPU's turn, an instant", false, CT_INSTANT, 0, 7, u"PHYSDLG_ERROR_MistimeInstant_OppTurn"},
        {"CPU's turn, a creature in its combat", false, CT_CREATURE, 0, 7, u"PHYSDLG_ERROR_MistimeCreature_Combat"},
        {"CPU's turn, a creature", false, CT_CREATURE, 0, 5, u"PHYSDLG_ERROR_MistimeCard_OppTurn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HandTurnTo(c.humanTurn ? PLAYER_HUMAN : PLAYER_CPU);
        m_human->SetState(c.humanState);
        m_cpu->SetState(c.cpuState);
        g_CardDefs[RED_TWO].m_CardType = c.type;
        CardActor* const card = Dropped(RED_TWO, true);
        ASSERT_EQ(IsPlayerInCombatStep(c.humanTurn ? PLAYER_HUMAN : PLAYER_CPU),
                  (c.humanTurn ? c.humanState : c.cpuState) == 7);
        ShowMistimedPlayError(card);
        EXPECT_EQ(ShownKind(), KIND_PLAY_ERROR);
        EXPECT_EQ(ShownText(), c.key);
        EXPECT_EQ(GetMistimedCard(), card);
        EXPECT_FALSE(card->IsHeld());
        EXPECT_TRUE(BoxClearOf(card));
        SetMistimedCard(nullptr);
        CloseLessonBox();
    }
}

TEST_F(PlayChecksTest, TheMistimedErrorWaitsForWhatHoldsTheTable)
{
    m_human->SetState(5);
    struct Case {
        const char* name;
        void (*set)();
    };
    const Case cases[] = {
        {"an end-of-turn prompt", [] { ShowBox(16); }},
        {"the pass prompt", [] { ShowBox(15); }},
        {"too many cards", [] { ShowBox(17); }},
        {"a parked card", [] { SetUnaffordableCard(Card(RED_TWO, PLAYER_HUMAN)); }},
        {"combat damage", [] { FindActorByName(u"cpuplayer")->SetState(13); }},
        {"a lost game", [] { Human().m_Life = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set();
        CardActor* const card = Dropped(RED_TWO, true);
        ShowMistimedPlayError(card);
        EXPECT_EQ(GetMistimedCard(), nullptr);
        EXPECT_TRUE(card->IsHeld());
        ClearAdviceCards();
        DeleteLessonBox();
        Human().m_Life = 20;
        m_cpu->SetState(0);
    }
    // A card not in the hand is not mistimed.
    ShowMistimedPlayError(Card(RED_TWO, PLAYER_HUMAN));
    EXPECT_EQ(GetMistimedCard(), nullptr);
}

} // namespace
