// Whether the learner can respond, and the opponent's balloon that asks it of the game: its respond button
// follows the learner's cards, and every button waits while a card-specific dialog or blocked advice holds play.
#include "tests/lessons/LessonFixture.h"

#include "app/GameWiring.h"
#include "cards/CardPicking.h"
#include "engine/core/StringTable.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/WordBalloon.h"
#include "lessons/Advice.h"
#include "lessons/PlayerResponse.h"

#include <array>

namespace {

using lessontest::LessonTest;

constexpr int INSTANT_ID = 40;
constexpr int ABILITY_ID = 41;

// Due at every event, never obsolete.
class DueDialog : public CardSpecificDialog {
public:
    DueDialog() : CardSpecificDialog(0, 0, nullptr, {}, -1) {}
    bool TestEvent(int, Actor*) override { return true; }
    bool TestCardEvent(int, Actor*) override { return false; }
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return false; }
};

class PlayerResponseTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        g_CardDefs[INSTANT_ID].m_CardType = CT_INSTANT;
        CardAbility& ability = g_CardDefs[ABILITY_ID].m_Ability;
        ability = CardAbility();
        ability.costType = COSTTYPE_TAP;
        ability.effect.effectType = EFFECT_DAMAGE;
    }
    void TearDown() override
    {
        SetMistimedCard(nullptr);
        DestroyAllDialogs();
        s_GameMode = 0;
        LessonTest::TearDown();
    }
};

TEST_F(PlayerResponseTest, AnInstantInHandOrAUsableAbilityLetsThePlayerRespond)
{
    struct Case {
        const char* name;
        int id, owner;
        bool held, sick, leaving, tapped;
        int costType, effect;
        bool expected;
    };
    const Case cases[] = {
        {"instant in hand", INSTANT_ID, 0, true, false, false, false, COSTTYPE_TAP, EFFECT_DAMAGE, true},
        {"the CPU's instant", INSTANT_ID, 1, true, false, false, false, COSTTYPE_TAP, EFFECT_DAMAGE, false},
        {"instant leaving", INSTANT_ID, 0, true, false, true, false, COSTTYPE_TAP, EFFECT_DAMAGE, false},
        {"tap ability, untapped", ABILITY_ID, 0, false, false, false, false, COSTTYPE_TAP, EFFECT_DAMAGE, true},
        {"tap ability, tapped", ABILITY_ID, 0, false, false, false, true, COSTTYPE_TAP, EFFECT_DAMAGE, false},
        {"no-tap ability, tapped", ABILITY_ID, 0, false, false, false, true, COSTTYPE_NOTAP, EFFECT_DAMAGE, true},
        {"ability, summoning-sick", ABILITY_ID, 0, false, true, false, false, COSTTYPE_NOTAP, EFFECT_DAMAGE, false},
        {"ability card in hand", ABILITY_ID, 0, true, false, false, false, COSTTYPE_NOTAP, EFFECT_DAMAGE, false},
        {"mana ability", ABILITY_ID, 0, false, false, false, false, COSTTYPE_TAP, EFFECT_PRODUCEMANA, false},
        {"sacrifice a land, with one", ABILITY_ID, 0, false, false, false, false, COSTTYPE_SACTARGET, EFFECT_DAMAGE,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardAbility& ability = g_CardDefs[ABILITY_ID].m_Ability;
        ability.costType = c.costType;
        ability.effect.effectType = c.effect;
        ability.target.type = TT_LAND;
        CardActor* const card = Card(c.id, c.owner, c.held);
        card->m_SummoningSick = c.sick;
        card->SetExitMove(c.leaving ? -1 : 0);
        if (c.tapped)
            card->SetTapState(TAP_TAPPED);
        if (c.costType == COSTTYPE_SACTARGET)
            Card(1, 0);
        EXPECT_EQ(CanPlayerRespond(0), c.expected);
        ResetTableScene();
        PurgeRemovedActors();
    }
    EXPECT_FALSE(CanPlayerRespond(0));
}

// The balloon answers the game's own queries; only the situation change is scripted, since the lesson decides it.
class BalloonQueriesTest : public PlayerResponseTest {
protected:
    void SetUp() override
    {
        PlayerResponseTest::SetUp();
        WordBalloonQueries queries;
        queries.IsSituationChanged = [] { return s_Changed; };
        queries.IsTaggedActorBusy = IsTaggedActorBusy;
        queries.CanPlayerRespond = CanPlayerRespond;
        SetWordBalloonQueries(queries);
        AddString(u"STR_OK", u"OK");
        AddString(u"PHYSDLG_BUTTON_Respond", u"Respond");
        s_Changed = true;
        s_GameMode = 2;
        m_Balloon = std::make_unique<WordBalloon>();
        m_Balloon->SetKind(57);
        m_Balloon->AddButton(GetString(u"STR_OK"), 0xFFFFFF, 0xE0FFFF, 0x4040, 8, -1, -1);
        m_Balloon->AddButton(GetString(u"PHYSDLG_BUTTON_Respond"), 0xFFFFFF, 0xE0FFFF, 0x4040, 8, -1, -1);
    }
    void TearDown() override
    {
        m_Balloon.reset();
        ClearStringTables();
        BindGameToEngine();
        PlayerResponseTest::TearDown();
    }
    // Disabled states of OK, Respond and the balloon after a frame.
    std::array<bool, 3> Frame()
    {
        m_Balloon->Update();
        return {m_Balloon->GetButton(0)->IsDisabled(), m_Balloon->GetButton(1)->IsDisabled(),
                m_Balloon->IsDisabled()};
    }

    static inline bool s_Changed = true;
    std::unique_ptr<WordBalloon> m_Balloon;
};

TEST_F(BalloonQueriesTest, RespondFollowsTheLearnersCardsAtEachSituationChange)
{
    EXPECT_EQ(Frame(), (std::array<bool, 3>{false, true, false}));
    Card(INSTANT_ID, 0, true);
    s_Changed = false;
    EXPECT_EQ(Frame(), (std::array<bool, 3>{false, true, false})) << "no change, no update";
    s_Changed = true;
    EXPECT_EQ(Frame(), (std::array<bool, 3>{false, false, false}));
}

TEST_F(BalloonQueriesTest, AdviceOrACardSpecificDialogHoldsEveryButtonOfATaggedBalloon)
{
    Card(INSTANT_ID, 0, true);
    struct Case {
        const char* name;
        int mode, kind;
        bool blocked, dialogQueued, busy;
    };
    const Case cases[] = {
        {"nothing holds play", 2, 57, false, false, false},
        {"advice blocked", 2, 57, true, false, true},
        {"a dialog queued", 2, 59, false, true, true},
        {"kind 59 in the basic game", 1, 59, true, false, false},
        {"an untagged box", 2, 20, true, true, false},
        {"the online lesson", 3, 57, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_GameMode = c.mode;
        m_Balloon->SetKind(c.kind);
        CardActor parked;
        SetMistimedCard(c.blocked ? &parked : nullptr);
        DestroyAllDialogs();
        if (c.dialogQueued) {
            AddArmedDialog(std::make_unique<DueDialog>());
            PostDialogEvent(1, nullptr);
        }
        EXPECT_EQ(HasNormalDialogQueued() || HasPriorityDialogQueued() || IsNormalDialogShown(), c.dialogQueued);
        EXPECT_EQ(Frame(), (std::array<bool, 3>{c.busy, c.busy, c.busy}));
        SetMistimedCard(nullptr);
    }
}

} // namespace
