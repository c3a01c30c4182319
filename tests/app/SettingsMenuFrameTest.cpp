// The settings menu in a running basic online game, opened by the learner's right press as a person would: first
// its explanation, then the panel with its marks, both drawn at 800 x 600. The frames are saved when
// TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhaseStops.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/SettingsMenu.h"
#include "gamestate/TableFlowState.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "rules/Decks.h"
#include "rules/TableSelection.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace {

constexpr int MAX_FRAMES = 20000;

class SettingsMenuFrameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg"});
        SetSetting(u"winmax", 1);
    }

    // A maximised window of that size.
    void OpenTheMenuAt(int width, int height);
};

void Tick(int frames = 1)
{
    for (int i = 0; i < frames; ++i) {
        GetRaster()->Invalidate();
        plat::headless::AdvanceTime(17);
        test::TickOnce();
    }
}

void QueueMouse(plat::EventType type, int x, int y, int button)
{
    plat::Event event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.button = button;
    plat::headless::QueueEvent(event);
}

// A press and release at the point, each in a frame of its own.
void Press(int x, int y, int button)
{
    QueueMouse(plat::EventType::MouseMove, x, y, button);
    Tick();
    QueueMouse(plat::EventType::ButtonDown, x, y, button);
    Tick();
    QueueMouse(plat::EventType::ButtonUp, x, y, button);
    Tick();
}

void SaveFrame(const char* name)
{
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(folder) + "/" + name + "-" +
                                                                      std::to_string(s_ClientWidth) + ".bmp");
}

int HumanState()
{
    const Actor* const human = FindActorByName(u"player");
    return human == nullptr ? -1 : human->GetState();
}

bool AnyMessageWindowUp()
{
    for (const OldDialog* dialog : GetGameDisplay()->m_RegisteredMessageDialogs) {
        if (!dialog->IsHidden())
            return true;
    }
    return false;
}

// A point of the play area on no player's panel and on no card.
std::pair<int, int> BareTablePoint()
{
    const GameDisplay& display = *GetGameDisplay();
    const auto inside = [&display](int zone, int x, int y) {
        const RasterRect& r = display.GetZoneRectByIndex(zone);
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    for (int y = s_ClientHeight - 1; y >= 0; y -= 7) {
        for (int x = s_ClientWidth - 1; x >= 0; x -= 7) {
            if (!(inside(12, x, y) || inside(13, x, y)) || inside(2, x, y) || inside(3, x, y) || inside(6, x, y) ||
                inside(7, x, y))
                continue;
            bool onCard = false;
            for (int i = 0; i < GetActorCount() && !onCard; ++i) {
                const CardActor* const card = AsCardActor(GetActorAt(i));
                if (card == nullptr)
                    continue;
                const float cx = card->m_Position.x;
                const float cy = card->m_Position.y;
                onCard = x >= cx - 120 && x <= cx + 120 && y >= cy - 160 && y <= cy + 160;
            }
            if (!onCard)
                return {x, y};
        }
    }
    return {-1, -1};
}

// The centre of a card of the learner's on the table.
std::pair<int, int> OwnCardPoint()
{
    for (const GUI_Window* const window : GetGameDisplay()->GetGameWindows()) {
        if (window->GetKind() != 7 || window->IsHidden())
            continue;
        return {(window->GetLeft() + window->GetRight()) / 2, (window->GetTop() + window->GetBottom()) / 2};
    }
    return {-1, -1};
}

void SettingsMenuFrameTest::OpenTheMenuAt(int width, int height)
{
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    plat::headless::SetScreenMetrics({width, height, width, height});
    RunInside([&] {
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        // The game starts as the colour choice starts it, with the table reset that sets the menu up again.
        ResetTable(3);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bot.SetLandsOnly(true);
        // The learner plays until its own main phase with nothing waiting for an answer.
        int frame = 0;
        for (; frame < MAX_FRAMES; ++frame) {
            if (s_GameMode == 3 && GetTableFlow().gameStarted && s_HumanTurn && s_MulliganState == 1 &&
                HumanState() == 5 && !AnyMessageWindowUp() && FindActorByName(u"cointoss") == nullptr)
                break;
            bot.Step();
            Tick();
        }
        ASSERT_LT(frame, MAX_FRAMES) << "the learner's main phase never came";
        Tick(30);
        ASSERT_FALSE(GetTableSelection().settingsMenuOpen);

        const auto [cardX, cardY] = OwnCardPoint();
        if (cardX >= 0) {
            Press(cardX, cardY, plat::BUTTON_RIGHT);
            EXPECT_FALSE(GetTableSelection().settingsMenuOpen) << "a right press on a card opens nothing";
        }

        const auto [x, y] = BareTablePoint();
        ASSERT_GE(x, 0) << "no bare point on the table";
        Press(x, y, plat::BUTTON_RIGHT);
        ASSERT_TRUE(GetTableSelection().settingsMenuOpen);
        EXPECT_TRUE(GetSettingsMenu().explaining) << "the basic game explains its first opening";
        Tick(5);
        SaveFrame("settings-explanation");

        const OldButton* const ok = GetGameDisplay()->GetMessageDialog(5)->GetButtonA();
        ASSERT_NE(ok, nullptr);
        Press((ok->GetLeft() + ok->GetRight()) / 2, (ok->GetTop() + ok->GetBottom()) / 2, plat::BUTTON_LEFT);
        EXPECT_FALSE(GetSettingsMenu().explaining);
        ASSERT_TRUE(GetTableSelection().settingsMenuOpen);

        // The opponent's beginning of combat is set in the basic game; a press on its mark clears it.
        const SettingsMenuState& menu = GetSettingsMenu();
        ASSERT_TRUE(PhaseStop::Get(1, 4));
        Press(menu.x + 187 + 14, menu.y + 108 + 28 * 4 + 14, plat::BUTTON_LEFT);
        EXPECT_EQ(GetPhaseStops().edited[1][4], 0);
        EXPECT_TRUE(PhaseStop::Get(1, 4)) << "the stop in use waits for OK";
        Tick(3);
        SaveFrame("settings-menu");

        Press(menu.x + 300, menu.y + 450, plat::BUTTON_LEFT);
        EXPECT_FALSE(GetTableSelection().settingsMenuOpen);
        EXPECT_FALSE(PhaseStop::Get(1, 4));
        Tick(3);
        SaveFrame("settings-closed");
    });
}

TEST_F(SettingsMenuFrameTest, TheLearnerOpensTheMenuOnTheBareTableAndSetsAStopAt800x600)
{
    OpenTheMenuAt(800, 600);
}

TEST_F(SettingsMenuFrameTest, TheLearnerOpensTheMenuOnTheBareTableAndSetsAStopAt1024x768)
{
    OpenTheMenuAt(1024, 768);
}

} // namespace
