// The screen switch: which screen object each id makes, keeps and deletes, the return screen, a switch from
// inside a button's handler, the click effect, and the re-layout by anchor and stretch.
#include "engine/sound/Wave.h"
#include "gui/GUI_Button.h"
#include "screens/AdvancedConceptsInterface.h"
#include "screens/ExplainInterface.h"
#include "screens/GameInterface.h"
#include "screens/InformationScreens.h"
#include "tests/screens/ScreenFixture.h"

#include <array>
#include <map>

namespace {

using screentest::ScreenTest;

constexpr std::array<ScreenSlot, 8> ALL_SLOTS = {ScreenSlot::PhysicalMain,    ScreenSlot::OnlineMain,
                                                 ScreenSlot::LearnMore,       ScreenSlot::Links,
                                                 ScreenSlot::MoreAboutOnline, ScreenSlot::AdvancedConcepts,
                                                 ScreenSlot::Explain,         ScreenSlot::Slideshow};

class ScreenSwitchTest : public ScreenTest {};

TEST_F(ScreenSwitchTest, EachIdShowsItsObjectAndLeavingDeletesTheRebuiltOnes)
{
    struct Case {
        int id;
        int slot;  // -1: no object
    };
    const Case cases[] = {{1, 0}, {2, 1}, {3, -1}, {4, 2}, {5, -1}, {13, -1}, {17, 3}, {18, 4},
                          {19, 5}, {20, 6}, {21, 6}, {22, 7}, {23, 7}, {24, 7}, {0, -1}, {25, -1}};
    GameDisplay& display = *GetGameDisplay();
    for (const Case& c : cases) {
        display.SetScreen(c.id, false);
        EXPECT_EQ(display.GetScreen(), c.id);
        const std::vector<GUI_Interface*>& shown = GetGUIManager()->GetInterfaces();
        if (c.slot < 0) {
            EXPECT_TRUE(shown.empty()) << c.id;
        } else {
            ASSERT_EQ(shown.size(), 1u) << c.id;
            EXPECT_EQ(shown[0], GetCachedScreen(ALL_SLOTS[static_cast<std::size_t>(c.slot)])) << c.id;
        }
        // Of the six rebuilt screens only the shown one is left.
        for (int slot = 0; slot < 6; ++slot) {
            EXPECT_EQ(GetCachedScreen(ALL_SLOTS[static_cast<std::size_t>(slot)]) != nullptr, slot == c.slot)
                << "id " << c.id << " slot " << slot;
        }
    }
    // The explain and slide-show screens stay made.
    EXPECT_NE(GetExplainScreen(), nullptr);
    EXPECT_NE(GetSlideshowScreen(), nullptr);
}

TEST_F(ScreenSwitchTest, LeavingAdvancedConceptsForgetsItsTopicAndTheExplainScreenIsReused)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(19, false);
    auto* concepts = static_cast<AdvancedConceptsInterface*>(GetCachedScreen(ScreenSlot::AdvancedConcepts));
    concepts->ShowTopic(3);
    display.SetScreen(4, false);
    EXPECT_EQ(GetCachedScreen(ScreenSlot::AdvancedConcepts), nullptr);
    display.SetScreen(19, false);
    concepts = static_cast<AdvancedConceptsInterface*>(GetCachedScreen(ScreenSlot::AdvancedConcepts));
    ASSERT_NE(concepts, nullptr);
    EXPECT_EQ(concepts->m_Topic, -1);

    display.SetScreen(20, false);
    ExplainInterface* const explain = GetExplainScreen();
    explain->SetPage(1);
    EXPECT_EQ(explain->m_Page, 1);
    display.SetScreen(1, false);
    display.SetScreen(21, false);
    EXPECT_EQ(GetExplainScreen(), explain);
    EXPECT_EQ(explain->m_Topic, 1);
    EXPECT_EQ(explain->m_Page, 0);
    // Re-selecting the shown id keeps its object.
    display.SetScreen(2, false);
    GameInterface* const online = GetCachedScreen(ScreenSlot::OnlineMain);
    display.SetScreen(2, false);
    EXPECT_EQ(GetCachedScreen(ScreenSlot::OnlineMain), online);
}

TEST_F(ScreenSwitchTest, TheReturnScreenIsKeptOnlyWhenAsked)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(4, false);
    display.SetReturnScreen(1);
    display.SetScreen(17, true);
    EXPECT_EQ(display.GetReturnScreen(), 4);
    display.SetScreen(1, false);
    EXPECT_EQ(display.GetReturnScreen(), 4);
    // Back from the links goes to the remembered screen and makes the main menu the next return.
    display.SetScreen(17, true);
    Click(u"btnBack");
    EXPECT_EQ(display.GetScreen(), 1);
    EXPECT_EQ(display.GetReturnScreen(), 1);
}

// The main loop re-shows the held id after every scene load; when that load started a game, the menu held before
// must not be laid over the table (it would draw there, and only when the saved launch mode asks for the re-show).
TEST_F(ScreenSwitchTest, AnIdShownWhileAGameRunsIsKeptButAddsNoScreen)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    ASSERT_NE(GetCachedScreen(ScreenSlot::PhysicalMain), nullptr);
    display.m_SceneTag = 1;
    for (const int id : {1, 2, 20}) {
        display.SetScreen(id, false);
        EXPECT_EQ(display.GetScreen(), id);
        EXPECT_TRUE(GetGUIManager()->GetInterfaces().empty()) << id;
    }
    EXPECT_EQ(GetCachedScreen(ScreenSlot::PhysicalMain), nullptr);
    EXPECT_EQ(GetCachedScreen(ScreenSlot::OnlineMain), nullptr);
    // Leaving the game shows the menus again.
    display.m_SceneTag = 0;
    display.SetScreen(1, false);
    ASSERT_EQ(GetGUIManager()->GetInterfaces().size(), 1u);
    EXPECT_EQ(GetGUIManager()->GetInterfaces()[0], GetCachedScreen(ScreenSlot::PhysicalMain));
}

TEST_F(ScreenSwitchTest, ASwitchFromAButtonsOwnHandlerDeletesTheScreenAfterTheDispatch)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    Frame();
    Click(u"btnLearnMore");
    EXPECT_EQ(display.GetScreen(), 4);
    EXPECT_EQ(GetCachedScreen(ScreenSlot::PhysicalMain), nullptr);
    EXPECT_EQ(CountDroppedScreens(), 1);
    FlushDroppedScreens();
    EXPECT_EQ(CountDroppedScreens(), 0);
    Frame();
    // And on from the new screen's own handler, twice in a row.
    Click(u"btnAdvanced");
    EXPECT_EQ(display.GetScreen(), 19);
    Frame();
    Click(u"btnBack");
    EXPECT_EQ(display.GetScreen(), 4);
    Frame();
    EXPECT_EQ(CountDroppedScreens(), 0);
}

TEST_F(ScreenSwitchTest, AButtonTheScreenDoesNotKnowSoundsTheClickTwice)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(4, false);
    Frame();
    auto* stray = new GUI_Button();
    stray->SetName(u"btnSomethingElse");
    stray->SetRect(10, 10, 60, 40, true);
    GetCachedScreen(ScreenSlot::LearnMore)->AddWindow(stray);
    EXPECT_EQ(stray->GetClickEffect(), static_cast<std::uint32_t>(MENU_CLICK_EFFECT));
    const int before = CountEffectRequests(MENU_CLICK_EFFECT);
    Click(u"btnSomethingElse");
    EXPECT_EQ(CountEffectRequests(MENU_CLICK_EFFECT) - before, 2);
    EXPECT_EQ(display.GetScreen(), 4);
    const int known = CountEffectRequests(MENU_CLICK_EFFECT);
    Click(u"btnLinks");
    EXPECT_EQ(CountEffectRequests(MENU_CLICK_EFFECT) - known, 1);
    EXPECT_EQ(display.GetScreen(), 17);
}

// A screen of hand-made windows for the re-layout.
class LayoutScreen : public GameInterface {
public:
    GUI_Window* Add(int l, int t, int r, int b, int hAnchor, int vAnchor, bool hStretch, bool vStretch)
    {
        auto* window = new GUI_Window(l, t, r, b);
        window->m_HorizontalAnchor = static_cast<std::uint8_t>(hAnchor);
        window->m_VerticalAnchor = static_cast<std::uint8_t>(vAnchor);
        window->m_bStretchHorizontally = hStretch;
        window->m_bStretchVertically = vStretch;
        AddWindow(window);
        return window;
    }
};

TEST_F(ScreenSwitchTest, ResizeMovesWindowsByTheirAnchorAndStretch)
{
    struct Case {
        const char* what;
        int hAnchor;
        bool hStretch;
        int left;
        int right;
    };
    // Designed 100..300 in bounds 0..800, laid out for 1000 pixels (scaled span 125..375, 250 wide).
    const Case cases[] = {
        {"nothing set", 0, false, 100, 300},
        {"anchor and stretch scale", 1, true, 125, 375},
        {"stretch alone keeps the left", 0, true, 100, 350},
        {"centre anchor keeps the width", 1, false, 150, 350},
        {"near anchor", 2, false, 125, 325},
        {"far anchor", 3, false, 175, 375},
        {"unknown anchor", 7, false, 125, 325},
    };
    for (const Case& c : cases) {
        LayoutScreen screen;
        screen.Add(0, 0, 800, 600, 0, 0, false, false);
        GUI_Window* const window = screen.Add(100, 50, 300, 90, c.hAnchor, 0, c.hStretch, false);
        screen.OnLoaded();
        EXPECT_EQ(screen.m_DesignRight - screen.m_DesignLeft, 800);
        screen.OnResize(1000, 600);
        EXPECT_EQ(window->GetLeft(), c.left) << c.what;
        EXPECT_EQ(window->GetRight(), c.right) << c.what;
        EXPECT_EQ(window->GetTop(), 50) << c.what;
        EXPECT_EQ(window->GetBottom(), 90) << c.what;
    }
    // The vertical axis follows the same rules: a far anchor keeps the window on the bottom edge.
    LayoutScreen screen;
    screen.Add(0, 0, 800, 600, 0, 0, false, false);
    GUI_Window* const bottom = screen.Add(0, 500, 800, 600, 0, 3, true, false);
    screen.OnLoaded();
    screen.OnResize(1024, 768);
    EXPECT_EQ(bottom->GetTop(), 668);
    EXPECT_EQ(bottom->GetBottom(), 768);
    EXPECT_EQ(bottom->GetRight(), 1024);
}

TEST_F(ScreenSwitchTest, ZeroSizedDesignBoundsLeaveThatAxisAlone)
{
    LayoutScreen screen;
    // A zero-height screen: every window a line.
    GUI_Window* const line = screen.Add(100, 40, 300, 40, 1, 1, true, true);
    screen.OnLoaded();
    EXPECT_EQ(screen.m_DesignBottom - screen.m_DesignTop, 0);
    screen.OnResize(400, 300);
    // Horizontally 200 wide (100..300) shown 400 wide.
    EXPECT_EQ(line->GetLeft(), 200);
    EXPECT_EQ(line->GetRight(), 600);
    EXPECT_EQ(line->GetTop(), 40);
    EXPECT_EQ(line->GetBottom(), 40);
    // A screen without windows has no bounds worth dividing by either.
    LayoutScreen empty;
    empty.OnLoaded();
    empty.OnResize(640, 480);
}

TEST_F(ScreenSwitchTest, RefreshLaysTheScreenOutForTheWindowSize)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    Frame();
    const GUI_Window* const basic = Find(u"btnBasic");
    ASSERT_NE(basic, nullptr);
    // Designed at 800x600 and shown at 800x600: where the layout put it.
    EXPECT_EQ(basic->GetLeft(), 260);
    EXPECT_EQ(basic->GetWidth(), 280);
}

} // namespace
