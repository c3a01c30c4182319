// A message box, a word balloon with its pointer and a graveyard list shown by the real frame loop over the
// physical lesson's table with the shipped data, each answered by scripted clicks.
#include "tests/app/AppFixture.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/GraveyardDialog.h"
#include "cards/PhysQuitButton.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/OldDialog.h"
#include "gui/QuitButton.h"
#include "gui/TextButton.h"
#include "gui/WordBalloon.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

class GameWindowsLoopTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg"});
    }
};

using test::TickOnce;

// Move, press and release on the window's centre, a frame each, as a learner clicks. The window gives
// client coordinates, which the program scales to the back buffer's.
void ClickCentre(const GUI_Window* window)
{
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    const int x = (window->GetLeft() + window->GetRight()) / 2 * width / s_ScreenRect.Width();
    const int y = (window->GetTop() + window->GetBottom()) / 2 * height / s_ScreenRect.Height();
    test::QueueLeftMouse(plat::EventType::MouseMove, x, y);
    TickOnce();
    test::QueueLeftMouse(plat::EventType::ButtonDown, x, y);
    TickOnce();
    test::QueueLeftMouse(plat::EventType::ButtonUp, x, y);
    TickOnce();
}

// A whole frame drawn, then saved when TESSEL_SAVE_FRAMES names a folder.
plat::headless::Frame DrawFrame(const char* name)
{
    GetRaster()->Invalidate();
    TickOnce();
    plat::headless::Frame frame = plat::headless::LastFrame();
    if (const char* const saveTo = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(saveTo) + "/" + name);
    return frame;
}

std::uint16_t PixelAt(const plat::headless::Frame& frame, int x, int y)
{
    EXPECT_TRUE(x >= 0 && y >= 0 && x < frame.width && y < frame.height) << x << "," << y;
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height)
        return 0;
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
}

// The 5-6-5 pixel is within a few steps of the colour.
bool Near(std::uint16_t pixel, int r, int g, int b)
{
    const int pr = ((pixel >> 11) & 31) << 3;
    const int pg = ((pixel >> 5) & 63) << 2;
    const int pb = (pixel & 31) << 3;
    return std::abs(pr - r) <= 8 && std::abs(pg - g) <= 8 && std::abs(pb - b) <= 8;
}

TEST_F(GameWindowsLoopTest, BoxBalloonAndGraveyardListAreShownAndAnswered)
{
    RunInside([] {
        s_RequestedGameMode = 1;
        s_GameMode = -1;
        TickOnce();
        ASSERT_EQ(s_GameMode, 1);
        GameDisplay& display = *GetGameDisplay();

        // The quit warning from the table's own quit button, which waits while it is up: Yes and No, answered
        // No; the frame that reads the answer removes the box and gives the button back.
        QuitButton* const quit = GetPhysQuitButton();
        ASSERT_NE(quit, nullptr);
        ClickCentre(quit);
        Messagebox* const box = GetQuitWarningBox();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(quit->IsDisabled());
        ASSERT_EQ(box->GetButtonCount(), 2);
        EXPECT_EQ(box->GetText(), GetString(u"QuitGameWarning"));
        const plat::headless::Frame boxFrame = DrawFrame("loop-messagebox.bmp");
        // The physical skin's ring around the box.
        EXPECT_TRUE(Near(PixelAt(boxFrame, (box->GetLeft() + box->GetRight()) / 2, box->GetTop() + 1), 0xf0, 0xd8, 0x90));
        ClickCentre(box->GetButton(1));
        EXPECT_EQ(GetQuitWarningBox(), nullptr);
        EXPECT_FALSE(quit->IsDisabled());

        // The table's quit button: its dark teal label (36, 83, 83) stands out from the face around it.
        const plat::headless::Frame quitFrame = DrawFrame("loop-quit.bmp");
        const std::uint16_t plate = PixelAt(quitFrame, quit->GetLeft() + 6, (quit->GetTop() + quit->GetBottom()) / 2);
        const int faceLuma =
            (299 * (((plate >> 11) & 31) << 3) + 587 * (((plate >> 5) & 63) << 2) + 114 * ((plate & 31) << 3)) / 1000;
        EXPECT_GE(faceLuma - (299 * 36 + 587 * 83 + 114 * 83) / 1000, 90) << "the Quit label is hard to read";

        // A message window of the table: its panel runs on evenly under the top corners and between its tiles.
        const auto askForOk = [&display] {
            display.AddMessageWindow(7, 0, u"Each player starts by drawing seven cards.", 300, 160, nullptr, true, 300,
                                     200, 1, u"psok", u"psokmo", nullptr, 0, 0, 0);
        };
        askForOk();
        TickOnce();
        askForOk();
        const plat::headless::Frame windowFrame = DrawFrame("loop-messagewindow.bmp");
        const OldDialog* const window = display.GetMessageDialog(7);
        const auto luma = [&windowFrame](int x, int y) {
            const std::uint16_t p = PixelAt(windowFrame, x, y);
            return (299 * (((p >> 11) & 31) << 3) + 587 * (((p >> 5) & 63) << 2) + 114 * ((p & 31) << 3)) / 1000;
        };
        const int middle = (window->GetLeft() + window->GetRight()) / 2;
        // Under the top-left corner piece and beside it, 30 pixels down: no step between them.
        EXPECT_LE(std::abs(luma(window->GetLeft() + 16, window->GetTop() + 30) - luma(middle, window->GetTop() + 30)), 12)
            << "a notch under the top corner";
        // Below the text's two lines and left of the OK button, more than one tile high: each row's mean over 40
        // pixels, which evens out the panel's grain, stays level.
        int darkest = 255;
        int brightest = 0;
        for (int y = window->GetTop() + 95; y < window->GetBottom() - 15; ++y) {
            int sum = 0;
            for (int x = middle - 20; x < middle + 20; ++x)
                sum += luma(x, y);
            darkest = std::min(darkest, sum / 40);
            brightest = std::max(brightest, sum / 40);
        }
        EXPECT_LE(brightest - darkest, 6) << "seams across the panel: " << darkest << " to " << brightest;

        // Word balloons pointing down and right, then up and left, answered OK. The tail is a solid wedge past
        // the balloon's edge, not a sliver.
        for (const int side : {POINTER_BOTTOM_RIGHT, POINTER_TOP_LEFT}) {
            SCOPED_TRACE(side);
            auto balloon = std::make_unique<WordBalloon>();
            balloon->SetScaledSize(220, 100);
            balloon->CopyText(u"Your opponent attacks with a creature.");
            balloon->CreateButtons(0);
            balloon->SetPointerSide(side);
            balloon->AutoSize();
            balloon->MoveTo(200, 150, true);
            const plat::headless::Frame bare = DrawFrame("loop-table.bmp");
            display.RegisterWindow(balloon.get());
            ASSERT_GE(balloon->GetPointerTexture(), 0);
            const plat::headless::Frame balloonFrame =
                DrawFrame(side == POINTER_BOTTOM_RIGHT ? "loop-wordballoon.bmp" : "loop-wordballoon-topleft.bmp");
            EXPECT_TRUE(Near(PixelAt(balloonFrame, (balloon->GetLeft() + balloon->GetRight()) / 2,
                                     balloon->GetBottom() - 2),
                             0xd8, 0xc8, 0xf0));
            const int pointerWidth = GetRaster()->GetTextureWidth(balloon->GetPointerTexture());
            const int pointerHeight = GetRaster()->GetTextureHeight(balloon->GetPointerTexture());
            // The area beside the balloon that the tail may cover: right of its bottom corner or left of its top.
            const int reach = pointerWidth - 14;  // past the corner the tail replaces
            const int x0 = side == POINTER_BOTTOM_RIGHT ? balloon->GetRight() : balloon->GetLeft() - reach;
            const int y0 = side == POINTER_BOTTOM_RIGHT ? balloon->GetBottom() - pointerHeight : balloon->GetTop();
            int tailPixels = 0;
            int tailRows = 0;
            for (int y = y0; y < y0 + pointerHeight; ++y) {
                int row = 0;
                for (int x = x0; x < x0 + reach; ++x)
                    row += PixelAt(balloonFrame, x, y) != PixelAt(bare, x, y) ? 1 : 0;
                tailPixels += row;
                tailRows += row > 0 ? 1 : 0;
            }
            EXPECT_GE(tailPixels, reach * pointerHeight / 3);
            EXPECT_GE(tailRows, 16);
            // Past the tail the table shows as without the balloon.
            const int beyondX = side == POINTER_BOTTOM_RIGHT ? x0 + reach + 2 : x0 - 3;
            const int beyondY = side == POINTER_BOTTOM_RIGHT ? y0 + pointerHeight - 2 : y0 + 1;
            EXPECT_EQ(PixelAt(balloonFrame, beyondX, beyondY), PixelAt(bare, beyondX, beyondY));
            ClickCentre(balloon->GetButton(0));
            EXPECT_EQ(balloon->GetAnswer(), 0);
            display.UnregisterWindow(balloon.get());
        }

        // The human's graveyard list, closed by its own button.
        // The cards get a plain red face of the test's own.
        static const std::vector<std::uint16_t> red(16 * 16, 0xF800);
        const int face = display.CreateTextureFromPixels(red.data(), 16, 16, 1);
        std::vector<std::unique_ptr<CardActor>> cards;
        PlayerState& human = *GetPlayerState(0);
        for (int i = 0; i < 5; ++i) {
            cards.emplace_back(SpawnCardActor(human.m_Library[static_cast<std::size_t>(i)], 0));
            ASSERT_NE(cards.back(), nullptr);
            cards.back()->m_Texture = face;
            human.m_Graveyard[static_cast<std::size_t>(i)] = cards.back().get();
        }
        human.m_GraveyardCount = 5;
        OpenGraveyardDialog(0);
        ASSERT_TRUE(IsGraveyardDialogOpen(0));
        GraveyardDialog* list = nullptr;
        for (GUI_Window* const window : GetGUIManager()->GetWindows()) {
            if (auto* const found = WindowCast<GraveyardDialog>(window))
                list = found;
        }
        ASSERT_NE(list, nullptr);
        // Three cards a row, one row shown: the second row is a scroll away.
        list->SetGridSize(3, 1);
        list->MoveTo(300, 250, true);
        EXPECT_EQ(list->GetCardCount(), 5);
        EXPECT_EQ(list->GetTotalRows(), 2);
        const plat::headless::Frame listFrame = DrawFrame("loop-graveyard.bmp");
        const CardWindow* const first = list->GetCardWindow(0);
        ASSERT_FALSE(first->IsHidden());
        EXPECT_TRUE(list->GetCardWindow(3)->IsHidden());
        // The card's face, not the panel, lies inside its window.
        const std::uint16_t panel = PixelAt(listFrame, list->GetLeft() + 8, list->GetBottom() - 8);
        EXPECT_TRUE(Near(PixelAt(listFrame, first->GetLeft() + first->GetWidth() / 2, first->GetTop() + first->GetHeight() / 2),
                         0xf0, 0, 0));
        EXPECT_FALSE(Near(panel, 0xf0, 0, 0));
        EXPECT_NE(PixelAt(listFrame, list->GetScrollDownButton()->GetLeft() + 8, list->GetScrollDownButton()->GetTop() + 8),
                  panel);

        // The Close button stays above the last card of the row.
        EXPECT_EQ(GetGUIManager()->GetWindowAt(list->GetButton(0)->GetLeft() + 4, list->GetButton(0)->GetTop() + 4),
                  list->GetButton(0));

        ClickCentre(list->GetScrollDownButton());
        EXPECT_EQ(list->GetFirstRow(), 1);
        EXPECT_FALSE(list->GetCardWindow(3)->IsHidden());
        DrawFrame("loop-graveyard-scrolled.bmp");
        ClickCentre(list->GetButton(0));
        EXPECT_FALSE(IsGraveyardDialogOpen(0));
        human.m_Graveyard.fill(nullptr);
        human.m_GraveyardCount = 0;

        // Yes leaves the table for the menus.
        ClickCentre(GetPhysQuitButton());
        ASSERT_NE(GetQuitWarningBox(), nullptr);
        ClickCentre(GetQuitWarningBox()->GetButton(0));
        EXPECT_EQ(GetQuitWarningBox(), nullptr);
        EXPECT_EQ(s_RequestedGameMode, 0);
        TickOnce();
        EXPECT_EQ(s_GameMode, 0);
    });
}

} // namespace
