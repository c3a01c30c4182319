// The online tour: the blinking frame, the click that moves it on, the skip, and the advanced game that has none.
#include "engine/core/LanguageManager.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "platform/Platform.h"
#include "screens/OnlineIntro.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <gtest/gtest.h>

namespace {

using lessontest::LessonTest;

TEST(TourBlink, RisesFallsThenRestsEvery600Milliseconds)
{
    const struct {
        std::uint32_t now;
        int green;
    } cases[] = {{0, 0},   {100, 128}, {199, 255}, {200, 255}, {300, 126}, {399, 0},
                 {400, -1}, {599, -1}, {600, 0},  {1399, 255}, {1799, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(TourBlinkGreen(c.now), c.green) << c.now;
}

class IntroOnlineTest : public LessonTest {
protected:
    lessontest::DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(3);
        // The side strip where the online table puts it; the test has no images to lay the table out by.
        GetGameDisplay()->m_Zones[7].rect = RasterRect{700, 100, 771, 253};
        s_bSkipIntro = false;
        MouseState = MouseRecord{};
        // A window under the mouse is found only on a main window.
        GetGUIManager()->SetHWnd(true);
        GetLanguageManager()->SetLanguage(1, false);
    }

    void TearDown() override
    {
        GetGUIManager()->SetHWnd(false);
        s_bSkipIntro = false;
        MouseState = MouseRecord{};
        LessonTest::TearDown();
    }

    static void ClickAt(int x, int y)
    {
        MouseState.x = x;
        MouseState.y = y;
        MouseState.leftClicked = 1;
        MouseState.clickConsumed = 0;
    }

    // The gates the tour answers, 20 to 26, as bits.
    static unsigned OnlineGates(Intro_Online& intro)
    {
        const bool gates[] = {intro.IntroGate20(), intro.IntroGate21(), intro.IntroGate22(), intro.IntroGate23(),
                              intro.IntroGate24(), intro.IntroGate25(), intro.IntroGate26()};
        unsigned bits = 0;
        for (int i = 0; i < 7; ++i)
            bits |= gates[i] ? 1u << i : 0u;
        return bits;
    }
};

TEST_F(IntroOnlineTest, TheAdvancedGameEndsOnItsFirstFrame)
{
    SetMode(4);
    Intro_Online intro;
    EXPECT_TRUE(intro.IsFinished());
    EXPECT_FALSE(intro.Advance());
    EXPECT_EQ(OnlineGates(intro), 0x7Fu);
}

TEST_F(IntroOnlineTest, OnlyAClickInsideTheFrameAndOverNoWindowMovesOn)
{
    Intro_Online intro;
    intro.Advance();
    intro.Advance();
    ASSERT_EQ(intro.GetStep(), 2);
    ASSERT_NE(intro.GetBox(), nullptr);
    EXPECT_TRUE(GetGameDisplay()->IsWindowRegistered(intro.GetBox()));
    ASSERT_NE(intro.GetSprite(0), nullptr);
    EXPECT_TRUE(intro.GetSprite(0)->IsListed());
    const RasterRect area = intro.GetHighlight();
    ASSERT_GT(area.Width(), 2);

    // Outside the frame.
    ClickAt(area.right + 5, area.bottom + 5);
    intro.Advance();
    EXPECT_EQ(intro.GetStep(), 2);
    // Inside, but the box lies over the point.
    const_cast<Messagebox*>(intro.GetBox())->MoveTo(area.left, area.top, true);
    ClickAt(area.left + 1, area.top + 1);
    intro.Advance();
    EXPECT_EQ(intro.GetStep(), 2);
    // Inside and over nothing.
    const_cast<Messagebox*>(intro.GetBox())->MoveTo(0, 0, true);
    ClickAt(area.left + 1, area.top + 1);
    intro.Advance();
    EXPECT_EQ(intro.GetStep(), 3);
    EXPECT_FALSE(intro.GetSprite(0)->IsListed());
    EXPECT_EQ(MouseState.leftClicked, 0);
    EXPECT_EQ(OnlineGates(intro), 0x01u);
}

TEST_F(IntroOnlineTest, TheSkipPassesEveryWaitAndOpensTheGatesInOrder)
{
    Intro_Online intro;
    s_bSkipIntro = true;
    // Gate 20 + k opens once the region of step 2 + 2k (then 12, 16, 20) has been shown.
    const struct {
        int step;
        unsigned gates;
    } marks[] = {{3, 0x01u}, {5, 0x03u}, {7, 0x07u}, {9, 0x0Fu}, {13, 0x1Fu}, {17, 0x3Fu}, {21, 0x7Fu}};
    for (const auto& mark : marks) {
        while (intro.GetStep() < mark.step)
            ASSERT_TRUE(intro.Advance());
        EXPECT_EQ(OnlineGates(intro), mark.gates) << mark.step;
    }
    EXPECT_TRUE(intro.IsFinished());
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(intro.GetBox()));
    EXPECT_TRUE(intro.IntroGate8() && intro.IntroGate9() && intro.IntroGate16() && intro.IntroGate17());
    EXPECT_FALSE(intro.Advance());
}

} // namespace
