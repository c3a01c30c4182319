// The lesson intros in the real frame loop with the shipped data at 800 x 600: the learner clicks what each step
// asks for (a box's button, the library, the mat, the die, the tour's regions); drags are left to the console's
// skip for the frame they would take. Each step that shows something new is saved when TESSEL_SAVE_FRAMES names
// a folder.
#include "tests/app/AppFixture.h"

#include "cards/CardActor.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/Intro.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "gui/WordBalloon.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "screens/IntroCards.h"
#include "screens/IntroChoice.h"
#include "screens/OnlineIntro.h"
#include "screens/PhysicalIntro.h"

#include <cstdlib>
#include <set>
#include <string>

namespace {

using test::TickOnce;

class IntroLoopTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg", "level03_u.cfg", "level04_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
        SetSetting(u"winmax", 1);
        SetIntroChoice(IntroChoice::LessonIntros);
    }

    void TearDown() override
    {
        s_bSkipIntro = false;
        AppFixture::TearDown();
    }
};

void Frames(int count)
{
    for (int i = 0; i < count; ++i) {
        plat::headless::AdvanceTime(20);
        TickOnce();
    }
}

void Click(int x, int y)
{
    for (const plat::EventType type :
         {plat::EventType::MouseMove, plat::EventType::ButtonDown, plat::EventType::ButtonUp}) {
        test::QueueLeftMouse(type, x, y);
        plat::headless::AdvanceTime(20);
        TickOnce();
    }
}

// A click where the rectangle shows and no window lies over it.
void ClickCentre(const RasterRect& rect);

// A formatted text is laid out on its first frame and drawn from the next: two frames.
void SaveFrame(const std::string& name)
{
    plat::headless::AdvanceTime(20);
    TickOnce();
    GetRaster()->Invalidate();
    plat::headless::AdvanceTime(20);
    TickOnce();
    if (const char* const saveTo = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(saveTo) + "/" + name + ".bmp");
}

void BeginGame(int mode)
{
    TickOnce();
    SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
    plat::SeedRand(11);
    ResetTable(mode);
    TickOnce();
    ASSERT_EQ(s_GameMode, mode);
}

// Clicks a registered box's button by index; false when it shows none.
bool ClickBoxButton(const Messagebox* box, int index)
{
    if (box == nullptr || !GetGameDisplay()->IsWindowRegistered(box) || box->GetButtonCount() <= index)
        return false;
    const TextButton* const button = box->GetButton(index);
    Click((button->GetLeft() + button->GetRight()) / 2, (button->GetTop() + button->GetBottom()) / 2);
    return true;
}

// A point of the highlight with no window over it.
bool FreePointIn(const RasterRect& area, int& x, int& y)
{
    for (y = area.top + 2; y < area.bottom - 1; y += 4)
        for (x = area.left + 2; x < area.right - 1; x += 4)
            if (GetGUIManager()->GetWindowAt(x, y) == nullptr)
                return true;
    return false;
}

void ClickCentre(const RasterRect& rect)
{
    int x = 0;
    int y = 0;
    if (FreePointIn(rect, x, y))
        Click(x, y);
    else
        Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

int HumanHand()
{
    int held = 0;
    for (const CardActor* const card : GetCardActors())
        if (card->GetOwner() == 0 && card->IsHeld() && !card->IsInLibrary())
            ++held;
    return held;
}

// One learner's move for the step the physical intro is at; the choice button is pressed at the mulligan.
void PlayPhysicalStep(Intro_Physical& intro, int choice)
{
    const int step = intro.m_Step;
    const bool choosing = step == 56 || step == 60 || step == 62;
    if (ClickBoxButton(intro.m_pBox, choosing ? choice : 0) || ClickBoxButton(intro.m_pBalloon, 0))
        return;
    RasterRect rect{};
    switch (step) {
    case 9:
    case 12: {
        const CardActor* const card = step == 9 ? intro.m_pHumanLibraryCard : intro.m_pCpuLibraryCard;
        const int x = static_cast<int>(card->m_Position.x);
        const int y = static_cast<int>(card->m_Position.y);
        ClickCentre(RasterRect{x + 2, y + 2, x + 30, y + 40});
        return;
    }
    case 15:
        GetGameDisplay()->GetPlayAreaRect(rect);
        ClickCentre(rect);
        return;
    case 28:
        ClickCentre(RasterRect{intro.m_Dice[0].x, intro.m_Dice[0].y, intro.m_Dice[0].x + DIE_SIZE, intro.m_Dice[0].y + DIE_SIZE});
        return;
    case 18:
    case 21:
    case 22:
    case 35:
    case 58:
        // The drags: the library card, the life token, the opening hand and the redraw.
        s_bSkipIntro = true;
        Frames(1);
        s_bSkipIntro = false;
        return;
    default:
        Frames(1);
        return;
    }
}

// Runs the physical intro to its end; the steps seen.
std::set<int> PlayPhysicalIntro(int mode, int choice)
{
    std::set<int> seen;
    for (int i = 0; i < 4000; ++i) {
        auto* const intro = dynamic_cast<Intro_Physical*>(s_pCurrentIntro);
        if (intro == nullptr)
            break;
        // Saving takes frames, after which the intro may have ended: it is looked up again.
        if (seen.insert(intro->m_Step).second) {
            SaveFrame("intro" + std::to_string(mode) + "-step" + std::to_string(intro->m_Step));
            continue;
        }
        PlayPhysicalStep(*intro, choice);
    }
    return seen;
}

TEST_F(IntroLoopTest, TheBasicIntroLeadsIntoTheFirstTurnWithSevenCardsEach)
{
    RunInside([] {
        ASSERT_NO_FATAL_FAILURE(BeginGame(1));
        Frames(3);
        ASSERT_NE(dynamic_cast<Intro_Physical*>(s_pCurrentIntro), nullptr);
        const std::set<int> seen = PlayPhysicalIntro(1, 0);
        EXPECT_EQ(s_pCurrentIntro, nullptr);
        // Clicks pass some steps within the frames they take; the basic path shows its own boxes.
        EXPECT_TRUE(seen.contains(15) && seen.contains(23) && seen.contains(34));
        EXPECT_FALSE(seen.contains(43));
        EXPECT_TRUE(IsIntroFinished());
        for (const int gate : {7, 8, 9, 11, 12, 13, 14, 15, 16, 17})
            EXPECT_TRUE(IntroGate(gate)) << gate;
        EXPECT_EQ(FindActorByName(u"intro"), nullptr);
        EXPECT_EQ(HumanHand(), 7);
        EXPECT_EQ(CountCpuHand(), 7);
        Frames(100);
        SaveFrame("intro1-first-turn");
        EXPECT_EQ(HumanHand() + CountCpuHand() >= 14, true);
    });
}

TEST_F(IntroLoopTest, TheAdvancedIntroEndsWithTheMulliganKept)
{
    RunInside([] {
        SetVoiceMuted(true);
        ASSERT_NO_FATAL_FAILURE(BeginGame(2));
        Frames(3);
        ASSERT_NE(dynamic_cast<Intro_Physical*>(s_pCurrentIntro), nullptr);
        const std::set<int> seen = PlayPhysicalIntro(2, 1);
        EXPECT_EQ(s_pCurrentIntro, nullptr);
        EXPECT_TRUE(seen.contains(56) || seen.contains(62));
        EXPECT_FALSE(seen.contains(1) || seen.contains(23) || seen.contains(39));
        EXPECT_EQ(HumanHand(), 7);
        EXPECT_GE(CountCpuHand(), 4);
        EXPECT_TRUE(IsIntroFinished());
        SetVoiceMuted(false);
    });
}

TEST_F(IntroLoopTest, TheTourIsClickedThroughIntoTheCoinToss)
{
    RunInside([] {
        ASSERT_NO_FATAL_FAILURE(BeginGame(3));
        Frames(3);
        std::set<int> seen;
        bool tossSeen = false;
        for (int i = 0; i < 600 && !tossSeen; ++i) {
            tossSeen = FindActorByName(u"cointoss") != nullptr;
            auto* const intro = dynamic_cast<Intro_Online*>(s_pCurrentIntro);
            if (intro == nullptr) {
                Frames(1);
                continue;
            }
            if (seen.insert(intro->GetStep()).second && intro->GetStep() % 2 == 0)
                SaveFrame("intro3-step" + std::to_string(intro->GetStep()));
            int x = 0;
            int y = 0;
            if (intro->GetStep() % 2 == 0 && FreePointIn(intro->GetHighlight(), x, y))
                Click(x, y);
            else
                Frames(1);
        }
        for (int step = 2; step <= 20; step += 2)
            EXPECT_TRUE(seen.contains(step)) << step;
        EXPECT_TRUE(tossSeen);
        EXPECT_EQ(s_pCurrentIntro, nullptr);
        for (const int gate : {20, 21, 22, 23, 24, 25, 26})
            EXPECT_TRUE(IntroGate(gate)) << gate;
        Frames(10);
        SaveFrame("intro3-coin-toss");
    });
}

} // namespace
