// The splash pages and colour choice: the chains of the four lesson modes with their voices and return screens,
// the colour picks with their toggle and random rules, and the game starting the frame after the second pick.
#include "engine/sound/Wave.h"
#include "screens/ColorSelect.h"
#include "tests/engine/scene/SceneFixture.h"
#include "tests/screens/ScreenFixture.h"

#include <algorithm>

namespace {

class ColorSelectTest : public screentest::ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        m_dir.Write("data/backgrounds/splash_frame.bmp", test::SolidBmp(560, 400, 0x203040));
        m_dir.Write("data/buttons/PSok.chp", test::ChpFile(120, 34, 1));
        m_dir.Write("data/buttons/PSokMO.chp", test::ChpFile(120, 34, 1));
        GameDisplay& display = *GetGameDisplay();
        display.LoadColorSelectImages();
        // White, blue, black, red, green, then the random choice: 128-pixel squares in a row.
        for (int i = 0; i < 6; ++i)
            display.m_ColorSelectSquares[static_cast<std::size_t>(i)] = RasterRect{10 + 130 * i, 100, 138 + 130 * i, 228};
        m_savedMode = s_GameMode;
        m_savedRequested = s_RequestedGameMode;
        s_GameMode = 0;
        s_RequestedGameMode = 0;
    }

    void TearDown() override
    {
        s_GameMode = m_savedMode;
        s_RequestedGameMode = m_savedRequested;
        SetColorChoiceConfirmed(false);
        ScreenTest::TearDown();
    }

    static void PressAt(int x, int y)
    {
        MouseState.x = x;
        MouseState.y = y;
        MouseState.leftClicked = 1;
    }

    // One frame of the page with a press inside the square of a colour (5 the random choice).
    static void PickFrame(int square)
    {
        const RasterRect& r = GetGameDisplay()->m_ColorSelectSquares[static_cast<std::size_t>(square)];
        PressAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        GetGameDisplay()->UpdateColorSelect();
        MouseState.leftClicked = 0;
    }

    static int First() { return GetGameBlock().menuWords[0]; }
    static int Second() { return GetGameBlock().menuWords[1]; }

    int m_savedMode = 0;
    int m_savedRequested = 0;
};

TEST_F(ColorSelectTest, SplashPagesLeadOnWithTheirVoicesAndReturnScreens)
{
    struct Case {
        int id;
        int returnWhileShown;
        int next;
        std::vector<std::string> voices;
        bool resetsColours;
    };
    const Case cases[] = {
        {11, 1, 12, {"vo_phys\\basic_splash_2.wav"}, false},
        {12, 11, 13, {"vo_phys\\basic_colors.wav"}, true},
        {14, 1, 15, {"vo_phys\\adv_splash2.wav"}, false},
        {15, 14, 16, {"vo_phys\\adv_colors.wav"}, true},
        {5, 2, 6, {"data\\wavsonl\\b003.wav"}, false},
        {6, 5, 7, {"data\\wavsonl\\b004.wav", "data\\wavsonl\\b010.wav"}, true},
        {8, 2, 9, {"data\\wavsonl\\a002.wav"}, false},
        {9, 8, 10, {"data\\wavsonl\\a003.wav"}, true},
    };
    GameDisplay& display = *GetGameDisplay();
    const SplashRects rects = ComputeSplashRects();
    ASSERT_GT(rects.next.Width(), 0);
    for (const Case& c : cases) {
        display.SetScreen(c.id, false);
        display.SetReturnScreen(99);
        GetGameBlock().menuWords = {3, 4, 0, 1, 2};
        QueueVoice(u"data\\wavsonl\\old.wav", true);
        // Without a press the page stays and sets its return screen.
        display.UpdateColorSelect();
        EXPECT_EQ(display.GetScreen(), c.id);
        EXPECT_EQ(display.GetReturnScreen(), c.returnWhileShown) << c.id;
        const int clicks = CountEffectRequests(30);
        PressAt((rects.next.left + rects.next.right) / 2, (rects.next.top + rects.next.bottom) / 2);
        display.UpdateColorSelect();
        EXPECT_EQ(display.GetScreen(), c.next) << c.id;
        EXPECT_EQ(display.GetReturnScreen(), c.id) << c.id;
        EXPECT_EQ(MouseState.leftClicked, 0) << c.id;
        EXPECT_EQ(CountEffectRequests(30) - clicks, 1) << c.id;
        const std::vector<std::string> queued = QueuedVoices();
        ASSERT_EQ(queued.size(), c.voices.size()) << c.id;
        for (std::size_t i = 0; i < queued.size(); ++i)
            EXPECT_TRUE(queued[i].ends_with(c.voices[i])) << c.id << " " << queued[i];
        EXPECT_EQ(First() == -1 && Second() == -1, c.resetsColours) << c.id;
    }
}

TEST_F(ColorSelectTest, APressOutsideTheNextButtonStaysOnThePage)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(11, false);
    PressAt(2, 2);
    display.UpdateColorSelect();
    EXPECT_EQ(display.GetScreen(), 11);
    EXPECT_EQ(MouseState.leftClicked, 1);
}

TEST_F(ColorSelectTest, PicksToggleFillTheFirstSlotAndConfirmOnTheSecond)
{
    GetGameDisplay()->SetScreen(13, false);
    PickFrame(0);
    EXPECT_EQ(First(), 0);
    // The first colour again un-chooses it; another colour then fills the first slot.
    PickFrame(0);
    EXPECT_EQ(First(), -1);
    PickFrame(1);
    EXPECT_EQ(First(), 1);
    EXPECT_FALSE(IsColorChoiceConfirmed());
    PickFrame(3);
    EXPECT_EQ(Second(), 3);
    EXPECT_TRUE(IsColorChoiceConfirmed());
    // The start waits for the next frame; the others are the three colours left, ascending.
    EXPECT_EQ(s_RequestedGameMode, 0);
    EXPECT_EQ(GetGameDisplay()->m_SceneTag, 0);
    EXPECT_TRUE(GetGameDisplay()->UpdateColorChoice());
    const std::array<int, 5> words = GetGameBlock().menuWords;
    EXPECT_EQ(words[2], 0);
    EXPECT_EQ(words[3], 2);
    EXPECT_EQ(words[4], 4);
    EXPECT_FALSE(IsColorChoiceConfirmed());
}

TEST_F(ColorSelectTest, TheRandomChoiceKeepsAChosenFirstColour)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(16, false);
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        plat::SeedRand(seed);
        GetGameBlock().menuWords.fill(-1);
        PickFrame(2);
        PickFrame(5);
        EXPECT_EQ(First(), 2);
        EXPECT_NE(Second(), 2);
        EXPECT_GE(Second(), 0);
        EXPECT_LT(Second(), 5);
        EXPECT_TRUE(IsColorChoiceConfirmed());
        // From nothing the random choice picks two different colours.
        GetGameBlock().menuWords.fill(-1);
        PickFrame(5);
        EXPECT_NE(First(), -1);
        EXPECT_NE(First(), Second());
        SetColorChoiceConfirmed(false);
    }
}

TEST_F(ColorSelectTest, TheGameStartsTheFrameAfterTheSecondPickUnlessItsModeRuns)
{
    struct Case {
        int page;
        int mode;
        int returnAfter;
    };
    const Case cases[] = {{13, 1, 1}, {16, 2, 1}, {7, 3, 6}, {10, 4, 9}};
    GameDisplay& display = *GetGameDisplay();
    for (const Case& c : cases) {
        s_GameMode = 0;
        s_RequestedGameMode = 0;
        display.m_SceneTag = 0;
        display.SetScreen(c.page, false);
        GetGameBlock().menuWords.fill(-1);
        PickFrame(4);
        PickFrame(0);
        EXPECT_EQ(display.m_SceneTag, 0) << c.page;
        display.UpdateColorSelect();
        EXPECT_EQ(s_RequestedGameMode, c.mode) << c.page;
        EXPECT_EQ(display.m_SceneTag, 1) << c.page;
        EXPECT_EQ(display.GetReturnScreen(), c.returnAfter) << c.page;
        EXPECT_FALSE(GetRaster()->IsActive()) << c.page;
        // While the game runs the pages do nothing.
        display.SetScreen(c.page, false);
        display.UpdateColorSelect();
        EXPECT_EQ(s_RequestedGameMode, c.mode);
        GetRaster()->SetActive(true);
    }
    // A choice completed while its mode already runs starts nothing.
    s_GameMode = 1;
    s_RequestedGameMode = 1;
    display.m_SceneTag = 0;
    display.SetScreen(13, false);
    GetGameBlock().menuWords.fill(-1);
    PickFrame(4);
    PickFrame(0);
    display.UpdateColorSelect();
    display.UpdateColorSelect();
    EXPECT_EQ(display.m_SceneTag, 0);
    EXPECT_EQ(s_RequestedGameMode, 1);
    EXPECT_EQ(display.GetScreen(), 13);
}

TEST_F(ColorSelectTest, ScreenThreeDrawsItsPageAndIdsWithoutPagesDrawNothing)
{
    GameDisplay& display = *GetGameDisplay();
    for (const int id : {1, 2, 4, 17, 24, 0}) {
        display.SetScreen(id, false);
        GetRaster()->BeginFrame();
        display.UpdateColorSelect();
        EXPECT_EQ(GetRaster()->GetQueuedCount(), 0) << id;
        GetRaster()->EndFrame();
    }
    display.SetScreen(3, false);
    GetRaster()->BeginFrame();
    display.UpdateColorSelect();
    EXPECT_GT(GetRaster()->GetQueuedCount(), 0);
    GetRaster()->EndFrame();
    EXPECT_EQ(display.GetScreen(), 3);
}

} // namespace
