// The mulligan dialogue of the advanced intro: the CPU's rule, the steps either side's choices lead through, and the
// learner's redraw of the hand.
#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/AdviceState.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/SpriteList.h"
#include "platform/Headless.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "screens/IntroCards.h"
#include "screens/MulliganDialogue.h"
#include "screens/PhysicalIntro.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"
#include "tests/screens/IntroPiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using lessontest::LessonTest;

// Synthetic cards: 1-20 lands, above creatures; SORCERY is made neither.
constexpr int L = 1;
constexpr int C = 30;
constexpr int S = 200;
constexpr std::uint32_t FRAME_MS = 10;

TEST(CpuMulliganRule, KeepsOnlyWithALandEarlyAndTwoLandsAndCreaturesInNine)
{
    struct Case {
        const char* name;
        std::vector<int> library;
        int hand;
        bool cpuFirst;
        bool mulligan;
    };
    const std::vector<Case> cases = {
        {"good hand", {L, C, L, C, S, S, S, S, S}, 7, true, false},
        {"one land only", {L, C, C, C, C, C, C, C, C}, 7, true, true},
        {"one creature only", {L, L, L, C, S, S, S, S, S}, 7, true, true},
        {"first land beyond the hand", {C, C, S, S, S, S, S, L, L}, 7, true, true},
        // Drawing first brings the eighth card into reach.
        {"first land is the first draw", {C, C, S, S, S, S, S, L, L}, 7, false, false},
        {"the tenth card is not looked at", {L, C, C, S, S, S, S, S, S, L}, 7, true, true},
        {"a hand of five may still go", {S, S, S, S, S, S, S, S, S}, 5, true, true},
        {"a hand of four never goes", {S, S, S, S, S, S, S, S, S}, 4, true, false},
        {"nor a hand of one", {S, S, S, S, S, S, S, S, S}, 1, false, false},
    };
    rulesgame::DefineSyntheticCards();
    g_CardDefs[S].m_CardType = CT_SORCERY;
    for (const Case& c : cases)
        EXPECT_EQ(CpuTakesMulligan(c.library.data(), static_cast<int>(c.library.size()), c.hand, c.cpuFirst), c.mulligan)
            << c.name;
    g_CardDefs[S] = CARD();
}

class MulliganTest : public LessonTest {
protected:
    lessontest::DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        m_back = std::make_unique<introtest::SmallCardBack>();
        SetMode(2);
        SetVoiceMuted(true);
        g_CardDefs[S].m_CardType = CT_SORCERY;
        FillHumanLibrary(40, C);
        s_OpeningHandSize = 7;
        s_bSkipIntro = false;
        m_intro.m_pBox = new Messagebox(DIALOG_KIND_MESSAGEBOX);
        m_intro.m_Pointer.phase = 0;
    }

    void TearDown() override
    {
        m_intro.Reset();
        s_bSkipIntro = false;
        SetVoiceMuted(false);
        m_back.reset();
        LessonTest::TearDown();
    }

    std::unique_ptr<introtest::SmallCardBack> m_back;

    // The CPU's library: a hand it keeps, or one it never keeps above four cards.
    void CpuLibrary(bool keeps)
    {
        for (int i = 0; i < LIBRARY_CAPACITY; ++i)
            Cpu().m_Library[static_cast<std::size_t>(i)] = keeps ? (i % 2 == 0 ? L : C) : S;
        Cpu().m_LibraryCount = LIBRARY_CAPACITY;
        StartCpuHandDeal(7);
    }

    static bool IsWait(int step)
    {
        for (const int wait : {45, 49, 51, 54, 56, 60, 62, 64, 67})
            if (step == wait)
                return true;
        return false;
    }

    // Frames on the stepped clock until a wait shows its buttons or the dialogue has ended; the steps passed.
    void RunToWait(std::vector<int>& steps)
    {
        g_FrameMilliseconds = static_cast<float>(FRAME_MS);
        for (int frame = 0; frame < 5000; ++frame) {
            m_now += FRAME_MS;
            plat::headless::SetTime(m_now);
            if (steps.empty() || steps.back() != m_intro.m_Step)
                steps.push_back(m_intro.m_Step);
            if (m_intro.m_Step >= 69 || (IsWait(m_intro.m_Step) && m_intro.m_pBox->GetButtonCount() > 0 &&
                                         GetGameDisplay()->IsWindowRegistered(m_intro.m_pBox)))
                return;
            m_intro.Advance();
            GetSpriteList()->UpdateAll();
        }
        ADD_FAILURE() << "no wait reached from step " << m_intro.m_Step;
    }

    // Runs the dialogue from its start pressing the buttons in turn; the steps passed.
    std::vector<int> Play(bool cpuFirst, const std::vector<int>& buttons)
    {
        m_intro.m_bCpuFirst = cpuFirst;
        m_intro.m_Step = 43;
        std::vector<int> steps;
        for (const int button : buttons) {
            RunToWait(steps);
            if (!IsWait(m_intro.m_Step))
                break;
            Click(m_intro.m_pBox, button);
            m_now += FRAME_MS;
            plat::headless::SetTime(m_now);
            m_intro.Advance();
        }
        RunToWait(steps);
        return steps;
    }

    Intro_Physical m_intro;
    std::uint32_t m_now = 20000;
};

constexpr int MULLIGAN = 0;
constexpr int KEEP = 1;
constexpr int OK = 0;

TEST_F(MulliganTest, TheSideThatBeginsDecidesFirst)
{
    CpuLibrary(true);
    EXPECT_EQ(Play(true, {OK, KEEP}), (std::vector<int>{43, 44, 45, 55, 56, 68, 69}));
    EXPECT_TRUE(m_intro.m_bCpuDecided && m_intro.m_bHumanDecided);
    EXPECT_EQ(Play(false, {KEEP, OK}), (std::vector<int>{43, 61, 62, 63, 64, 68, 69}));
    EXPECT_EQ(m_intro.m_CpuHandSize, 7);
    EXPECT_EQ(CountCpuHand(), 7);
}

TEST_F(MulliganTest, TheCpuGoesDownToFourAtMost)
{
    CpuLibrary(false);
    const std::vector<int> steps = Play(true, {OK, OK, OK, OK, KEEP});
    EXPECT_EQ(steps, (std::vector<int>{43, 46, 47, 48, 49, 52, 53, 54, 52, 53, 54, 50, 51, 55, 56, 68, 69}));
    EXPECT_EQ(m_intro.m_CpuHandSize, 4);
    EXPECT_EQ(CountCpuHand(), 4);
    // The learner kept first: the CPU answers after and still stops at four.
    RemoveCpuHand();
    StartCpuHandDeal(7);
    m_intro.m_CpuHandSize = 7;
    EXPECT_EQ(Play(false, {KEEP, OK, OK, OK, OK}),
              (std::vector<int>{43, 61, 62, 65, 66, 67, 52, 53, 54, 52, 53, 54, 50, 51, 68, 69}));
    EXPECT_EQ(CountCpuHand(), 4);
}

TEST_F(MulliganTest, TheSkipKeepsBothHands)
{
    CpuLibrary(true);
    s_bSkipIntro = true;
    m_intro.m_bCpuFirst = false;
    m_intro.m_Step = 43;
    for (int frame = 0; frame < 20 && m_intro.m_Step < 69; ++frame)
        m_intro.Advance();
    EXPECT_EQ(m_intro.m_Step, 69);
    EXPECT_EQ(s_OpeningHandSize, 7);
    EXPECT_TRUE(m_intro.m_bHumanDecided);
}

// The learner's redraw: drag a card of the hand onto the pile, which takes the whole hand, then click the pile.
TEST_F(MulliganTest, TheRedrawTakesTheHandOnlyOverThePile)
{
    std::vector<CardActor*> hand;
    for (int i = 0; i < 7; ++i) {
        hand.push_back(Card(C, PLAYER_HUMAN, true));
        hand.back()->m_Position = Vector3{100.0f + 60.0f * static_cast<float>(i), 450.0f, 0.0f};
    }
    RasterRect pile;
    GetGameDisplay()->GetPlayerLibraryRect(pile, false);
    RasterRect first;
    GetGameDisplay()->GetCardRect(hand[0], first, true);
    m_intro.m_RedrawState = 0;
    EXPECT_FALSE(m_intro.AnimateHumanRedraw());
    EXPECT_EQ(m_intro.m_RedrawState, 1);

    // Pressed on the first card, let go in the middle of the table: it waits for another drag.
    MouseState.x = first.left + 5;
    MouseState.y = first.top + 5;
    MouseState.leftClicked = 1;
    MouseState.leftHeld = 1;
    m_intro.AnimateHumanRedraw();
    EXPECT_EQ(m_intro.m_RedrawState, 2);
    EXPECT_TRUE(m_intro.IntroGate19());
    MouseState.leftClicked = 0;
    MouseState.x = 400;
    MouseState.y = 250;
    m_intro.AnimateHumanRedraw();
    MouseState.leftHeld = 0;
    m_intro.AnimateHumanRedraw();
    EXPECT_EQ(m_intro.m_RedrawState, 1);

    // Again, let go over the pile: the hand goes onto it and the hand size drops.
    GetGameDisplay()->GetCardRect(hand[0], first, true);
    MouseState.x = first.left + 5;
    MouseState.y = first.top + 5;
    MouseState.leftClicked = 1;
    MouseState.leftHeld = 1;
    m_intro.AnimateHumanRedraw();
    MouseState.leftClicked = 0;
    MouseState.x = pile.left + pile.Width() / 2;
    MouseState.y = pile.top + pile.Height() / 2;
    m_intro.AnimateHumanRedraw();
    MouseState.leftHeld = 0;
    m_intro.AnimateHumanRedraw();
    EXPECT_EQ(m_intro.m_RedrawState, 3);
    for (int frame = 0; frame < 200 && m_intro.m_RedrawState == 3; ++frame)
        m_intro.AnimateHumanRedraw();
    EXPECT_EQ(m_intro.m_RedrawState, 4);
    EXPECT_EQ(s_OpeningHandSize, 6);
    EXPECT_EQ(FindHumanHandCardAt(pile.left + 1, pile.top + 1), nullptr);
    for (const CardActor* const card : hand)
        EXPECT_FALSE(IsActorRegistered(card));

    // A click on the pile deals six deck cards to draw, with the pile lit.
    MouseState.leftClicked = 1;
    m_intro.AnimateHumanRedraw();
    EXPECT_EQ(m_intro.m_RedrawState, 5);
    EXPECT_TRUE(m_intro.IntroGate18());
    EXPECT_EQ(CountDeckMarkedCards(), 6);
    EXPECT_TRUE(GetGameDisplay()->m_LibraryHighlight);
    TakeDeckCardsIntoHand();
    EXPECT_TRUE(m_intro.AnimateHumanRedraw());
    EXPECT_FALSE(GetGameDisplay()->m_LibraryHighlight);
    MouseState = MouseRecord{};
}

} // namespace
