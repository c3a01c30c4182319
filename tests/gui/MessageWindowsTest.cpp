#include "tests/gui/GameWindowFixture.h"

#include "engine/core/LanguageManager.h"
#include "gui/GameWindowRegistry.h"
#include "gui/Messagebox.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"

#include <limits>

namespace {

class MessageWindowsTest : public guitest::GameWindowFixture {
protected:
    // English keeps small messages at their size.
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    }
    void TearDown() override
    {
        m_Display.ClearWindows();
        m_Display.m_NextMessageId = 0;
        m_Display.m_bQuitPromptOpen = false;
        DeleteQuitWarningBox();
        GetGUIManager()->Clear();
        GameWindowFixture::TearDown();
    }

    int Request(int key, int priority, const char16_t* text, int mode = 0)
    {
        return m_Display.AddMessageWindow(key, priority, text, 120, 60, nullptr, false, 0, 0, mode,
                                          mode != 0 ? u"psok" : nullptr, mode != 0 ? u"psokmo" : nullptr, nullptr,
                                          30, 0, 0);
    }

    // One frame of the loop's message-window steps.
    void Frame()
    {
        m_Display.UnregisterMessageDialogs();
        m_Display.RegisterMessageDialogs();
        BeginDrawing();
        m_Display.UpdateMessageDialogs();
        EndDrawing();
        m_Display.CheckMessageButtonClick();
    }

    GameDisplay& m_Display = *GetGameDisplay();
};

// A game window that counts how often it is drawn.
class CountingWindow : public GUI_Window {
public:
    CountingWindow() : GUI_Window(0) {}
    void Draw() override { ++m_Draws; }
    int m_Draws = 0;
};

TEST_F(MessageWindowsTest, OneRequestPerKeyAndFrameTheHigherPriorityWins)
{
    struct Case {
        int first;
        int second;
        bool replaced;
    };
    for (const Case& c : {Case{1, 1, true}, Case{1, 2, true}, Case{2, 1, false}}) {
        const int firstId = Request(7, c.first, u"first");
        const int secondId = Request(7, c.second, u"second");
        ASSERT_GE(firstId, 0);
        if (c.replaced) {
            EXPECT_EQ(secondId, firstId + 1) << c.first << " then " << c.second;
        } else {
            EXPECT_EQ(secondId, -1) << c.first << " then " << c.second;
        }
        EXPECT_EQ(m_Display.m_MessageRecords.at(7).text, c.replaced ? u"second" : u"first");
        Frame();
        EXPECT_EQ(m_Display.GetMessageDialog(7)->GetText(), c.replaced ? u"second" : u"first");
        EXPECT_TRUE(m_Display.m_MessageRecords.empty()) << "records live one frame";
    }
    EXPECT_EQ(Request(8, 0, nullptr), -1) << "neither text nor buttons";
    EXPECT_EQ(Request(8, 0, u""), -1);
    EXPECT_GE(Request(8, 0, nullptr, 1), 0) << "buttons without text";
    EXPECT_GE(Request(9, 0, u"text only"), 0);
}

TEST_F(MessageWindowsTest, MessageIdsWrapToZeroAtTheLargestValue)
{
    m_Display.m_NextMessageId = std::numeric_limits<int>::max();
    EXPECT_EQ(Request(1, 0, u"a"), std::numeric_limits<int>::max());
    EXPECT_EQ(Request(2, 0, u"b"), 0);
    EXPECT_EQ(Request(3, 0, u"c"), 1);
}

TEST_F(MessageWindowsTest, AClickOnTheButtonRepliesToThatFramesRequestOnly)
{
    NamedImage("psok", 30, 16, 0x00FF00);
    NamedImage("psokmo", 30, 16, 0x00FFFF);
    const int id = m_Display.AddMessageWindow(3, 0, u"Pick", 150, 100, nullptr, true, 20, 20, 1, u"psok", u"psokmo",
                                              nullptr, 30, 0, 0);
    Frame();
    const OldButton* const ok = m_Display.GetMessageDialog(3)->GetButtonA();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(m_Display.m_LastReplyId, -1);

    const auto again = [this] {
        return m_Display.AddMessageWindow(3, 0, u"Pick", 150, 100, nullptr, false, 0, 0, 1, u"psok", u"psokmo",
                                          nullptr, 30, 0, 0);
    };
    const int next = again();
    MouseState.x = ok->GetLeft() + 3;
    MouseState.y = ok->GetTop() + 3;
    MouseState.leftClicked = 1;
    Frame();
    EXPECT_EQ(m_Display.m_LastReplyId, next);
    EXPECT_NE(m_Display.m_LastReplyId, id) << "an earlier request is not answered";
    EXPECT_EQ(m_Display.m_LastReplyAnswer, OLD_BUTTON_PART_LEFT);
    EXPECT_EQ(MouseState.leftClicked, 0) << "the button took the click";

    // The next frame without a click reports nothing.
    again();
    Frame();
    EXPECT_EQ(m_Display.m_LastReplyId, -1);
    EXPECT_EQ(m_Display.m_LastReplyAnswer, 0);
}

TEST_F(MessageWindowsTest, ADraggedMessageStaysWhereItWasDragged)
{
    m_Display.AddMessageWindow(5, 0, u"Drag me", 120, 60, nullptr, true, 10, 10, 0, nullptr, nullptr, nullptr, 0, 0, 0);
    Frame();
    MouseState.x = 20;
    MouseState.y = 15;
    MouseState.leftClicked = 1;
    MouseState.leftHeld = 1;
    EXPECT_TRUE(m_Display.DragMessageDialogs());
    MouseState.leftClicked = 0;
    MouseState.x = 60;
    MouseState.y = 45;
    EXPECT_TRUE(m_Display.DragMessageDialogs());
    MouseState.leftHeld = 0;
    EXPECT_FALSE(m_Display.DragMessageDialogs());
    Request(5, 0, u"Drag me");
    Frame();
    EXPECT_EQ(m_Display.GetMessageDialog(5)->GetLeft(), 50);
    EXPECT_EQ(m_Display.GetMessageDialog(5)->GetTop(), 40);
}

TEST_F(MessageWindowsTest, GameWindowsAreDrawnUnlessTheQuitPromptOrWarningIsUp)
{
    CountingWindow box;
    m_Display.RegisterWindow(&box);
    Frame();
    EXPECT_EQ(box.m_Draws, 1);
    m_Display.m_bQuitPromptOpen = true;
    Frame();
    EXPECT_EQ(box.m_Draws, 1);
    m_Display.m_bQuitPromptOpen = false;
    ShowQuitWarning();
    ASSERT_NE(GetQuitWarningBox(), nullptr);
    Frame();
    EXPECT_EQ(box.m_Draws, 1) << "only the quit warning is drawn";
    DeleteQuitWarningBox();
    Frame();
    EXPECT_EQ(box.m_Draws, 2);
    m_Display.UnregisterWindow(&box);
}

TEST_F(MessageWindowsTest, ATableResetForgetsRequestsAndDialogs)
{
    Request(1, 0, u"a");
    Frame();
    Request(1, 0, u"a");
    m_Display.RegisterMessageDialogs();
    m_Display.ClearWindows();
    EXPECT_TRUE(m_Display.m_MessageRecords.empty());
    EXPECT_TRUE(m_Display.m_MessageDialogs.empty());
    EXPECT_TRUE(m_Display.m_RegisteredMessageDialogs.empty());
    EXPECT_TRUE(GetGUIManager()->GetWindows().empty()) << "deleted dialogs leave the toolkit's registry";
}

} // namespace
