// The advanced lesson's first-sight dialogs in the real frame loop with the shipped data: two cards come into
// the learner's hand, their dialogs show one at a time at the advice position with their link labels, each is
// heard once, OK closes it, and the CPU's turn goes on afterwards. The frame of each dialog is saved when
// TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/AdviceState.h"
#include "gui/Messagebox.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using Frame = plat::headless::Frame;

class CardDialogLoopTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
        SetSetting(u"winmax", 1);
    }
};

void Tick(bool draw = false)
{
    if (draw)
        GetRaster()->Invalidate();
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

bool TickUntil(const std::function<bool()>& done, int maxFrames)
{
    for (int i = 0; i < maxFrames; ++i) {
        if (done())
            return true;
        Tick();
    }
    return done();
}

Frame DrawFrame(const std::string& moment)
{
    Tick(true);
    Frame frame = plat::headless::LastFrame();
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/carddialog-800-" + moment + ".bmp");
    return frame;
}

std::uint16_t PixelAt(const Frame& frame, int x, int y)
{
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) +
                        static_cast<std::size_t>(x)];
}

// Pixels of the 5-6-5 frame whose three channels are all near full.
int WhitePixels(const Frame& frame, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, frame.height); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, frame.width); ++x) {
            const std::uint16_t p = PixelAt(frame, x, y);
            count += ((p >> 11) & 31) >= 28 && ((p >> 5) & 63) >= 56 && (p & 31) >= 28 ? 1 : 0;
        }
    }
    return count;
}

void Mouse(plat::EventType type, int x, int y)
{
    test::QueueLeftMouse(type, x, y);
    Tick();
}

void ClickCentre(const GUI_Window& window)
{
    const int x = (window.GetLeft() + window.GetRight()) / 2;
    const int y = (window.GetTop() + window.GetBottom()) / 2;
    Mouse(plat::EventType::MouseMove, x, y);
    Mouse(plat::EventType::ButtonDown, x, y);
    Mouse(plat::EventType::ButtonUp, x, y);
}

// The learner drags the life token onto the cell of its life, as the lesson asks at the start.
void MoveLifeToken(int life)
{
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    ASSERT_NE(token, nullptr);
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
    const int fx = (token->rect.left + token->rect.right) / 2;
    const int fy = (token->rect.top + token->rect.bottom) / 2;
    const int cx = (cell.left + cell.right) / 2;
    const int cy = (cell.top + cell.bottom) / 2;
    Mouse(plat::EventType::MouseMove, fx, fy);
    Mouse(plat::EventType::ButtonDown, fx, fy);
    for (int step = 1; step <= 4; ++step)
        Mouse(plat::EventType::MouseMove, fx + (cx - fx) * step / 4, fy + (cy - fy) * step / 4);
    Mouse(plat::EventType::ButtonUp, cx, cy);
    ASSERT_TRUE(TickUntil([token] { return token->IsReady(); }, 120));
}

bool IsDialogShown()
{
    const CardSpecificDialog* const dialog = GetCurrentDialog();
    return dialog != nullptr && GetGameDisplay()->IsWindowRegistered(dialog) && !dialog->IsHidden();
}

int CountShownCardDialogs()
{
    int count = 0;
    for (const GUI_Window* const window : GetGameDisplay()->GetGameWindows()) {
        const auto* const box = dynamic_cast<const Messagebox*>(window);
        count += box != nullptr && box->GetKindNumber() == CARD_DIALOG_KIND && !box->IsHidden() ? 1 : 0;
    }
    return count;
}

TEST_F(CardDialogLoopTest, FirstSightDialogsShowOneAtATimeAtTheAdvicePositionAndTheGameGoesOn)
{
    RunInside([] {
        Tick();
        SetChosenColours(COLOUR_GREEN, COLOUR_BLACK, COLOUR_RED, COLOUR_BLUE, COLOUR_WHITE);
        plat::SeedRand(5);
        ResetTable(2);
        Tick();
        ASSERT_EQ(s_GameMode, 2);
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        // The table is laid out when it is first drawn.
        for (int i = 0; i < 30; ++i)
            Tick();
        DrawFrame("table");
        ASSERT_TRUE(TickUntil([] { return IsIntroFinished(); }, 600));
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING; }, 240));
        MoveLifeToken(20);
        for (int i = 0; i < 30; ++i)
            Tick();
        // The opening hand's first-sight tips are read first.
        const int armed = CountArmedDialogs();
        for (int i = 0; i < 20 && IsDialogShown(); ++i) {
            ClickCentre(*GetCurrentDialog()->GetButton(0));
            for (int frame = 0; frame < 10; ++frame)
                Tick();
        }
        ASSERT_FALSE(IsDialogShown());
        ASSERT_FALSE(HasPriorityDialogQueued());
        ASSERT_LE(CountArmedDialogs(), armed);

        // Tavengast (a spoken row with two links) and Hosunmel (a silent row with one) come into the hand.
        test::DealCard(CD_TAVENGAST, PLAYER_HUMAN, true);
        test::DealCard(CD_HOSUNMEL, PLAYER_HUMAN, true);
        EXPECT_TRUE(HasPriorityDialogQueued());
        // The learner's draw of the turn is put into the hand, as the drop handling will once the card is dragged.
        ASSERT_TRUE(TickUntil(
            [] {
                TableFlowState& flow = GetTableFlow();
                if (CardActor* const drawn = flow.cardDrawnByHand) {
                    drawn->m_InLibrary = false;
                    flow.cardDrawnByHand = nullptr;
                }
                return IsDialogShown();
            },
            120));
        for (int i = 0; i < 20; ++i)
            Tick();

        const Actor* const cpu = GetCpuPlayerActor();
        const int cpuState = cpu->GetState();
        const char* const moments[] = {"tavengast", "hosunmel"};
        const int links[] = {2, 1};
        for (int n = 0; n < 2; ++n) {
            SCOPED_TRACE(moments[n]);
            CardSpecificDialog* const dialog = GetCurrentDialog();
            ASSERT_TRUE(IsDialogShown());
            EXPECT_TRUE(IsPriorityDialogShown());
            EXPECT_EQ(CountShownCardDialogs(), 1) << "one dialog at a time";
            EXPECT_EQ(dialog->GetExtraWindowCount(), links[n]);
            // At the advice position where the opening hand's tips opened: at the top of the opponent's area,
            // whole on the screen.
            RasterRect area;
            GetGameDisplay()->GetOpponentPlayArea(area);
            EXPECT_LE(dialog->GetRight(), 800);
            EXPECT_EQ(dialog->GetTop(), area.top);
            EXPECT_GE(dialog->GetLeft(), 0);
            EXPECT_LE(dialog->GetBottom(), 600);
            const Frame frame = DrawFrame(moments[n]);
            const RasterRect& text = dialog->GetTextRect();
            EXPECT_GT(WhitePixels(frame, text.left, text.top, text.right, text.bottom), 100) << "no text";
            // The learner's turn and the CPU's wait while it is up.
            EXPECT_EQ(cpu->GetState(), cpuState);
            ClickCentre(*dialog->GetButton(0));
            Tick();
        }
        EXPECT_FALSE(IsDialogShown());
        EXPECT_FALSE(HasPriorityDialogQueued());
        // Tavengast's clip was asked for exactly once (a second request within a limit of 2 still passes);
        // Hosunmel's row has none.
        HintRegistry* const hints = GetHintRegistry();
        EXPECT_FALSE(hints->PlayVoiceLimited(u"vo_phys\\adv_cardspecific_tavengast.wav", 1, false));
        EXPECT_TRUE(hints->PlayVoiceLimited(u"vo_phys\\adv_cardspecific_tavengast.wav", 2, false));

        // The game goes on: the learner's turn moves on once he answers the main-phase box.
        const Actor* const human = GetHumanPlayerActor();
        const int humanState = human->GetState();
        EXPECT_TRUE(TickUntil(
            [human, humanState] {
                if (IsDialogShown())
                    ClickCentre(*GetCurrentDialog()->GetButton(0));
                else if (IsLessonBoxShowing() && GetLessonBox()->GetButtonCount() > 0)
                    ClickCentre(*GetLessonBox()->GetButton(GetLessonBox()->GetButtonCount() - 1));
                return human->GetState() != humanState;
            },
            600));
    });
}

} // namespace
