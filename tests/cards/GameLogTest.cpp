#include "cards/GameLog.h"

#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

std::string Narrow(std::u16string_view text)
{
    return std::string(text.begin(), text.end());
}

class GameLogTest : public test::SceneFixture {
protected:
    GameLogTest()
    {
        m_DesktopWidth = 800;
        m_DesktopHeight = 600;
    }

    void SetUp() override
    {
        SceneFixture::SetUp();
        s_GameMode = 3;
        GameLog::Clear();
        MouseState = MouseRecord();
    }

    void TearDown() override
    {
        s_GameMode = 0;
        GameLog::Clear();
        MouseState = MouseRecord();
        SceneFixture::TearDown();
    }

    static void AddNumbered(int from, int to)
    {
        for (int i = from; i <= to; ++i)
        {
            const std::u16string number = IntToWString(i);
            GameLog::Add(false, u"entry %0", {number});
        }
    }

    static std::vector<std::string> Visible()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < GAME_LOG_VISIBLE_LINES; ++i)
            lines.push_back(Narrow(GameLog::GetVisibleLine(i)));
        return lines;
    }

    // The wheel over the log box for one frame.
    static void Wheel(int notches)
    {
        const RasterRect log = GameLog::GetLogRect();
        MouseState.x = log.left + 5;
        MouseState.y = log.top + 5;
        MouseState.wheel = notches;
        GameLog::Draw();
        MouseState.wheel = 0;
    }
};

TEST_F(GameLogTest, ShowsTheNewestFourEntries)
{
    AddNumbered(1, 3);
    EXPECT_EQ(Visible(), (std::vector<std::string>{"entry 1", "entry 2", "entry 3", ""}));
    AddNumbered(4, 6);
    EXPECT_EQ(Visible(), (std::vector<std::string>{"entry 3", "entry 4", "entry 5", "entry 6"}));
    GameLog::Add(false, u"");
    EXPECT_EQ(GameLog::GetCount(), 6);
}

TEST_F(GameLogTest, NothingIsAddedOutsideTheOnlineLesson)
{
    s_GameMode = 1;
    GameLog::Add(false, u"played");
    EXPECT_EQ(GameLog::GetCount(), 0);
}

TEST_F(GameLogTest, TimePrefixAndLongEntriesCutTo127Units)
{
    GameLog::Add(true, u"%0 casts", {u"Ana"});
    EXPECT_TRUE(std::regex_match(Narrow(GameLog::GetVisibleLine(0)), std::regex(R"(\d\d:\d\d:\d\d  Ana casts)")))
        << Narrow(GameLog::GetVisibleLine(0));
    const std::u16string longName(300, u'x');
    GameLog::Add(false, u"%0!", {longName});
    EXPECT_EQ(GameLog::GetVisibleLine(1), std::u16string(GAME_LOG_LINE_LENGTH, u'x'));
}

TEST_F(GameLogTest, WheelAndButtonsScrollWithinTheEntries)
{
    AddNumbered(1, 10);
    ASSERT_EQ(GameLog::GetFirstVisible(), 6);
    Wheel(2);
    EXPECT_EQ(GameLog::GetFirstVisible(), 2);
    Wheel(2);
    EXPECT_EQ(GameLog::GetFirstVisible(), 0);
    Wheel(-3);
    EXPECT_EQ(GameLog::GetFirstVisible(), 6);

    // The down button at the bottom of the scroll bar: never past the newest entry; its click is consumed.
    const RasterRect bar = GameLog::GetRects();
    MouseState.x = bar.left + 2;
    MouseState.y = bar.top + 2;
    MouseState.leftClicked = 1;
    GameLog::Draw();
    EXPECT_EQ(GameLog::GetFirstVisible(), 5);
    EXPECT_EQ(MouseState.leftClicked, 0);
    MouseState.y = bar.bottom - 1;
    MouseState.leftClicked = 1;
    GameLog::Draw();
    GameLog::Draw();
    EXPECT_EQ(GameLog::GetFirstVisible(), 6);
}

TEST_F(GameLogTest, AfterTheRingWrapsEntriesStayInAgeOrder)
{
    AddNumbered(1, GAME_LOG_ENTRIES + 5);
    EXPECT_EQ(GameLog::GetCount(), GAME_LOG_ENTRIES);
    EXPECT_EQ(Visible(), (std::vector<std::string>{"entry 202", "entry 203", "entry 204", "entry 205"}));
    Wheel(-20);
    Wheel(15);
    Wheel(15);
    EXPECT_EQ(GameLog::GetFirstVisible(), 0);
    EXPECT_EQ(Narrow(GameLog::GetVisibleLine(0)), "entry 6");
}

// Once the ring is full, a new entry replaces the oldest: it is stored even when it reads the same, and an empty
// entry is refused whether or not the ring has wrapped.
TEST_F(GameLogTest, AFullRingStoresAnEntryEqualToTheOldestAndRefusesAnEmptyOne)
{
    struct Case {
        const char* name;
        std::u16string entry;
        int firstEntryAfter;
        std::vector<std::string> visible;
    };
    const std::vector<Case> cases = {
        {"same as the oldest", u"entry 1", 2, {"entry 198", "entry 199", "entry 200", "entry 1"}},
        {"empty", u"", 1, {"entry 197", "entry 198", "entry 199", "entry 200"}},
    };
    for (const Case& c : cases) {
        GameLog::Clear();
        AddNumbered(1, GAME_LOG_ENTRIES);
        GameLog::Add(false, c.entry);
        EXPECT_EQ(Visible(), c.visible) << c.name;
        EXPECT_EQ(GameLog::GetCount(), GAME_LOG_ENTRIES) << c.name;
        Wheel(20);
        EXPECT_EQ(Narrow(GameLog::GetVisibleLine(0)), "entry " + std::to_string(c.firstEntryAfter)) << c.name;
    }
}

} // namespace
