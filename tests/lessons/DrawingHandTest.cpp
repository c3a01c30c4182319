#include "cards/TableInput.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "lessons/LessonFlow.h"
#include "engine/scene/ScriptParser.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "lessons/DrawingHand.h"
#include "rules/BoardQueries.h"
#include "rules/BoardSteps.h"
#include "rules/SpellStack.h"
#include "platform/Headless.h"
#include "tests/lessons/LessonFixture.h"

#include <algorithm>
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
    GameDisplay& display = *GetGameDisplay();
    const RasterRect savedHand = display.m_CpuHandRect;
    display.m_CpuHandRect = RasterRect{300, 20, 500, 90};
    for (int i = 0; i < 10; ++i)
        Cpu().m_Library[static_cast<std::size_t>(i + 10)] = 30 + i;
    // Two cards already in the CPU's hand.
    Card(21, PLAYER_CPU, true);
    Card(22, PLAYER_CPU, true);
    RasterRect library;
    display.GetOpponentLibraryRect(library, false);

    struct Case {
        int backWidth, backHeight;
    };
    // Whatever the card-back image's size, a back shrinks to the hand's 36 x 54 on its way.
    for (const Case c : {Case{36, 50}, Case{100, 140}}) {
        m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(
            static_cast<std::size_t>(c.backWidth * c.backHeight)));
        const int cardBack =
            GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), c.backWidth, c.backHeight, 0);
        AddTextureName(u"cardback", cardBack);
        const int handBefore = CountCpuHandCards();
        const int nextBefore = Cpu().m_NextDrawIndex;
        Cpu().m_CardsToDraw = 2;

        // Every card back seen in flight: where it started, where it aims and its last drawn size.
        struct Flight {
            int startX, startY, targetX, targetY, width, height;
        };
        std::map<const Sprite*, Flight> flights;
        bool neverNegative = true;
        std::uint32_t now = 10000;
        g_FrameMilliseconds = static_cast<float>(FRAME_MS);
        for (int frame = 0; frame < 2000; ++frame, now += FRAME_MS) {
            plat::headless::SetTime(now);
            UpdateDrawHand();
            neverNegative = neverNegative && CpuLibraryRemaining() >= 0;
            for (const Sprite* const sprite : GetSpriteList()->GetSprites()) {
                if (sprite->GetTexture() != cardBack)
                    continue;
                const auto [found, added] = flights.try_emplace(
                    sprite, Flight{sprite->GetX(), sprite->GetY(), sprite->GetTargetX(), sprite->GetTargetY(), 0, 0});
                found->second.width = sprite->GetWidth();
                found->second.height = sprite->GetHeight();
            }
            GetSpriteList()->UpdateAll();
            if (frame > 0 && GetDrawHandState() == 5)
                break;
        }

        ASSERT_EQ(GetCardBacksDealt(), 2) << c.backWidth;
        ASSERT_EQ(flights.size(), 2u) << c.backWidth;
        std::vector<int> targets;
        for (const auto& [sprite, f] : flights) {
            EXPECT_EQ(f.startX, library.left);
            EXPECT_EQ(f.startY, library.top);
            EXPECT_EQ(f.targetY, 20 + 5);
            EXPECT_EQ(f.width, 36) << c.backWidth;
            EXPECT_EQ(f.height, 54) << c.backWidth;
            targets.push_back(f.targetX);
        }
        std::sort(targets.begin(), targets.end());
        // Beside the cards already there, on the opponent's background rather than the human's hand row.
        EXPECT_EQ(targets, (std::vector<int>{300 + 5 + handBefore * 9, 300 + 5 + (handBefore + 1) * 9}));
        EXPECT_EQ(GetCardBacksInFlight(), 0);
        EXPECT_TRUE(neverNegative);
        // Each back became the CPU's next library card in its hand.
        EXPECT_EQ(CountCpuHandCards(), handBefore + 2);
        EXPECT_EQ(Cpu().m_NextDrawIndex, nextBefore + 2);
        EXPECT_EQ(Cpu().m_CardsToDraw, 0);
        EXPECT_TRUE(IsDrawHandAtRest());
        EXPECT_TRUE(IsDrawingHandDone());
        RemoveTextureName(u"cardback");
    }
    display.m_CpuHandRect = savedHand;
}

// The library count discounts the backs still flying, and a land search of the stack gets the drawn card.
TEST_F(DrawingHandTest, CardsInFlightCountAsDrawnAndTheLandSearchGetsTheCard)
{
    HandImages(120);
    Cpu().m_LibraryCount = 12;
    Cpu().m_Library[10] = 14;
    Cpu().m_Library[11] = 15;
    Cpu().m_CardsToDraw = 1;
    GetSpellStack().m_LandSearch = true;
    std::uint32_t now = 10000;
    g_FrameMilliseconds = static_cast<float>(FRAME_MS);
    bool sawInFlight = false;
    for (int frame = 0; frame < 2000 && !(frame > 0 && GetDrawHandState() == 5); ++frame, now += FRAME_MS) {
        plat::headless::SetTime(now);
        UpdateDrawHand();
        if (CountDrawnCardSprites() == 1) {
            sawInFlight = true;
            EXPECT_EQ(CpuLibraryRemaining(), 1);
        }
        GetSpriteList()->UpdateAll();
    }
    EXPECT_TRUE(sawInFlight);
    EXPECT_EQ(CpuLibraryRemaining(), 1);
    EXPECT_FALSE(GetSpellStack().m_LandSearch);
    const CardActor* const land = GetSpellStack().m_ResolvingTargetCard;
    ASSERT_NE(land, nullptr);
    EXPECT_EQ(land->GetId(), 14);
    EXPECT_EQ(land->GetOwner(), PLAYER_CPU);
    EXPECT_TRUE(land->IsHeld());
    GetSpellStack().m_ResolvingTargetCard = nullptr;
    // Nothing left: never below 0.
    Cpu().m_NextDrawIndex = 20;
    EXPECT_EQ(CpuLibraryRemaining(), 0);
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

// A game left while the hand is up (the table reset drops the scene's sprite list wholesale) must not leave the
// next game's hand hanging above the table.
TEST_F(DrawingHandTest, TheNextGameDealsAfterATableResetMidDeal)
{
    HandImages(120);
    ResetHandAnimationState();
    for (int i = 0; i < 3; ++i)
        UpdateDrawHand();
    ASSERT_TRUE(GetDrawHandSprite()->IsListed());
    GetSpriteList()->Clear();
    ResetDrawHand();
    ResetHandAnimationState();
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

namespace {

// The learner's library count: the cards not yet drawn, plus the drawn cards' actors still lying on the pile; with
// all, also those on their way off it.
TEST_F(DrawingHandTest, TheLearnersLibraryCountsTheCardsStillOnThePile)
{
    Human().m_LibraryCount = 40;
    Human().m_NextDrawIndex = 10;
    EXPECT_EQ(CardsLeftInLibrary(true), 30);
    CardActor* const resting = Card(30, PLAYER_HUMAN, true);
    resting->SetInLibrary(true);
    resting->m_TargetPoint = resting->m_Position;
    CardActor* const moving = Card(31, PLAYER_HUMAN, true);
    moving->m_DeckCardMarker = 1;
    moving->m_TargetPoint = Vector3{moving->m_Position.x + 50.0f, moving->m_Position.y, 0.0f};
    EXPECT_EQ(CardsLeftInLibrary(true), 32);
    EXPECT_EQ(CardsLeftInLibrary(false), 31) << "a card on its way off the pile is drawn";
    GetTableFlow().cardDrawnByHand = resting;
    EXPECT_EQ(CardsLeftInLibrary(false), 30) << "nor is the card the learner draws by hand";
    GetTableFlow().cardDrawnByHand = nullptr;
    Human().m_NextDrawIndex = 45;
    moving->m_DeckCardMarker = 0;
    resting->SetInLibrary(false);
    EXPECT_EQ(CardsLeftInLibrary(true), 0) << "never below nothing";
}

} // namespace
