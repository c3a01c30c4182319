// The physical intro: the steps of the basic and advanced games, the pointer's phases, the library drag, the dice
// and the gates the steps open.
#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_System.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "gui/WordBalloon.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "screens/IntroCards.h"
#include "screens/IntroDice.h"
#include "screens/PhysicalIntro.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"
#include "tests/screens/IntroPiles.h"

#include <gtest/gtest.h>

#include <set>
#include <memory>
#include <vector>

namespace {

using lessontest::LessonTest;

constexpr std::uint32_t FRAME_MS = 10;

TEST(IntroDice, TheBasicGameIsTheCpusAndTheAdvancedHasNoTie)
{
    bool cpuBegan[2] = {false, false};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        plat::SeedRand(seed);
        const IntroDiceFaces basic = RollIntroDice(false);
        EXPECT_GT(basic.cpu, basic.human);
        EXPECT_EQ(s_HumanDieValue, basic.human + 1);
        EXPECT_EQ(s_CpuDieValue, basic.cpu + 1);
        EXPECT_TRUE(CpuBeginsAfterWinning(false));
        const IntroDiceFaces advanced = RollIntroDice(true);
        EXPECT_NE(advanced.cpu, advanced.human);
        for (const int face : {advanced.human, advanced.cpu, advanced.humanStart, advanced.cpuStart})
            EXPECT_TRUE(face >= 0 && face <= 5);
        cpuBegan[CpuBeginsAfterWinning(true) ? 1 : 0] = true;
    }
    // The advanced game's coin: both sides begin sometimes.
    EXPECT_TRUE(cpuBegan[0] && cpuBegan[1]);
}

class IntroPhysicalTest : public LessonTest {
protected:
    lessontest::DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        m_back = std::make_unique<introtest::SmallCardBack>();
        SetVoiceMuted(true);
        s_bSkipIntro = false;
        MouseState = MouseRecord{};
        g_FrameMilliseconds = static_cast<float>(FRAME_MS);
        // The balloons' pointer images.
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    }

    void TearDown() override
    {
        GUI_System::ClearCallbacks();
        s_bSkipIntro = false;
        MouseState = MouseRecord{};
        SetVoiceMuted(false);
        m_back.reset();
        LessonTest::TearDown();
    }

    std::unique_ptr<introtest::SmallCardBack> m_back;

    // Both decks dealt as the intro actor deals them.
    void Decks(int mode)
    {
        SetMode(mode);
        SetChosenColours(0, 1, 2, 3, 4);
        s_OpeningHandSize = 7;
        SetupDecks();
        SetupCpuDeck();
    }

    void Frame(Intro_Physical& intro)
    {
        m_now += FRAME_MS;
        plat::headless::SetTime(m_now);
        intro.Advance();
        GetSpriteList()->UpdateAll();
    }

    std::uint32_t m_now = 50000;
};

// The steps seen at the start of a frame, skipping: the basic and advanced paths.
TEST_F(IntroPhysicalTest, TheSkipWalksEachGamesPath)
{
    for (const int mode : {1, 2}) {
        Decks(mode);
        s_bSkipIntro = true;
        Intro_Physical intro;
        std::set<int> seen;
        for (int frame = 0; frame < 400 && intro.m_Step < PHYSICAL_INTRO_END; ++frame) {
            seen.insert(intro.m_Step);
            Frame(intro);
        }
        ASSERT_EQ(intro.m_Step, PHYSICAL_INTRO_END) << mode;
        std::set<int> path;
        const auto add = [&path](int from, int to) {
            for (int step = from; step <= to; ++step)
                path.insert(step);
        };
        if (mode == 1) {
            add(0, 42);
        } else {
            add(0, 0);
            add(8, 13);
            add(17, 22);
            add(27, 36);
            add(43, 68);
        }
        path.insert(69);
        for (const int step : seen)
            EXPECT_TRUE(path.contains(step)) << "mode " << mode << " step " << step;
        // Every wait of the path is met; who won the roll and who begins picks between 30-31 and 32-33 and
        // the mulligan's order.
        const std::vector<int> waits = mode == 1
                                           ? std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 18,
                                                              19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 32, 33, 34, 35,
                                                              36, 37, 38, 39, 40, 41, 42, 69}
                                           : std::vector<int>{0, 8, 9, 10, 13, 17, 18, 19, 20, 21, 22, 27, 29, 34,
                                                              35, 36, 43, 68, 69};
        for (const int step : waits)
            EXPECT_TRUE(seen.contains(step)) << "mode " << mode << " step " << step;
        EXPECT_EQ(CountDeckMarkedCards(), 0);
        EXPECT_EQ(CountCpuHand(), 7);
        s_bSkipIntro = false;
        ResetTableScene();
        PurgeRemovedActors();
    }
}

TEST_F(IntroPhysicalTest, ThePointerPressesThenLeavesAndRests)
{
    Decks(2);
    Intro_Physical intro;
    intro.m_Step = -1;
    intro.StartPointerGroup(5, 300, 200);
    std::vector<int> phases{intro.m_Pointer.phase};
    for (int frame = 0; frame < 1000 && intro.m_Pointer.phase < 8; ++frame) {
        m_now += FRAME_MS;
        plat::headless::SetTime(m_now);
        intro.StepPointer();
        GetSpriteList()->UpdateAll();
        if (phases.back() != intro.m_Pointer.phase)
            phases.push_back(intro.m_Pointer.phase);
    }
    EXPECT_EQ(phases, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_FALSE(intro.m_Pointer.sprite->IsListed());
    // Resting, it waits for the next group.
    intro.StepPointer();
    EXPECT_EQ(intro.m_Pointer.phase, 8);
}

TEST_F(IntroPhysicalTest, TheLibraryDragWaitsForAReleaseOverThePile)
{
    Decks(2);
    Intro_Physical intro;
    Frame(intro);
    ASSERT_EQ(intro.m_Step, 8);
    ASSERT_NE(intro.m_pHumanLibraryCard, nullptr);
    intro.m_Step = 17;
    Frame(intro);
    ASSERT_EQ(intro.m_Step, 18);
    CardActor* const card = intro.m_pHumanLibraryCard;
    RasterRect pile;
    GetGameDisplay()->GetPlayerLibraryRect(pile, false);
    RasterRect rect;
    GetGameDisplay()->GetCardRect(card, rect, true);
    const auto drag = [&](int x, int y) {
        GetGameDisplay()->GetCardRect(card, rect, true);
        MouseState.x = rect.left + 4;
        MouseState.y = rect.top + 4;
        MouseState.leftClicked = 1;
        MouseState.clickConsumed = 0;
        MouseState.leftHeld = 1;
        Frame(intro);
        MouseState.leftClicked = 0;
        MouseState.x = x;
        MouseState.y = y;
        Frame(intro);
        MouseState.leftHeld = 0;
        Frame(intro);
    };
    // Let go in the middle of the table: it stays there and the step still waits.
    drag(400, 250);
    EXPECT_EQ(intro.m_Step, 18);
    GetGameDisplay()->GetCardRect(card, rect, true);
    EXPECT_FALSE(RectsOverlap(rect, pile));
    EXPECT_FALSE(intro.IntroGate13());
    // Let go over the pile: the card settles there and is removed, and the library gate opens.
    drag(pile.left + 10, pile.top + 10);
    for (int frame = 0; frame < 1000 && intro.m_Step < 20; ++frame)
        Frame(intro);
    EXPECT_EQ(intro.m_Step, 20);
    EXPECT_EQ(intro.m_pHumanLibraryCard, nullptr);
    EXPECT_TRUE(intro.IntroGate13());
    EXPECT_TRUE(intro.IntroGate14());
}

// The balloon that announced the CPU's win keeps its pressed button: later waits must not take it for theirs.
TEST_F(IntroPhysicalTest, AnAnsweredBalloonPassesNoLaterWait)
{
    Decks(1);
    Intro_Physical intro;
    Frame(intro);
    intro.m_Step = 32;
    Frame(intro);
    ASSERT_EQ(intro.m_Step, 33);
    ASSERT_TRUE(GetGameDisplay()->IsWindowRegistered(intro.m_pBalloon));
    Click(intro.m_pBalloon, 0);
    Frame(intro);
    EXPECT_EQ(intro.m_Step, 34);
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(intro.m_pBalloon));
    intro.m_Step = 37;
    for (int frame = 0; frame < 5; ++frame)
        Frame(intro);
    EXPECT_EQ(intro.m_Step, 38);
    ASSERT_TRUE(GetGameDisplay()->IsWindowRegistered(intro.m_pBox));
    Click(intro.m_pBox, 0);
    Frame(intro);
    EXPECT_EQ(intro.m_Step, 39);
}

TEST_F(IntroPhysicalTest, TheStepOpensTheGates)
{
    Decks(1);
    Intro_Physical intro;
    struct Case {
        int mode;
        int step;
        bool running;
        bool finished;
        std::vector<int> open;
    };
    const std::vector<Case> cases = {
        {1, 0, true, false, {16}},
        {1, 4, true, false, {10, 16}},
        {1, 21, true, false, {7, 10, 13, 14, 16}},
        {1, 24, true, false, {7, 8, 10, 13, 14, 16}},
        {1, 26, true, false, {7, 8, 9, 10, 13, 14, 16, 17}},
        {1, 35, true, false, {7, 8, 9, 10, 13, 14, 15, 16, 17, 18}},
        {2, 8, true, false, {8, 9, 10, 11, 12, 16, 17}},
        {2, 69, true, false, {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
        {2, 70, false, true, {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        intro.m_Step = c.step;
        const bool gates[] = {intro.IntroGate7(),  intro.IntroGate8(),  intro.IntroGate9(),  intro.IntroGate10(),
                              intro.IntroGate11(), intro.IntroGate12(), intro.IntroGate13(), intro.IntroGate14(),
                              intro.IntroGate15(), intro.IntroGate16(), intro.IntroGate17(), intro.IntroGate18(),
                              intro.IntroGate19(), intro.IntroGate20(), intro.IntroGate26()};
        const int numbers[] = {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 26};
        std::vector<int> open;
        for (std::size_t i = 0; i < std::size(numbers); ++i)
            if (gates[i])
                open.push_back(numbers[i]);
        EXPECT_EQ(open, c.open) << "mode " << c.mode << " step " << c.step;
        EXPECT_EQ(intro.IsRunning(), c.running);
        EXPECT_EQ(intro.IsFinished(), c.finished);
    }
    intro.m_Step = 0;
}

} // namespace
