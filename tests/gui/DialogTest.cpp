// Dialog: staying inside the screen, dragging by the drag area, centring, the nine-piece frame, and the
// window registry's front order.
#include "tests/gui/GuiFixture.h"

#include "engine/scene/FrameState.h"
#include "gui/Dialog.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

using guitest::GuiFixture;

class DialogTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        s_ScreenRect = {0, 0, guitest::SCREEN_WIDTH, guitest::SCREEN_HEIGHT};
    }
    void TearDown() override
    {
        s_ScreenRect = RasterRect{};
        GuiFixture::TearDown();
    }
    static GUI_InputEvent Press(int x, int y) { return Mouse(GUI_MOUSE_LEFT_DOWN, x, y, GUI_KEY_LBUTTON); }
};

TEST_F(DialogTest, SetRectCutsToTheScreenAndMovesBackInside)
{
    struct Case {
        const char* what;
        RasterRect in;
        RasterRect out;
    };
    const Case cases[] = {
        {"inside stays", {10, 20, 110, 120}, {10, 20, 110, 120}},
        {"wider than the screen is cut", {0, 0, 500, 50}, {0, 0, 320, 50}},
        {"taller than the screen is cut", {5, 5, 50, 900}, {5, 0, 50, 240}},
        {"beyond the right moves left", {300, 10, 400, 60}, {220, 10, 320, 60}},
        {"beyond the bottom moves up", {10, 200, 60, 300}, {10, 140, 60, 240}},
        {"negative left and top move to 0", {-30, -7, 20, 13}, {0, 0, 50, 20}},
        {"wide and off to the left", {-100, 0, 900, 10}, {0, 0, 320, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog dialog(DIALOG_KIND_MESSAGEBOX);
        auto* child = new GUI_Window(c.in.left + 1, c.in.top + 1, c.in.left + 5, c.in.top + 5);
        dialog.AddChild(child);
        dialog.SetRect(c.in.left, c.in.top, c.in.right, c.in.bottom, true);
        EXPECT_EQ(dialog.GetLeft(), c.out.left);
        EXPECT_EQ(dialog.GetTop(), c.out.top);
        EXPECT_EQ(dialog.GetRight(), c.out.right);
        EXPECT_EQ(dialog.GetBottom(), c.out.bottom);
        // Children follow the move back inside.
        EXPECT_EQ(child->GetLeft() - dialog.GetLeft(), 1);
        EXPECT_EQ(child->GetTop() - dialog.GetTop(), 1);
    }
}

TEST_F(DialogTest, CenterOnScreenUsesTheScreenSize)
{
    s_ScreenRect = {0, 0, 800, 600};
    Dialog dialog(DIALOG_KIND_MESSAGEBOX);
    dialog.SetRect(0, 0, 300, 200, true);
    dialog.CenterOnScreen();
    EXPECT_EQ(dialog.GetLeft(), 250);
    EXPECT_EQ(dialog.GetTop(), 200);
    EXPECT_EQ(dialog.GetWidth(), 300);
}

TEST_F(DialogTest, DraggingByTheDragAreaStaysInsideTheScreen)
{
    Dialog dialog(DIALOG_KIND_MESSAGEBOX);
    dialog.SetRect(100, 100, 200, 160, true);
    GetGameDisplay()->RegisterWindow(&dialog);
    const RasterRect strip{0, 0, 100, 10};
    dialog.SetDragArea(&strip);

    // A press below the strip does not drag.
    GetGUIManager()->DispatchEvent(Press(150, 130));
    EXPECT_FALSE(dialog.IsDragging());
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, 150, 130));

    GetGUIManager()->DispatchEvent(Press(110, 105));
    ASSERT_TRUE(dialog.IsDragging());
    EXPECT_EQ(GetGUIManager()->GetCaptureWindow(), &dialog);

    struct Step {
        int x, y;
        int left, top;
    };
    const Step steps[] = {
        {130, 125, 120, 120},     // follows the pointer less the press offset
        {-50, -50, 0, 0},         // stops at the top-left
        {1000, 1000, 220, 180},   // stops at the bottom-right
        {319, 5, 220, 0},
    };
    for (const Step& s : steps) {
        GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, s.x, s.y, GUI_KEY_LBUTTON));
        EXPECT_EQ(dialog.GetLeft(), s.left) << s.x << "," << s.y;
        EXPECT_EQ(dialog.GetTop(), s.top) << s.x << "," << s.y;
        EXPECT_EQ(dialog.GetWidth(), 100);
    }
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, 319, 5));
    EXPECT_FALSE(dialog.IsDragging());
    EXPECT_EQ(GetGUIManager()->GetCaptureWindow(), nullptr);

    // A move without the left button ends a drag.
    GetGUIManager()->DispatchEvent(Press(225, 3));
    ASSERT_TRUE(dialog.IsDragging());
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, 100, 100, 0));
    EXPECT_FALSE(dialog.IsDragging());
    EXPECT_EQ(dialog.GetLeft(), 220);
    GetGameDisplay()->UnregisterWindow(&dialog);
}

TEST_F(DialogTest, APressBringsTheDialogToTheFrontWithoutADragArea)
{
    Dialog back(DIALOG_KIND_MESSAGEBOX);
    Dialog front(DIALOG_KIND_MESSAGEBOX);
    back.SetRect(0, 0, 100, 100, true);
    front.SetRect(150, 0, 250, 100, true);
    GameDisplay* const display = GetGameDisplay();
    display->RegisterWindow(&back);
    display->RegisterWindow(&front);
    ASSERT_EQ(GetGUIManager()->GetWindows().back(), &front);

    GetGUIManager()->DispatchEvent(Press(50, 50));
    EXPECT_EQ(GetGUIManager()->GetWindows().back(), &back);
    EXPECT_FALSE(back.IsDragging());
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, 90, 90, GUI_KEY_LBUTTON));
    EXPECT_EQ(back.GetLeft(), 0);

    // A press on a child of a dialog brings the dialog forward.
    auto* child = new GUI_Window(160, 10, 170, 20);
    front.AddChild(child);
    display->BringWindowToFront(child);
    EXPECT_EQ(GetGUIManager()->GetWindows().back(), &front);
    display->UnregisterWindow(&back);
}

TEST_F(DialogTest, ADialogDeletedWhileShownLeavesTheRegistry)
{
    auto dialog = std::make_unique<Dialog>(DIALOG_KIND_MESSAGEBOX);
    GetGameDisplay()->RegisterWindow(dialog.get());
    const GUI_Window* const address = dialog.get();
    dialog.reset();
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(address));
    EXPECT_FALSE(GetGUIManager()->IsRegistered(address));
}

TEST_F(DialogTest, RegisteringAsksForLayoutOnceAndTheFrameDrawsOnlyItsPieces)
{
    WriteImage("corner.bmp", 4, 4, 0xFF0000);
    // Edges and centre as large as the dialog, so that each tiled piece is one tile.
    WriteImage("across.bmp", 50, 4, 0x00FF00);
    WriteImage("down.bmp", 4, 50, 0x0000FF);
    WriteImage("centre.bmp", 50, 50, 0xFFFFFF);
    GameDisplay* const display = GetGameDisplay();
    const int corner = display->LoadBitmapTexture(u"corner.bmp");
    const int across = display->LoadBitmapTexture(u"across.bmp");
    const int down = display->LoadBitmapTexture(u"down.bmp");
    const int centre = display->LoadBitmapTexture(u"centre.bmp");
    ASSERT_GE(std::min({corner, across, down, centre}), 0);

    struct Case {
        const char* what;
        std::array<int, FRAME_PIECE_COUNT> pieces;
        int queued;
    };
    const Case cases[] = {
        {"no pieces", {-1, -1, -1, -1, -1, -1, -1, -1, -1}, 0},
        {"corners only", {corner, corner, corner, corner, -1, -1, -1, -1, -1}, 4},
        {"all nine", {corner, corner, corner, corner, across, across, down, down, centre}, 9},
    };
    Raster* const raster = GetRaster();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog dialog(DIALOG_KIND_MESSAGEBOX);
        dialog.SetBorderMode(BORDER_NONE);
        dialog.SetDrawBackground(false);
        dialog.SetRect(10, 10, 60, 60, true);
        const auto& p = c.pieces;
        dialog.SetFrameTextures(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]);
        raster->BeginFrame();
        const int before = raster->GetQueuedCount();
        dialog.Draw();
        EXPECT_EQ(raster->GetQueuedCount() - before, c.queued);
        EXPECT_FALSE(dialog.NeedsLayout());
        raster->EndFrame();
    }

    Dialog dialog(DIALOG_KIND_MESSAGEBOX);
    dialog.Draw();
    GetGameDisplay()->RegisterWindow(&dialog);
    EXPECT_TRUE(dialog.NeedsLayout());
    dialog.Draw();
    GetGameDisplay()->RegisterWindow(&dialog);
    EXPECT_FALSE(dialog.NeedsLayout());  // already shown: not laid out again
    GetGameDisplay()->UnregisterWindow(&dialog);
}

} // namespace
