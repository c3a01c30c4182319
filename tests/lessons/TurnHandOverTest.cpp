// Whose turn it is, as everything that asks sees it: after each hand-over of each lesson's drivers the turn glow,
// the field caption, who answers a combat-damage entry, whether a mana creature may be tapped and whether a click on
// an instant starts its casting all follow the turn.
#include "engine/raster/Raster.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/GUI_System.h"
#include "lessons/CpuOnlineTurn.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/HumanOnlineTurn.h"
#include "lessons/HumanPhysicalTurn.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/TurnAdvice.h"
#include "rules/HumanPayment.h"
#include "rules/SelectedCard.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonFixture.h"

#include <functional>

namespace {

using lessontest::LessonTest;

// The side panels: the CPU's panel (zone 2) over its status panel (zone 6), the learner's status panel (zone 7)
// over its panel (zone 3).
constexpr RasterRect CPU_PANEL{600, 20, 780, 100};
constexpr RasterRect CPU_STATUS{600, 100, 780, 150};
constexpr RasterRect HUMAN_STATUS{600, 400, 780, 450};
constexpr RasterRect HUMAN_PANEL{600, 450, 780, 580};
// The field caption (zone 15), which takes the image of zone 16 on the CPU's turn.
constexpr RasterRect CAPTION{100, 300, 300, 340};
// Shades of blue read the same in 555 and 565 pixels.
constexpr std::uint16_t HUMAN_GLOW = 0x0011;
constexpr std::uint16_t CPU_GLOW = 0x0007;
constexpr std::uint16_t HUMAN_CAPTION = 0x0015;
constexpr std::uint16_t CPU_CAPTION = 0x0003;
// A card identifier the synthetic set leaves free.
constexpr int FREE_INSTANT = 40;

class TurnHandOverTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetHandDemosIdle(true);
        SetCpuListEmpty(true);
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        GameDisplay& display = *GetGameDisplay();
        m_savedZones = display.m_Zones;
        m_savedImages = display.m_ZoneImages;
        m_savedPhaseBackground = display.m_PhaseBackground;
    }

    void TearDown() override
    {
        GameDisplay& display = *GetGameDisplay();
        display.m_Zones = m_savedZones;
        display.m_ZoneImages = m_savedImages;
        display.m_PhaseBackground = m_savedPhaseBackground;
        display.m_SceneTag = 0;
        GetTableInput().pickingReady = 0;
        ResetOnlineTurnState();
        ResetHumanOnlineTurn();
        ResetCpuOnlineTurn();
        ResetCpuPhysicalTurn();
        GUI_System::ClearCallbacks();
        LessonTest::TearDown();
    }

    // Both drivers have run their game start; the beginner is given the turn as the coin toss or the
    // physical intro gives it, and both players wait in step 0.
    void StartGame(int mode, int beginner)
    {
        SetMode(mode);
        GetSpellStack().Reset(mode <= 2 ? 1 : 0);
        GetSpellStack().OpenWindow();
        FillHumanLibrary(40);
        Cpu().m_LibraryCount = 40;
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_human->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
        m_cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
        if (mode <= 2) {
            HumanPhysicalTurn(m_human);
            CpuPhysicalTurn(m_cpu);
            // The intro this fixture skips would have dealt the opening hands.
            ResetDrawHand();
            SetDrawHandStopped(true);
        } else {
            // The opening (toss, deal, mulligan) is over.
            GetTableInput().pickingReady = 1;
            m_human->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
            s_MulliganState = 1;
            s_GameBegun = true;
            CpuOnlineTurn(m_cpu);
        }
        SetPlayerActors(m_human, m_cpu);
        CARD& instant = g_CardDefs[FREE_INSTANT];
        instant.m_CardType = CT_INSTANT;
        instant.m_Cost = ManaCost();
        m_instant = Card(FREE_INSTANT, PLAYER_HUMAN, true);
        m_human->SetState(0);
        m_cpu->SetState(0);
        HandTurnTo(beginner);
    }

    // The side that has the turn runs its driver from its hand-over step until the turn passes.
    bool HandOver(int mode, int from)
    {
        const bool online = mode >= 3;
        Actor* const actor = from == PLAYER_HUMAN ? m_human : m_cpu;
        actor->SetState(online ? 18 : (from == PLAYER_HUMAN ? HUMAN_STEP_HAND_OVER : CPU_STEP_HAND_OVER));
        GetCpuPhysicalTurnWords().delay = 0;
        // The learner has drawn for this turn: no card waits on the library pile to be taken.
        GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw = 0;
        std::function<void(Actor*)> driver;
        if (from == PLAYER_HUMAN)
            driver = online ? HumanOnlineTurn : HumanPhysicalTurn;
        else
            driver = online ? CpuOnlineTurn : CpuPhysicalTurn;
        for (int frame = 0; frame < 300; ++frame) {
            driver(actor);
            if (actor->GetState() == 0)
                return true;
        }
        return false;
    }

    // The mat as the frame draws it; the number of pixels of that colour inside the rectangle.
    static int DrawAndCount(const RasterRect& r, std::uint16_t colour, int inset = 0)
    {
        Raster& raster = *GetRaster();
        raster.SetActive(true);
        raster.BeginFrame();
        raster.ClearBackBuffer(0);
        GetGameDisplay()->DrawMatAndHud();
        raster.Invalidate();
        raster.EndFrame();
        const PixelTarget target = raster.BackBuffer();
        int count = 0;
        for (int y = r.top - inset; y < r.bottom + inset; ++y)
            for (int x = r.left - inset; x < r.right + inset; ++x)
                count += target.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.pitch) +
                                       static_cast<std::size_t>(x)] == colour;
        return count;
    }

    int Image(std::uint16_t colour)
    {
        m_pixels.emplace_back(static_cast<std::size_t>(8 * 8), colour);
        return GetGameDisplay()->CreateTextureFromPixels(m_pixels.back().data(), 8, 8, 0);
    }

    void LayOutPanels()
    {
        GameDisplay& display = *GetGameDisplay();
        display.m_RelayoutRequested = false;
        display.m_SceneTag = 1;
        for (MatZone& zone : display.m_Zones)
            zone = MatZone();
        display.m_ZoneImages.fill(-1);
        // No side column: the images it tiles are not loaded here.
        display.m_PhaseBackground = RasterRect{};
        display.m_Zones[2].rect = CPU_PANEL;
        display.m_Zones[6].rect = CPU_STATUS;
        display.m_Zones[7].rect = HUMAN_STATUS;
        display.m_Zones[3].rect = HUMAN_PANEL;
        display.m_ZoneImages[4] = Image(CPU_GLOW);
        display.m_ZoneImages[5] = Image(HUMAN_GLOW);
        display.m_Zones[15].rect = CAPTION;
        display.m_Zones[15].kind = 1;
        display.m_ZoneImages[15] = Image(HUMAN_CAPTION);
        display.m_ZoneImages[16] = Image(CPU_CAPTION);
    }

    // Online the glow lies over the side panel of the player whose turn it is; on the physical table a green
    // frame rims the CPU's panel while the CPU has the turn. The field caption shows whose turn it is.
    void ExpectGlowOn(int mode, int side)
    {
        const int caption = DrawAndCount(CAPTION, side == PLAYER_HUMAN ? HUMAN_CAPTION : CPU_CAPTION);
        EXPECT_EQ(caption, (CAPTION.right - CAPTION.left) * (CAPTION.bottom - CAPTION.top)) << "the field caption";
        if (mode >= 3) {
            const RasterRect cpuSide{CPU_PANEL.left, CPU_PANEL.top, CPU_STATUS.right, CPU_STATUS.bottom};
            const RasterRect humanSide{HUMAN_STATUS.left, HUMAN_STATUS.top, HUMAN_STATUS.right, HUMAN_PANEL.bottom};
            const int onCpu = DrawAndCount(cpuSide, CPU_GLOW);
            const int onHuman = DrawAndCount(humanSide, HUMAN_GLOW);
            EXPECT_EQ(onCpu > 0, side == PLAYER_CPU) << onCpu << " glow pixels on the CPU's panel";
            EXPECT_EQ(onHuman > 0, side == PLAYER_HUMAN) << onHuman << " glow pixels on the learner's panel";
        } else {
            const int rim = DrawAndCount(CPU_PANEL, GetGameDisplay()->MakeColor(0, 255, 0, 255), 3);
            EXPECT_EQ(rim > 0, side == PLAYER_CPU) << rim << " green pixels round the CPU's panel";
        }
    }

    // The player whose turn it is waits on a combat-damage entry of its own for the other to answer.
    static void ExpectDamageAnsweredByOtherThan(int side)
    {
        SpellStack& stack = GetSpellStack();
        const int physical = stack.m_Physical;
        stack.PushCombatDamage(side, 1);
        stack.m_State = STACK_OPEN;
        EXPECT_EQ(stack.GetTopController(), side == PLAYER_HUMAN ? STACK_CPU_ACTS : STACK_HUMAN_ACTS);
        stack.Reset(physical);
        stack.OpenWindow();
    }

    // The learner clicks a free instant in hand; true when its casting starts.
    bool ClickStartsInstant()
    {
        TableSelection& selection = GetTableSelection();
        selection.selectedCard = m_instant;
        MouseState.leftClicked = 1;
        ProcessSelectedCard();
        const bool started = selection.pendingSpell == m_instant;
        selection.selectedCard = nullptr;
        selection.pendingSpell = nullptr;
        selection.spellPayment = false;
        MouseState = MouseRecord();
        return started;
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
    CardActor* m_instant = nullptr;

private:
    std::array<MatZone, ZONE_COUNT> m_savedZones{};
    std::array<int, ZONE_COUNT> m_savedImages{};
    RasterRect m_savedPhaseBackground{};
    std::vector<std::vector<std::uint16_t>> m_pixels;
};

TEST_F(TurnHandOverTest, EverythingThatAsksWhoseTurnItIsFollowsEachHandOver)
{
    for (const int mode : {1, 2, 3, 4}) {
        for (const int beginner : {PLAYER_HUMAN, PLAYER_CPU}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", " << (beginner == 0 ? "learner" : "CPU")
                                            << " begins");
            TearDown();
            SetUp();
            StartGame(mode, beginner);
            LayOutPanels();
            ExpectGlowOn(mode, beginner);
            int side = beginner;
            for (int turn = 1; turn <= 3; ++turn) {
                SCOPED_TRACE(testing::Message() << "after turn " << turn);
                ASSERT_TRUE(HandOver(mode, side)) << "the turn was never handed over";
                side = 1 - side;
                ExpectGlowOn(mode, side);
                ExpectDamageAnsweredByOtherThan(side);
                // The other player waits in its step 0: on the learner's turn that holds the learner's mana
                // creatures and instants; on the CPU's turn neither is held.
                EXPECT_EQ(CanTapForManaNow(), side == PLAYER_CPU);
                EXPECT_EQ(ClickStartsInstant(), side == PLAYER_CPU);
            }
        }
    }
}

} // namespace
