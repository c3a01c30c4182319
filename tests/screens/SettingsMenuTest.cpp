// The online lesson's settings menu on the 800 x 600 table: the stops each mode starts with, the stops the learner
// may not change, the grid's rows and columns, the panel's buttons, the explanation of the first openings and what a
// right press opens it on.
#include "engine/core/StringTable.h"
#include "gamestate/PhaseStops.h"
#include "gamestate/SettingsMenu.h"
#include "gui/OldDialog.h"
#include "rules/TableSelection.h"
#include "screens/SettingsMenu.h"
#include "screens/SettingsMenuStops.h"
#include "tests/lessons/LessonFixture.h"

#include <optional>
#include <set>
#include <utility>

namespace {

using StopSet = std::set<std::pair<int, int>>;

StopSet StopsOf(const PhaseStopGrid& grid)
{
    StopSet stops;
    for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
        for (int step = 0; step < PHASE_STOP_STEPS; ++step) {
            if (grid[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)] != 0)
                stops.insert({player, step});
        }
    }
    return stops;
}

// Screen points of the panel's buttons, relative to the panel.
constexpr std::pair<int, int> OK_POINT = {300, 450};
constexpr std::pair<int, int> CANCEL_POINT = {400, 450};
constexpr std::pair<int, int> CLOSE_POINT = {564, 10};
constexpr std::pair<int, int> DEFAULTS_POINT = {200, 450};

class SettingsMenuTest : public lessontest::LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        StartGame(4);
    }

    void TearDown() override
    {
        GetTableSelection().settingsMenuOpen = false;
        ResetSettingsMenu();
        GetPhaseStops() = PhaseStopTable();
        GetGameDisplay()->m_MessageRecords.clear();
        GetGameDisplay()->m_LastReplyId = -1;
        LessonTest::TearDown();
    }

    // A game of that mode in progress, its menu set up by the first frame.
    void StartGame(int mode)
    {
        GetTableSelection().settingsMenuOpen = false;
        ResetSettingsMenu();
        GetPhaseStops() = PhaseStopTable();
        SetMode(mode);
        GetGameDisplay()->LayoutPlayMat();
        GetTableFlow().gameStarted = true;
        Frame();
    }

    static void Frame()
    {
        ShowSettingsExplanation();
        MouseState.leftClicked = 0;
        MouseState.rightClicked = 0;
        GetGameDisplay()->m_LastReplyId = -1;
    }

    // A point of the table's play area that is on no player's panel.
    static std::pair<int, int> EmptyTablePoint()
    {
        const GameDisplay& display = *GetGameDisplay();
        const auto inside = [&display](int zone, int x, int y) {
            const RasterRect& r = display.GetZoneRectByIndex(zone);
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        };
        for (int y = 0; y < 600; y += 4) {
            for (int x = 0; x < 800; x += 4) {
                if ((inside(12, x, y) || inside(13, x, y)) && !inside(2, x, y) && !inside(3, x, y) &&
                    !inside(6, x, y) && !inside(7, x, y))
                    return {x, y};
            }
        }
        ADD_FAILURE() << "the play area has no bare point";
        return {0, 0};
    }

    static void RightPressAt(std::pair<int, int> point)
    {
        MouseState.x = point.first;
        MouseState.y = point.second;
        MouseState.rightClicked = 1;
        ShowSettingsExplanation();
    }

    // The menu opened by a right press on the bare table, with any explanation answered.
    static void Open()
    {
        RightPressAt(EmptyTablePoint());
        MouseState.rightClicked = 0;
        ASSERT_TRUE(GetTableSelection().settingsMenuOpen);
        if (GetSettingsMenu().explaining) {
            Frame();
            AnswerExplanation();
        }
        Frame();
    }

    static void AnswerExplanation()
    {
        GetGameDisplay()->m_LastReplyId = GetSettingsMenu().explanationBoxId;
        GetGameDisplay()->m_LastReplyAnswer = 1;
        ShowSettingsExplanation();
        GetGameDisplay()->m_LastReplyId = -1;
    }

    // A left press relative to the open panel; true when the menu took it.
    static bool LeftPressOnPanel(int x, int y)
    {
        const SettingsMenuState& menu = GetSettingsMenu();
        MouseState.x = menu.x + x;
        MouseState.y = menu.y + y;
        MouseState.leftClicked = 1;
        ShowSettingsExplanation();
        const bool taken = MouseState.leftClicked == 0;
        MouseState.leftClicked = 0;
        return taken;
    }

    static bool LeftPressOnPanel(std::pair<int, int> point) { return LeftPressOnPanel(point.first, point.second); }

    // A press on the middle of a stop's mark.
    static bool PressStop(int player, int step)
    {
        return LeftPressOnPanel((player == 0 ? 29 : 187) + 14, 108 + 28 * step + 14);
    }

    static PhaseStopTable& Stops() { return GetPhaseStops(); }
};

TEST_F(SettingsMenuTest, EachModeStartsWithItsStopsInUseAndEdited)
{
    struct Case {
        int mode;
        StopSet stops;
    };
    const Case cases[] = {
        {1, {{0, 2}, {0, 5}, {0, 6}, {0, 8}, {1, 5}, {1, 6}, {1, 9}}},
        {2, {{0, 2}, {0, 5}, {0, 6}, {0, 8}, {1, 3}, {1, 5}, {1, 6}, {1, 9}}},
        {3, {{0, 2}, {0, 4}, {0, 5}, {0, 6}, {0, 8}, {1, 4}, {1, 5}, {1, 6}, {1, 9}}},
        {4, {{0, 2}, {0, 5}, {0, 8}, {1, 5}, {1, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        // Stops of an earlier game go: the reset sets the menu up again.
        Stops().inUse[1][0] = 1;
        StartGame(c.mode);
        EXPECT_TRUE(GetSettingsMenu().setUp);
        EXPECT_EQ(StopsOf(Stops().inUse), c.stops);
        EXPECT_EQ(StopsOf(Stops().edited), c.stops);
        for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
            for (int step = 0; step < PHASE_STOP_STEPS; ++step)
                EXPECT_EQ(PhaseStop::Get(player, step), c.stops.count({player, step}) != 0);
        }
    }
    EXPECT_FALSE(PhaseStop::Get(-1, 5));
    EXPECT_FALSE(PhaseStop::Get(2, 5));
    EXPECT_FALSE(PhaseStop::Get(0, 11));
}

TEST_F(SettingsMenuTest, NothingIsSetUpBeforeTheGameIsInProgress)
{
    ResetSettingsMenu();
    GetPhaseStops() = PhaseStopTable();
    GetTableFlow().gameStarted = false;
    RightPressAt(EmptyTablePoint());
    EXPECT_FALSE(GetSettingsMenu().setUp);
    EXPECT_FALSE(GetTableSelection().settingsMenuOpen);
    EXPECT_TRUE(StopsOf(Stops().inUse).empty());
}

TEST_F(SettingsMenuTest, LockedStopsFollowTheMode)
{
    const StopSet alwaysLocked = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 7}, {0, 8}, {0, 10},
                                  {1, 0}, {1, 1}, {1, 2}, {1, 7}, {1, 8}, {1, 10}};
    StopSet basicLocked = alwaysLocked;
    basicLocked.insert({{0, 5}, {1, 5}});
    for (const auto& [mode, locked] : {std::pair{4, alwaysLocked}, std::pair{3, basicLocked}}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        SetMode(mode);
        for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
            for (int step = 0; step < PHASE_STOP_STEPS; ++step)
                EXPECT_EQ(IsPhaseStopLocked(player, step), locked.count({player, step}) != 0)
                    << "player " << player << " step " << step;
        }
    }
    SetMode(1);
    for (int step = 0; step < PHASE_STOP_STEPS; ++step)
        EXPECT_TRUE(IsPhaseStopLocked(1, step));
}

TEST_F(SettingsMenuTest, APressOnAStopTurnsItsMarkUnlessLockedAndIsTakenEitherWay)
{
    Open();
    for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
        for (int step = 0; step < PHASE_STOP_STEPS; ++step) {
            SCOPED_TRACE(testing::Message() << "player " << player << " step " << step);
            const PhaseStopTable before = Stops();
            EXPECT_TRUE(PressStop(player, step));
            const auto p = static_cast<std::size_t>(player);
            const auto s = static_cast<std::size_t>(step);
            PhaseStopGrid expected = before.edited;
            if (!IsPhaseStopLocked(player, step))
                expected[p][s] = before.edited[p][s] != 0 ? 0 : 1;
            EXPECT_EQ(Stops().edited, expected);
            EXPECT_EQ(Stops().inUse, before.inUse) << "only OK puts the marks in use";
        }
    }
    EXPECT_TRUE(GetTableSelection().settingsMenuOpen);
}

TEST_F(SettingsMenuTest, TheGridsEdgesDecideTheColumnAndRow)
{
    Open();
    struct Case {
        int x;
        int y;
        std::optional<std::pair<int, int>> stop;  // the stop turned, none when the press is not the grid's
    };
    // Step 4 (beginning of combat) and 6 (declare blockers) are open in mode 4.
    const Case cases[] = {
        {29, 108 + 28 * 4, std::pair{0, 4}},       {57, 108 + 28 * 4 + 27, std::pair{0, 4}},
        {28, 108 + 28 * 4, std::nullopt},          {58, 108 + 28 * 4, std::nullopt},
        {187, 108 + 28 * 6, std::pair{1, 6}},      {215, 108 + 28 * 6, std::pair{1, 6}},
        {186, 108 + 28 * 6, std::nullopt},         {216, 108 + 28 * 6, std::nullopt},
        {29 + 14, 108 + 28 * 4 - 1, std::pair{0, 3}}, {29 + 14, 107, std::nullopt},
        {187 + 14, 415, std::pair{1, 10}},
        {187 + 14, 416, std::nullopt},             {100, 108 + 28 * 4, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.y);
        const PhaseStopGrid before = Stops().edited;
        EXPECT_EQ(LeftPressOnPanel(c.x, c.y), c.stop.has_value());
        PhaseStopGrid expected = before;
        if (c.stop && !IsPhaseStopLocked(c.stop->first, c.stop->second)) {
            std::uint8_t& mark =
                expected[static_cast<std::size_t>(c.stop->first)][static_cast<std::size_t>(c.stop->second)];
            mark = mark != 0 ? 0 : 1;
        }
        EXPECT_EQ(Stops().edited, expected);
    }
}

TEST_F(SettingsMenuTest, OkCancelAndDefaultsActOnTheirTables)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> presses;
        bool staysOpen;
        bool marksInUse;  // the stops in use become the edited marks; else they are the defaults still
    };
    const Case cases[] = {
        {"OK", {OK_POINT}, false, true},
        {"cancel", {CANCEL_POINT}, false, false},
        {"close box", {CLOSE_POINT}, false, false},
        {"defaults", {DEFAULTS_POINT}, true, false},
        {"defaults then cancel", {DEFAULTS_POINT, CANCEL_POINT}, false, false},
        {"defaults then OK", {DEFAULTS_POINT, OK_POINT}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartGame(4);
        const PhaseStopTable defaults = Stops();
        Open();
        ASSERT_TRUE(PressStop(0, 4));
        ASSERT_TRUE(PressStop(1, 9));
        const PhaseStopGrid edited = Stops().edited;
        ASSERT_NE(edited, defaults.edited);
        for (const auto& point : c.presses)
            EXPECT_TRUE(LeftPressOnPanel(point));
        EXPECT_EQ(GetTableSelection().settingsMenuOpen, c.staysOpen);
        const bool reset = c.presses.front() == DEFAULTS_POINT;
        EXPECT_EQ(Stops().edited, reset ? defaults.edited : edited);
        EXPECT_EQ(Stops().inUse, c.marksInUse ? Stops().edited : defaults.inUse);
    }
}

TEST_F(SettingsMenuTest, APressOffTheButtonsAndTheGridIsLeftForOthers)
{
    Open();
    const PhaseStopTable before = Stops();
    for (const auto& [x, y] : {std::pair{286, 450}, std::pair{372, 450}, std::pair{300, 440}, std::pair{300, 465},
                               std::pair{556, 10}, std::pair{564, 17}, std::pair{192, 450}}) {
        SCOPED_TRACE(testing::Message() << "at " << x << ", " << y);
        EXPECT_FALSE(LeftPressOnPanel(x, y));
    }
    EXPECT_TRUE(GetTableSelection().settingsMenuOpen);
    EXPECT_EQ(Stops().edited, before.edited);
    EXPECT_EQ(Stops().inUse, before.inUse);
}

TEST_F(SettingsMenuTest, ACancelledEditIsWhatTheNextOpeningShows)
{
    Open();
    ASSERT_TRUE(PressStop(0, 6));
    const PhaseStopGrid edited = Stops().edited;
    ASSERT_TRUE(LeftPressOnPanel(CANCEL_POINT));
    Open();
    EXPECT_EQ(Stops().edited, edited);
    EXPECT_NE(Stops().inUse, edited);
}

TEST_F(SettingsMenuTest, TheBasicGameExplainsTheMenuOnItsFirstTwoOpenings)
{
    for (const int mode : {3, 4}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        StartGame(mode);
        GameDisplay& display = *GetGameDisplay();
        for (int opening = 1; opening <= 3; ++opening) {
            SCOPED_TRACE(testing::Message() << "opening " << opening);
            const bool explains = mode == 3 && opening <= 2;
            display.m_MessageRecords.clear();
            RightPressAt(EmptyTablePoint());
            ASSERT_TRUE(GetTableSelection().settingsMenuOpen);
            EXPECT_EQ(GetSettingsMenu().explaining, explains);
            // The box is posted from the frame after the opening; placed only when first shown.
            for (int frame = 0; frame < 3; ++frame) {
                display.m_MessageRecords.clear();
                const PhaseStopGrid before = Stops().edited;
                MouseState.leftClicked = 0;
                EXPECT_EQ(PressStop(1, 6), !explains) << "the menu waits for the box";
                EXPECT_EQ(display.m_MessageRecords.count(5), explains ? 1u : 0u);
                if (explains) {
                    const MessageRecord& box = display.m_MessageRecords.at(5);
                    EXPECT_EQ(box.text, GetString(u"GSM_EXPLAIN_SETTINGS") != nullptr
                                            ? std::u16string(GetString(u"GSM_EXPLAIN_SETTINGS"))
                                            : std::u16string());
                    EXPECT_EQ(box.width, 360);
                    EXPECT_EQ(box.height, 240);
                    EXPECT_EQ(box.buttonMode, 1);
                    EXPECT_EQ(box.hasPosition, frame == 0);
                    if (frame == 0) {
                        EXPECT_EQ(box.x, GetSettingsMenu().x + 110);
                        EXPECT_EQ(box.y, (600 - 240) / 2);
                    }
                    EXPECT_EQ(box.messageId, GetSettingsMenu().explanationBoxId);
                    EXPECT_LE(display.GetMessageDialog(5)->GetDepth(), 1.0f) << "drawn in front of the panel";
                    EXPECT_EQ(Stops().edited, before);
                } else {
                    ASSERT_TRUE(PressStop(1, 6));  // back as it was
                }
            }
            if (explains) {
                AnswerExplanation();
                EXPECT_FALSE(GetSettingsMenu().explaining);
                EXPECT_EQ(GetSettingsMenu().explanationBoxId, -1);
                display.m_MessageRecords.clear();
                EXPECT_TRUE(PressStop(1, 6)) << "the answered box lets the menu work";
                EXPECT_TRUE(PressStop(1, 6));
                EXPECT_EQ(display.m_MessageRecords.count(5), 0u);
            }
            ASSERT_TRUE(LeftPressOnPanel(CANCEL_POINT));
        }
    }
}

TEST_F(SettingsMenuTest, ARightPressOpensTheMenuOnlyOnTheBareTable)
{
    const std::pair<int, int> bare = EmptyTablePoint();
    const RasterRect panel = GetGameDisplay()->GetZoneRectByIndex(3);
    struct Case {
        const char* name;
        int mode;
        std::pair<int, int> point;
        bool onCard;
        bool opens;
    };
    const Case cases[] = {
        {"bare table", 4, bare, false, true},
        {"a card", 4, bare, true, false},
        {"the learner's panel", 4, {panel.left + 1, panel.top + 1}, false, false},
        {"off the table", 4, {799, 599}, false, false},
        {"physical lesson", 1, bare, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartGame(c.mode);
        CardActor* const card = c.onCard ? Card(30, PLAYER_HUMAN) : nullptr;
        GetTableInput().pointedCard = card;
        RightPressAt(c.point);
        EXPECT_EQ(GetTableSelection().settingsMenuOpen, c.opens);
        EXPECT_EQ(MouseState.rightClicked == 0, c.opens) << "only an opening takes the press";
        GetTableInput().pointedCard = nullptr;
        MouseState.rightClicked = 0;
        if (c.opens)
            ASSERT_TRUE(LeftPressOnPanel(CANCEL_POINT));
    }
}

TEST_F(SettingsMenuTest, ThePanelIsCentredRightOfThePlayAreasMargin)
{
    Open();
    const int margin = GetGameDisplay()->GetZoneRectByIndex(12).left;
    const int shifted = (800 - 580) / 2 + margin / 2;
    EXPECT_EQ(GetSettingsMenu().x, shifted + 580 > 800 ? shifted - margin / 2 : shifted);
    EXPECT_EQ(GetSettingsMenu().y, (600 - 480) / 2);
    EXPECT_LE(GetSettingsMenu().x + 580, 800);
}

} // namespace
