#include "cards/TableInput.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/TurnFlags.h"
#include "lessons/LessonFlow.h"
#include "engine/scene/ScriptParser.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "lessons/DrawingHand.h"
#include "platform/Headless.h"
#include "tests/lessons/LessonFixture.h"

#include <cstdlib>
#include <string>
#include <map>
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

TEST_F(DrawingHandTest, CardBacksFlyFromTheLibraryIntoTheCpuHandOfBacks)
{
    HandImages(120);
    m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(static_cast<std::size_t>(36 * 50)));
    const int cardBack = GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), 36, 50, 0);
    AddTextureName(u"cardback", cardBack);
    GameDisplay& display = *GetGameDisplay();
    const RasterRect savedHand = display.m_CpuHandRect;
    const int savedCount = GetTableInput().cpuHandCount;
    display.m_CpuHandRect = RasterRect{300, 20, 500, 90};
    GetTableInput().cpuHandCount = 2;
    RasterRect library;
    display.GetOpponentLibraryRect(library, false);
    Cpu().m_CardsToDraw = 2;

    // Every card back seen in flight: where it started, where it aims and where it was last drawn.
    struct Flight {
        int startX, startY, targetX, targetY, lastX, lastY;
    };
    std::map<const Sprite*, Flight> flights;
    std::uint32_t now = 10000;
    g_FrameMilliseconds = static_cast<float>(FRAME_MS);
    for (int frame = 0; frame < 2000; ++frame, now += FRAME_MS) {
        plat::headless::SetTime(now);
        UpdateDrawHand();
        for (const Sprite* const sprite : GetSpriteList()->GetSprites()) {
            if (sprite->GetTexture() != cardBack)
                continue;
            flights.try_emplace(sprite, Flight{sprite->GetX(), sprite->GetY(), sprite->GetTargetX(),
                                               sprite->GetTargetY(), sprite->GetX(), sprite->GetY()});
        }
        GetSpriteList()->UpdateAll();
        for (const Sprite* const sprite : GetSpriteList()->GetSprites()) {
            if (const auto found = flights.find(sprite); found != flights.end()) {
                found->second.lastX = sprite->GetX();
                found->second.lastY = sprite->GetY();
            }
        }
        if (frame > 0 && GetDrawHandState() == 5)
            break;
    }

    ASSERT_EQ(GetCardBacksDealt(), 2);
    ASSERT_FALSE(flights.empty());
    for (const auto& [sprite, f] : flights) {
        EXPECT_EQ(f.startX, library.left);
        EXPECT_EQ(f.startY, library.top);
        // Beside the two backs already there, on the opponent's background rather than the human's hand row.
        EXPECT_EQ(f.targetX, 300 + 5 + 2 * 9);
        EXPECT_EQ(f.targetY, 20 + 5);
        EXPECT_LE(std::abs(f.lastX - f.targetX), 2);
        EXPECT_LE(std::abs(f.lastY - f.targetY), 2);
    }
    EXPECT_EQ(GetCardBacksInFlight(), 0);
    Cpu().m_CardsToDraw = 0;
    display.m_CpuHandRect = savedHand;
    GetTableInput().cpuHandCount = savedCount;
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

// Resting the mouse on a step's label in the physical phase bar explains the step after a second, above the
// label, with the advanced game's own texts; the basic game explains nothing during the CPU's turn.
TEST_F(LessonTest, ThePhaseBarExplainsTheStepUnderTheRestingMouse)
{
    CreatePrivateHeap();
    ASSERT_TRUE(AddString(u"PHYS_BASIC_EXPLAIN_DRAW", u"Basic draw."));
    ASSERT_TRUE(AddString(u"PHYS_ADV_EXPLAIN_DRAW", u"Advanced draw."));
    GameDisplay& display = *GetGameDisplay();
    const auto savedNames = display.m_PhaseNames;
    const RasterRect savedBar = display.m_PhaseBackground;
    // The bar as its background image spans it, over every label.
    display.m_PhaseBackground.top = display.m_PhaseRects[0].top - 32;
    display.m_PhaseBackground.bottom = display.m_PhaseRects[11].bottom + 8;
    const std::u16string draw = u"Draw";
    std::copy(draw.begin(), draw.end(), display.m_PhaseNames[2].begin());
    const RasterRect label = display.m_PhaseRects[2];
    ASSERT_NE(label.left, -1);
    ASSERT_GT(label.Width(), 60) << "room past the label's text";
    // What one frame of the tooltip queues as text.
    const auto frameText = [] {
        GetRaster()->BeginFrame();
        ExplainTurnStep();
        GetRaster()->EndFrame();
        return std::u16string(GetRaster()->GetQueuedText());
    };
    struct Case {
        const char* name;
        int mode;
        bool cpuTurn;
        std::uint32_t rested;
        int dx;
        std::u16string shown;
    };
    const Case cases[] = {
        {"999 ms on the label", 1, false, 999, 2, u""},
        {"1000 ms on the label", 1, false, 1000, 2, u"Basic draw."},
        {"advanced game", 2, false, 1000, 2, u"Advanced draw."},
        {"inside the label, past its text", 1, false, 1000, -1, u""},
        {"basic game, the CPU's turn", 1, true, 1000, 2, u""},
        {"advanced game, the CPU's turn", 2, true, 1000, 2, u"Advanced draw."},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        s_CpuTurn = c.cpuTurn;
        plat::headless::SetTime(5000);
        MouseState.x = 0;
        MouseState.y = 0;
        frameText();
        MouseState.x = label.left + (c.dx < 0 ? label.Width() - 2 : c.dx);
        MouseState.y = label.top + 2;
        frameText();
        plat::headless::SetTime(5000 + c.rested);
        const std::u16string text = frameText();
        EXPECT_EQ(text.find(u"draw.") != std::u16string::npos, !c.shown.empty()) << c.name;
        if (!c.shown.empty()) {
            EXPECT_NE(text.find(c.shown), std::u16string::npos) << c.name;
        }
    }
    s_CpuTurn = false;
    MouseState = MouseRecord();
    display.m_PhaseNames = savedNames;
    display.m_PhaseBackground = savedBar;
    ClearStringTables();
    DestroyPrivateHeap();
}

} // namespace
