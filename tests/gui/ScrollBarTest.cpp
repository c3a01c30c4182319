// GUI_ScrollBar: thumb size and place, paging, dragging and the auto-repeat on the stepped clock; image elements.
#include "tests/gui/GuiFixture.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_ImageElement.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_ScrollBar.h"

namespace {

using guitest::GuiFixture;

// A track of 20 x 140 at (200, 20) with 20-pixel arrows at its ends: the thumb moves in 40 .. 140.
class ScrollBarTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        m_Track = Part(200, 20, 220, 160);
        m_Up = Part(200, 20, 220, 40);
        m_Down = Part(200, 140, 220, 160);
        m_Thumb = Part(202, 40, 218, 60);
        GetGUIManager()->AddInterface(&m_Screen);
        m_Bar = std::make_unique<GUI_ScrollBar>(m_Up, m_Down, m_Track, m_Thumb);
        m_Bar->UpdateThumb();
    }

    GUI_Button* Part(int l, int t, int r, int b)
    {
        auto* button = new GUI_Button();
        button->SetBorderMode(BORDER_NONE);
        button->SetRect(l, t, r, b, true);
        button->SaveDesignRect();
        m_Screen.AddWindow(button);
        return button;
    }

    // The owner offers every event to the bar before its own handling.
    void Offer(const GUI_InputEvent& event)
    {
        if (!m_Bar->HandleInput(event))
            GetGUIManager()->DispatchEvent(event);
    }

    void Frames(int count, std::uint32_t ms)
    {
        for (int i = 0; i < count; ++i) {
            plat::headless::AdvanceTime(ms);
            m_Bar->Update();
        }
    }

    GUI_Interface m_Screen;
    GUI_Button* m_Track = nullptr;
    GUI_Button* m_Up = nullptr;
    GUI_Button* m_Down = nullptr;
    GUI_Button* m_Thumb = nullptr;
    std::unique_ptr<GUI_ScrollBar> m_Bar;
};

TEST_F(ScrollBarTest, ThumbSizeAndPlaceFollowPositionMaximumAndPageSize)
{
    EXPECT_EQ(m_Bar->GetRangeTop(), 40);
    EXPECT_EQ(m_Bar->GetRangeBottom(), 140);
    struct Case {
        int maximum;
        int position;
        float page;
        int top;
        int height;
    };
    const Case cases[] = {
        {10, 0, 10.0f, 40, 24},   // a 100-pixel range at 10 % is 24 pixels (the minimum), not 10
        {10, 10, 10.0f, 116, 24},
        {10, 5, 50.0f, 65, 50},
        {0, 0, 10.0f, 40, 24},    // maximum 0: the thumb sits at the top
        {10, 30, 10.0f, 116, 24}, // beyond the maximum: drawn at the range's end
    };
    for (const Case& c : cases) {
        m_Bar->SetMaximum(c.maximum);
        m_Bar->SetPageSize(c.page);
        m_Bar->SetPosition(c.position);
        EXPECT_EQ(m_Thumb->GetTop(), c.top) << c.maximum << " " << c.position;
        EXPECT_EQ(m_Thumb->GetHeight(), c.height) << c.maximum << " " << c.position;
        EXPECT_EQ(m_Thumb->GetLeft(), 202);
    }
    m_Bar->SetMaximum(4);
    EXPECT_EQ(m_Bar->GetPosition(), 4);
    m_Bar->SetMaximum(0);
    m_Bar->SetPosition(0);
    EXPECT_TRUE(m_Bar->OnButtonClick(m_Down, 0, 0));
    EXPECT_TRUE(m_Bar->OnButtonClick(m_Up, 0, 0));
    EXPECT_EQ(m_Bar->GetPosition(), 0);
}

// The down arrow keeps its designed distance above the track's bottom, inside the track, and the thumb's range
// ends at the arrow's top: with the distance counted the other way the arrow would hang below the track and the
// thumb would run over it.
TEST_F(ScrollBarTest, TheDownArrowStaysInsideTheTrackWhenItIsResized)
{
    struct Case {
        int top;
        int bottom;
    };
    const Case cases[] = {{20, 160}, {20, 300}, {50, 130}, {10, 400}};
    for (const Case& c : cases) {
        m_Track->SetRect(200, c.top, 220, c.bottom, true);
        m_Bar->SetMaximum(10);
        m_Bar->SetPosition(10);
        m_Bar->Layout();
        EXPECT_EQ(m_Down->GetBottom(), c.bottom) << c.top << "-" << c.bottom;
        EXPECT_EQ(m_Down->GetTop(), c.bottom - 20) << c.top << "-" << c.bottom;
        EXPECT_EQ(m_Up->GetTop(), c.top) << c.top << "-" << c.bottom;
        EXPECT_EQ(m_Bar->GetRangeBottom(), m_Down->GetTop()) << c.top << "-" << c.bottom;
        EXPECT_LE(m_Thumb->GetBottom(), m_Down->GetTop()) << c.top << "-" << c.bottom;
        EXPECT_GE(m_Thumb->GetTop(), m_Up->GetBottom()) << c.top << "-" << c.bottom;
    }
}

TEST_F(ScrollBarTest, HoldingTheDownArrowStepsAtPressAfter500MsAndEvery100Ms)
{
    m_Bar->SetMaximum(100);
    MoveTo(210, 150);
    Offer(Mouse(GUI_MOUSE_LEFT_DOWN, 210, 150, GUI_KEY_LBUTTON));
    EXPECT_EQ(m_Bar->GetPosition(), 1);
    Frames(24, 20);  // 480 ms
    EXPECT_EQ(m_Bar->GetPosition(), 1);
    Frames(1, 20);   // 500 ms
    EXPECT_EQ(m_Bar->GetPosition(), 2);
    Frames(5, 20);   // 600 ms
    EXPECT_EQ(m_Bar->GetPosition(), 3);
    Frames(10, 20);  // 800 ms
    EXPECT_EQ(m_Bar->GetPosition(), 5);
    // Off the arrow the button is no longer pressed: no steps, but the hold stays.
    MoveTo(100, 100, GUI_KEY_LBUTTON);
    Frames(10, 20);
    EXPECT_EQ(m_Bar->GetPosition(), 5);
    EXPECT_EQ(m_Bar->GetHeldButton(), m_Down);
    Offer(Mouse(GUI_MOUSE_LEFT_UP, 100, 100));
    EXPECT_EQ(m_Bar->GetHeldButton(), nullptr);
    Frames(10, 100);
    EXPECT_EQ(m_Bar->GetPosition(), 5);
}

TEST_F(ScrollBarTest, TrackClicksPageAndTheThumbDrags)
{
    m_Bar->SetMaximum(10);
    m_Bar->SetPageStep(3);
    m_Bar->SetPosition(5);
    const int thumbTop = m_Thumb->GetTop();
    // Above the thumb pages up once at the press.
    MoveTo(210, 45);
    Offer(Mouse(GUI_MOUSE_LEFT_DOWN, 210, 45, GUI_KEY_LBUTTON));
    EXPECT_EQ(m_Bar->GetPosition(), 2);
    Offer(Mouse(GUI_MOUSE_LEFT_UP, 210, 45));
    // Below it pages down.
    MoveTo(210, 139);
    Offer(Mouse(GUI_MOUSE_LEFT_DOWN, 210, 139, GUI_KEY_LBUTTON));
    EXPECT_EQ(m_Bar->GetPosition(), 5);
    Offer(Mouse(GUI_MOUSE_LEFT_UP, 210, 139));
    EXPECT_EQ(m_Thumb->GetTop(), thumbTop);

    // Drag the thumb by its middle to the bottom of the range and past it.
    const int grabY = m_Thumb->GetTop() + 5;
    MoveTo(210, grabY);
    Offer(Mouse(GUI_MOUSE_LEFT_DOWN, 210, grabY, GUI_KEY_LBUTTON));
    ASSERT_TRUE(m_Thumb->IsCaptured());
    Offer(Mouse(GUI_MOUSE_MOVE, 210, 400, GUI_KEY_LBUTTON));
    EXPECT_EQ(m_Thumb->GetTop(), 140 - 24);
    EXPECT_EQ(m_Bar->GetPosition(), 10);
    Offer(Mouse(GUI_MOUSE_MOVE, 210, 45, GUI_KEY_LBUTTON));
    EXPECT_EQ(m_Thumb->GetTop(), 40);
    EXPECT_EQ(m_Bar->GetPosition(), 0);
    Offer(Mouse(GUI_MOUSE_LEFT_UP, 300, 300));
    EXPECT_FALSE(m_Thumb->IsCaptured());
    EXPECT_EQ(GetGUIManager()->GetCaptureWindow(), nullptr);
}

TEST_F(ScrollBarTest, ImageElementsCutAtNaturalSizeAndTileInModeTwo)
{
    // Left half red, right half green, 8 x 2.
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 8; ++x)
            rows.insert(rows.end(), {0, static_cast<std::uint8_t>(x < 4 ? 0 : 255), static_cast<std::uint8_t>(x < 4 ? 255 : 0)});
    }
    Write("halves.bmp", test::BmpFile(8, 2, 24, {}, rows));
    const int texture = GUI_System::LoadBitmap(u"halves.bmp", false);
    ASSERT_GE(texture, 0);
    Raster* const raster = GetRaster();
    const std::uint16_t red = raster->MakeColor(255, 0, 0, 255);
    const std::uint16_t green = raster->MakeColor(0, 255, 0, 255);
    struct Case {
        int mode;
        int width;
        std::vector<std::uint16_t> row;  // the first 12 pixels of row 0
    };
    const Case cases[] = {
        {SIZE_MODE_NATURAL, 3, {red, red, red, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {SIZE_MODE_TILE, 12, {red, red, red, red, green, green, green, green, red, red, red, red}},
    };
    for (const Case& c : cases) {
        raster->BeginFrame();
        raster->ClearBackBuffer(0);
        GUI_ImageElement element;
        element.Set(texture, 0, 0, 8, 2, c.mode, c.mode);
        element.SetRect(0, 0, c.width, 2);
        element.Draw();
        raster->Invalidate();
        raster->EndFrame();
        const PixelTarget target = raster->BackBuffer();
        const std::vector<std::uint16_t> row(target.pixels, target.pixels + 12);
        EXPECT_EQ(row, c.row) << c.mode;
    }
    GUI_System::ReleaseTexture(texture);
}

} // namespace
