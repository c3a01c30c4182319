#include "engine/scene/ScriptParser.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "lessons/DrawingHand.h"
#include "platform/Headless.h"
#include "tests/lessons/LessonFixture.h"

#include <memory>

namespace {

using lessontest::LessonTest;

constexpr std::uint32_t FRAME_MS = 10;

class DrawingHandTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(2);
        SetDrawHandStopped(false);
        Cpu().m_LibraryCount = 40;
        Cpu().m_NextDrawIndex = 10;
    }

    void TearDown() override
    {
        ResetDrawHand();
        for (const char16_t* name : {u"hand_up", u"hand_down", u"cardback"})
            RemoveTextureName(name);
        LessonTest::TearDown();
    }

    void HandImages(int height)
    {
        for (const char16_t* name : {u"hand_up", u"hand_down"}) {
            m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(static_cast<std::size_t>(90 * height)));
            AddTextureName(name, GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), 90, height, 0));
        }
    }

    // Frames on the stepped clock until the hand is at rest again; the times at which card backs leave.
    std::vector<std::uint32_t> RunUntilAtRest(int maxFrames, int& frames)
    {
        std::vector<std::uint32_t> launches;
        std::uint32_t now = 10000;
        g_FrameMilliseconds = static_cast<float>(FRAME_MS);
        int dealt = 0;
        for (frames = 0; frames < maxFrames; ++frames) {
            plat::headless::SetTime(now);
            UpdateDrawHand();
            if (GetCardBacksDealt() > dealt)
                launches.push_back(now);
            dealt = GetCardBacksDealt();
            GetSpriteList()->UpdateAll();
            if (frames > 0 && GetDrawHandState() == 5)
                break;
            now += FRAME_MS;
        }
        return launches;
    }

    std::vector<std::unique_ptr<std::vector<std::uint16_t>>> m_pixels;
};

TEST_F(DrawingHandTest, DealsEachCardTwoHundredMillisecondsApartAndAlwaysLeavesTheScreen)
{
    struct Case {
        int cards;
        int imageHeight;
    };
    // A hand 350 px or taller would never leave the screen if it only rose to y = -350.
    for (const Case c : {Case{3, 120}, Case{1, 400}, Case{2, 350}}) {
        ResetDrawHand();
        HandImages(c.imageHeight);
        Cpu().m_CardsToDraw = c.cards;
        int frames = 0;
        const std::vector<std::uint32_t> launches = RunUntilAtRest(5000, frames);
        ASSERT_EQ(GetDrawHandState(), 5) << c.imageHeight << " px never came to rest";
        ASSERT_EQ(static_cast<int>(launches.size()), c.cards) << c.imageHeight;
        for (std::size_t i = 1; i < launches.size(); ++i)
            EXPECT_EQ(launches[i] - launches[i - 1], 200u) << i;
        const Sprite* const hand = GetDrawHandSprite();
        ASSERT_NE(hand, nullptr);
        EXPECT_LT(hand->GetY() + hand->GetHeight(), 0) << "the hand left the screen";
        EXPECT_EQ(GetCardBacksInFlight(), 0);
        Cpu().m_CardsToDraw = 0;
    }
}

TEST_F(DrawingHandTest, ANewGameDealsTheSevenCardOpeningHand)
{
    HandImages(120);
    ResetHandAnimationState();
    EXPECT_EQ(GetDrawHandState(), 0);
    int frames = 0;
    const std::vector<std::uint32_t> launches = RunUntilAtRest(5000, frames);
    EXPECT_EQ(GetDrawHandState(), 5);
    EXPECT_EQ(static_cast<int>(launches.size()), 7);
}

TEST_F(DrawingHandTest, EmptyLibraryLosesWithoutACardBack)
{
    HandImages(120);
    Cpu().m_CardsToDraw = 1;
    Cpu().m_NextDrawIndex = 40;
    UpdateDrawHand();
    EXPECT_TRUE(Cpu().HasLost());
    EXPECT_EQ(GetCardBacksInFlight(), 0);
}

TEST_F(DrawingHandTest, StoppedHandStaysAtRest)
{
    HandImages(120);
    SetDrawHandStopped(true);
    Cpu().m_CardsToDraw = 2;
    for (int i = 0; i < 10; ++i)
        UpdateDrawHand();
    EXPECT_EQ(GetDrawHandState(), 5);
    EXPECT_TRUE(IsDrawHandAtRest());
    SetDrawHandStopped(false);
    EXPECT_FALSE(IsDrawHandAtRest());
}

} // namespace
