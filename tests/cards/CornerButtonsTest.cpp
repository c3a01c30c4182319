#include "cards/CornerButtons.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/RegistrySettings.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

namespace {

// A game's table with the quit button (button 4) at (10, 10)-(40, 30).
class CornerButtonsTest : public tabletest::TableDrawFixture {
protected:
    void SetUp() override
    {
        TableDrawFixture::SetUp();
        GameDisplay& display = *GetGameDisplay();
        display.m_ScreenId = 11;
        display.m_SceneTag = 1;
        s_GameMode = 1;
        s_RequestedGameMode = 1;
        display.m_CornerButtonRects[4] = RasterRect{10, 10, 40, 30};
        display.m_LastReplyId = -1;
        display.m_LastReplyAnswer = 0;
        ClearQuitPrompt();
        ClearQuitRequest();
    }

    void TearDown() override
    {
        ClearQuitPrompt();
        ClearQuitRequest();
        GetGameDisplay()->m_CornerButtonRects = {};
        GetRegistrySettings()->SetInt(u"launchmode", 0);
        s_RequestedGameMode = 0;
        TableDrawFixture::TearDown();
    }

    void PressQuit()
    {
        MouseState.x = 20;
        MouseState.y = 20;
        MouseState.leftHeld = 1;
        GetGameDisplay()->UpdateCornerButtons();
        MouseState = MouseRecord();
    }

    // One frame without an answer: the warning is asked for again under key 2, each time with a new message id,
    // and the frame's end forgets the request. Returns the id of this frame's request.
    int ShowWarning()
    {
        GameDisplay& display = *GetGameDisplay();
        display.m_LastReplyId = -1;
        display.m_LastReplyAnswer = 0;
        display.UpdateCornerButtons();
        const int id = display.m_MessageRecords.at(2).messageId;
        display.m_MessageRecords.clear();
        return id;
    }
};

TEST_F(CornerButtonsTest, YesLeavesTheGame)
{
    PressQuit();
    ASSERT_TRUE(IsQuitPromptPending());
    ShowWarning();
    const int id = ShowWarning();
    EXPECT_TRUE(IsQuitPromptPending()) << "unanswered: the game goes on";
    EXPECT_EQ(s_RequestedGameMode, 1);
    GetGameDisplay()->m_LastReplyId = id;
    GetGameDisplay()->m_LastReplyAnswer = 1;
    GetGameDisplay()->UpdateCornerButtons();
    EXPECT_FALSE(IsQuitPromptPending());
    EXPECT_EQ(s_RequestedGameMode, 0);
    EXPECT_EQ(GetGameDisplay()->m_SceneTag, 0);
}

TEST_F(CornerButtonsTest, NoKeepsTheGameAndTheButtonAsksAgain)
{
    PressQuit();
    int id = ShowWarning();
    GetGameDisplay()->m_LastReplyId = id + 100;
    GetGameDisplay()->m_LastReplyAnswer = 2;
    GetGameDisplay()->UpdateCornerButtons();
    EXPECT_TRUE(IsQuitPromptPending()) << "an answer to another window is not ours";
    id = GetGameDisplay()->m_MessageRecords.at(2).messageId;
    GetGameDisplay()->m_MessageRecords.clear();
    GetGameDisplay()->m_LastReplyId = id;
    GetGameDisplay()->m_LastReplyAnswer = 2;
    GetGameDisplay()->UpdateCornerButtons();
    EXPECT_FALSE(IsQuitPromptPending());
    EXPECT_EQ(s_RequestedGameMode, 1);
    EXPECT_EQ(GetGameDisplay()->m_SceneTag, 1);
    PressQuit();
    EXPECT_TRUE(IsQuitPromptPending());
}

TEST_F(CornerButtonsTest, LaunchModeDecidesWhatExitAndBackDo)
{
    GameDisplay& display = *GetGameDisplay();
    display.m_SceneTag = 0;
    display.m_ScreenId = 6;
    display.m_CornerButtonRects[2] = RasterRect{100, 10, 130, 30};
    MouseState.x = 110;
    MouseState.y = 20;
    MouseState.leftHeld = 1;
    display.UpdateCornerButtons();
    EXPECT_TRUE(IsQuitRequested()) << "launch mode 0: Exit ends the program";
    EXPECT_EQ(display.m_CornerButtonStates[0], 2) << "and Back shows pressed";

    ClearQuitRequest();
    GetRegistrySettings()->SetInt(u"launchmode", 1);
    display.UpdateCornerButtons();
    EXPECT_FALSE(IsQuitRequested());
    EXPECT_EQ(display.m_ScreenId, 1) << "launch mode 1: Exit returns to the first screen";
}

} // namespace
