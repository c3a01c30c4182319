#include "tests/gui/GuiFixture.h"

#include "engine/scene/FrameState.h"
#include "gui/Dialog.h"
#include "gui/GameWindowRegistry.h"

#include <array>
#include <memory>

namespace {

bool s_IntroFinished = false;
std::array<bool, 2> s_GraveyardOpen{};
int s_GraveyardCloses = 0;

class GameWindowRegistryTest : public guitest::GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        s_IntroFinished = false;
        s_GraveyardOpen = {};
        s_GraveyardCloses = 0;
        GameWindowActions actions;
        actions.IsIntroFinished = [] { return s_IntroFinished; };
        actions.IsGraveyardDialogOpen = [](int player) { return s_GraveyardOpen[static_cast<std::size_t>(player)]; };
        actions.CloseGraveyardDialog = [](int player) {
            s_GraveyardOpen[static_cast<std::size_t>(player)] = false;
            ++s_GraveyardCloses;
        };
        SetGameWindowActions(actions);
    }
    void TearDown() override
    {
        GetGameDisplay()->ClearWindows();
        SetGameWindowActions({});
        s_GameMode = 0;
        GuiFixture::TearDown();
    }

    static std::unique_ptr<GUI_Window> Box(std::uint32_t kind, int left, int top)
    {
        auto window = std::make_unique<GUI_Window>(kind);
        window->SetRect(left, top, left + 50, top + 40, false);
        return window;
    }

    static void BeginAndEndFrameDrawing(GUI_Window& window)
    {
        GetRaster()->BeginFrame();
        window.Draw();
        GetRaster()->EndFrame();
    }

    GameDisplay& m_Display = *GetGameDisplay();
};

TEST_F(GameWindowRegistryTest, RegisteringListsOnceFrontMostLastAndMirrorsIntoTheToolkit)
{
    auto a = Box(0, 0, 0);
    auto b = Box(0, 10, 10);
    m_Display.RegisterWindow(a.get());
    m_Display.RegisterWindow(b.get());
    m_Display.m_RelayoutRequested = false;
    m_Display.RegisterWindow(a.get());
    EXPECT_FALSE(m_Display.m_RelayoutRequested) << "a second registration changes nothing";
    EXPECT_EQ(m_Display.GetGameWindows(), (std::vector<GUI_Window*>{a.get(), b.get()}));
    EXPECT_TRUE(GetGUIManager()->IsRegistered(a.get()));

    m_Display.BringWindowToFront(a.get());
    EXPECT_EQ(m_Display.GetGameWindows(), (std::vector<GUI_Window*>{b.get(), a.get()}));
    EXPECT_EQ(GetGUIManager()->GetWindows().back(), a.get());

    m_Display.UnregisterWindow(a.get());
    EXPECT_FALSE(m_Display.IsWindowRegistered(a.get()));
    EXPECT_FALSE(GetGUIManager()->IsRegistered(a.get()));
    EXPECT_TRUE(m_Display.m_RelayoutRequested);
    // Unregistering again only repeats the harmless steps.
    m_Display.UnregisterWindow(a.get());
    EXPECT_EQ(m_Display.GetGameWindows(), (std::vector<GUI_Window*>{b.get()}));

    m_Display.ClearWindows();
    EXPECT_TRUE(m_Display.GetGameWindows().empty());
    EXPECT_FALSE(m_Display.IsWindowRegistered(b.get()));
    GetGUIManager()->UnregisterWindow(b.get());
}

TEST_F(GameWindowRegistryTest, ClosingALessonBoxAfterTheIntroRemembersWhereItWas)
{
    struct Case {
        std::uint32_t kind;
        bool introFinished;
        int expectedX;
    };
    for (const Case& c : {Case{9, true, 30}, Case{9, false, -1}, Case{14, true, -1}}) {
        m_Display.ClearWindows();
        s_IntroFinished = c.introFinished;
        auto box = Box(c.kind, 30, 60);
        m_Display.RegisterWindow(box.get());
        m_Display.UnregisterWindow(box.get());
        EXPECT_EQ(m_Display.m_LastLessonBoxX, c.expectedX) << "kind " << c.kind << " intro " << c.introFinished;
        EXPECT_EQ(m_Display.m_LastLessonBoxY, c.expectedX < 0 ? -1 : 60);
    }
    m_Display.ClearWindows();
    EXPECT_EQ(m_Display.m_LastLessonBoxX, -1);
}

TEST_F(GameWindowRegistryTest, ClosingAnyWindowInAPhysicalLessonClosesOpenGraveyardLists)
{
    auto box = Box(0, 0, 0);
    for (const int mode : {0, 1, 2, 3}) {
        s_GameMode = mode;
        s_GraveyardOpen = {true, false};
        s_GraveyardCloses = 0;
        m_Display.UnregisterWindow(box.get());
        EXPECT_EQ(s_GraveyardCloses, mode == 1 || mode == 2 ? 1 : 0) << "mode " << mode;
    }
}

TEST_F(GameWindowRegistryTest, DialogsAreLaidOutWhenShownAndComeForwardThroughTheirChildren)
{
    Dialog list(0);
    list.SetRect(0, 0, 100, 100, false);
    auto* const card = new GUI_Window(0);
    card->SetRect(10, 10, 30, 40, false);
    list.AddChild(card);
    Dialog other(0);
    other.SetRect(50, 50, 90, 90, false);

    m_Display.RegisterWindow(&list);
    m_Display.RegisterWindow(&other);
    EXPECT_TRUE(list.NeedsLayout());
    BeginAndEndFrameDrawing(list);
    ASSERT_FALSE(list.NeedsLayout());
    m_Display.RegisterWindow(&list);
    EXPECT_FALSE(list.NeedsLayout()) << "a box that is up is not laid out again";

    m_Display.BringWindowToFront(card);
    EXPECT_EQ(m_Display.GetGameWindows().back(), &list);
    GUI_Window loose(0);
    m_Display.BringWindowToFront(&loose);
    EXPECT_EQ(m_Display.GetGameWindows().back(), &list) << "a window outside any dialog changes nothing";
}

TEST_F(GameWindowRegistryTest, QuitFlagsAreTheDisplays)
{
    m_Display.m_bQuitPromptOpen = true;
    EXPECT_TRUE(IsQuitPromptOpen());
    EXPECT_FALSE(IsQuitConfirmed());
    m_Display.m_bQuitPromptOpen = false;
    m_Display.m_bQuitConfirmed = true;
    EXPECT_TRUE(IsQuitConfirmed());
    m_Display.m_bQuitConfirmed = false;
}

} // namespace
