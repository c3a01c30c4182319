#include "cards/CardIds.h"
#include "cards/GraveyardLists.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_System.h"
#include "rules/TableSelection.h"
#include "rules/TargetPrompt.h"
#include "rules/Targets.h"
#include "tests/rules/PromptFixture.h"

namespace {

constexpr RasterRect HUMAN_MAT{0, 300, 100, 400};
constexpr RasterRect CPU_MAT{0, 0, 100, 100};
constexpr RasterRect CPU_PANEL{200, 0, 300, 100};
constexpr RasterRect HUMAN_PANEL{200, 300, 300, 400};

class TargetChoiceTest : public rulestest::PromptTest {
protected:
    void SetUp() override
    {
        PromptTest::SetUp();
        m_savedZones = GetGameDisplay()->m_Zones;
        GetGameDisplay()->m_Zones[0].rect = CPU_MAT;
        GetGameDisplay()->m_Zones[1].rect = HUMAN_MAT;
        GetGameDisplay()->m_Zones[2].rect = CPU_PANEL;
        GetGameDisplay()->m_Zones[3].rect = HUMAN_PANEL;
        MouseState = MouseRecord();
        // Graveyard targets open the real list windows, which load their button images.
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        AddString(u"PHYSDLG_TARGET_HostileTargetOwn", u"Not your own side.");
    }

    void TearDown() override
    {
        CloseGraveyardLists();
        GUI_System::ClearCallbacks();
        GetGameDisplay()->m_Zones = m_savedZones;
        MouseState = MouseRecord();
        PromptTest::TearDown();
    }

    CARD& Spell(int state, int owner, int type, bool caster = false, bool opponent = false)
    {
        CARD& card = Define(CT_INSTANT, ManaCost(0, 1, 0, 0, 0, 0));
        card.m_SpellEffect.effectType = EFFECT_DAMAGE;
        card.m_SpellEffect.needsTarget = true;
        card.m_SpellTarget.state = state;
        card.m_SpellTarget.owner = owner;
        card.m_SpellTarget.type = type;
        card.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
        card.m_SpellTarget.caster = caster;
        card.m_SpellTarget.opponent = opponent;
        return card;
    }

    static Actor* Pick(CardActor& source, CardActor* candidate, bool* aborted = nullptr)
    {
        MouseState.leftClicked = 1;
        return ChooseTarget(&source, candidate, false, false, true, aborted);
    }

    static void PressPromptButton() { Press(GetTargetPrompt(), 0); }

    static void MouseAt(const RasterRect& r)
    {
        MouseState.x = (r.left + r.right) / 2;
        MouseState.y = (r.top + r.bottom) / 2;
    }

    std::array<MatZone, ZONE_COUNT> m_savedZones{};
};

TEST_F(TargetChoiceTest, ClickOnACardAcceptsOrRejectsOncePerClick)
{
    CardActor& source = InHand(Spell(INPLAY, OWNER_OPPONENT, TT_CREATURE));
    CardActor& own = OnTable(Creature(2, 2));
    CardActor& theirs = OnTable(Creature(2, 2), PLAYER_CPU);

    const int rejects = GetTargetRejectCount();
    EXPECT_EQ(Pick(source, &own), nullptr);
    EXPECT_EQ(ChooseTarget(&source, &own, false, false, true, nullptr), nullptr);
    EXPECT_EQ(GetTargetRejectCount(), rejects + 1) << "one sound per click";
    EXPECT_EQ(MouseState.leftClicked, 1) << "a wrong pick leaves the click";
    EXPECT_TRUE(IsTargetPromptOpen());

    // A frame without a click re-arms the sound.
    MouseState.leftClicked = 0;
    EXPECT_EQ(ChooseTarget(&source, &own, false, false, true, nullptr), nullptr);
    EXPECT_EQ(Pick(source, &own), nullptr);
    EXPECT_EQ(GetTargetRejectCount(), rejects + 2);

    EXPECT_EQ(Pick(source, &theirs), &theirs);
    EXPECT_EQ(MouseState.leftClicked, 0);
    EXPECT_FALSE(IsTargetPromptOpen());
}

TEST_F(TargetChoiceTest, ClickOnAPlayerAreaAimsAtThatPlayer)
{
    struct Case {
        const char* name;
        int mode;
        RasterRect area;
        bool caster, opponent;
        const char16_t* expected;  // player actor name, or null
    };
    const Case cases[] = {
        {"physical human mat", 2, HUMAN_MAT, true, true, u"player"},
        {"physical cpu mat", 2, CPU_MAT, true, true, u"cpuplayer"},
        {"physical cpu panel", 2, CPU_PANEL, false, true, u"cpuplayer"},
        {"online cpu mat is not the cpu", 4, CPU_MAT, true, true, nullptr},
        {"online cpu panel", 4, CPU_PANEL, true, true, u"cpuplayer"},
        {"online human panel", 4, HUMAN_PANEL, true, false, u"player"},
        {"opponent not allowed", 2, CPU_PANEL, true, false, nullptr},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        CardActor& source = InHand(Spell(INPLAY, OWNER_EITHER, TT_CREATURE, c.caster, c.opponent));
        const int rejects = GetTargetRejectCount();
        MouseAt(c.area);
        Actor* const chosen = Pick(source, nullptr);
        EXPECT_EQ(chosen, c.expected != nullptr ? FindActorByName(c.expected) : nullptr) << c.name;
        EXPECT_EQ(GetTargetRejectCount(), rejects) << c.name << ": no card, no reject sound";
        ClearTargetChoiceState();
    }
}

TEST_F(TargetChoiceTest, CancelAbortsAndQuietCallsLeaveThePromptAlone)
{
    CardActor& source = InHand(Spell(GRAVEYARD, OWNER_OPPONENT, TT_CREATURE));
    CardActor& theirs = OnTable(Creature(2, 2), PLAYER_CPU);
    MouseState.leftClicked = 0;
    EXPECT_EQ(ChooseTarget(&source, nullptr, false, false, false, nullptr), nullptr);
    EXPECT_TRUE(IsGraveyardListOpen(PLAYER_CPU));
    EXPECT_FALSE(IsGraveyardListOpen(PLAYER_HUMAN));

    // A quiet test of a card that fails touches neither the prompt, the click nor the lists.
    MouseState.leftClicked = 1;
    const int rejects = GetTargetRejectCount();
    EXPECT_EQ(ChooseTarget(&source, &theirs, false, true, false, nullptr), nullptr);
    EXPECT_TRUE(IsTargetPromptOpen());
    EXPECT_EQ(MouseState.leftClicked, 1);
    EXPECT_EQ(GetTargetRejectCount(), rejects);

    PressPromptButton();
    bool aborted = false;
    EXPECT_EQ(Pick(source, &theirs, &aborted), nullptr);
    EXPECT_TRUE(aborted);
    EXPECT_FALSE(IsTargetPromptOpen());
}

TEST_F(TargetChoiceTest, BasicGameRefusesHostileSpellsAtTheHumanUntilCancel)
{
    CARD& hostile = Spell(INPLAY, OWNER_EITHER, TT_LAND, true, true);
    hostile.m_Id = CD_GALUMSK;
    CardActor& source = InHand(hostile);
    CardActor& ownLand = OnTable(Land(ManaCost(0, 1, 0, 0, 0, 0)));
    CardActor& cpuLand = OnTable(Land(ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);

    SetMode(1);
    EXPECT_EQ(Pick(source, &ownLand), nullptr);
    EXPECT_EQ(GetTargetPrompt()->GetText(), u"Not your own side.");
    EXPECT_EQ(GetTargetPrompt()->GetButtonCount(), 1) << "the refusal adds Cancel";
    EXPECT_EQ(Pick(source, &cpuLand), nullptr) << "latched until Cancel";
    MouseAt(HUMAN_MAT);
    EXPECT_EQ(Pick(source, nullptr), nullptr);
    PressPromptButton();
    bool aborted = false;
    EXPECT_EQ(Pick(source, &cpuLand, &aborted), nullptr);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(Pick(source, &cpuLand), &cpuLand);

    SetMode(2);
    EXPECT_EQ(Pick(source, &ownLand), &ownLand);
}

} // namespace
