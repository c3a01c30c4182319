// GUI_Button's state machine and commands, hit masks and faces; GUI_Label; GUI_TextButton; GUI_Picture.
#include "tests/gui/GuiFixture.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_TextButton.h"

namespace {

using guitest::GuiFixture;

// A screen that records the commands its buttons post.
class CommandScreen : public GUI_Interface {
public:
    bool HandleInput(const GUI_InputEvent& event) override
    {
        if (event.type == GUI_EVENT_COMMAND) {
            commands.push_back(event.sender);
            return true;
        }
        return GUI_Interface::HandleInput(event);
    }
    std::vector<GUI_Window*> commands;
};

class ButtonTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        m_Button = new GUI_Button();
        m_Button->SetRect(100, 100, 160, 130, true);
        m_Screen.AddWindow(m_Button);
        GetGUIManager()->AddInterface(&m_Screen);
    }

    std::string Look() const
    {
        static const char* const NAMES[] = {"up", "down", "over", "disabled"};
        return NAMES[m_Button->GetCurrentLook()];
    }

    CommandScreen m_Screen;
    GUI_Button* m_Button = nullptr;
};

TEST_F(ButtonTest, StateMachineFollowsThePointerAndClicksOnlyWhenReleasedInside)
{
    GUI_Manager* const manager = GetGUIManager();
    const auto down = [&](int x, int y) { manager->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, x, y, GUI_KEY_LBUTTON)); };
    const auto up = [&](int x, int y) { return manager->DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, x, y)); };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* look;
        bool captured;
        std::size_t commands;
    };
    const Step steps[] = {
        {"enter", [&] { MoveTo(110, 110); }, "over", false, 0},
        {"press", [&] { down(110, 110); }, "down", true, 0},
        {"second press changes nothing", [&] { down(111, 111); }, "down", true, 0},
        {"drag off with the left bit", [&] { MoveTo(200, 200, GUI_KEY_LBUTTON); }, "up", true, 0},
        {"drag back in", [&] { MoveTo(120, 120, GUI_KEY_LBUTTON); }, "down", true, 0},
        {"release inside clicks", [&] { up(120, 120); }, "over", false, 1},
        {"press again", [&] { down(120, 120); }, "down", true, 1},
        {"release outside posts nothing", [&] { MoveTo(10, 10, GUI_KEY_LBUTTON); up(10, 10); }, "up", false, 1},
        {"press", [&] { MoveTo(120, 120); down(120, 120); }, "down", true, 1},
        {"a move without the left bit cancels", [&] { MoveTo(121, 121, 0); }, "over", false, 1},
        {"press", [&] { down(120, 120); }, "down", true, 1},
        {"capture loss cancels", [&] { manager->ReleaseCapture(); }, "over", false, 1},
        {"disabling under the cursor", [&] { m_Button->SetDisabled(true); }, "disabled", false, 1},
        {"a disabled button ignores presses", [&] { down(120, 120); }, "disabled", false, 1},
        {"re-enabling under the cursor shows mouse-over", [&] { m_Button->SetDisabled(false); }, "over", false, 1},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Look(), step.look) << step.what;
        EXPECT_EQ(m_Button->IsCaptured(), step.captured) << step.what;
        EXPECT_EQ(m_Screen.commands.size(), step.commands) << step.what;
    }
    ASSERT_FALSE(m_Screen.commands.empty());
    EXPECT_EQ(m_Screen.commands[0], m_Button);
}

TEST_F(ButtonTest, AReleaseIsHandledOnlyByTheButtonItBelongsTo)
{
    // Two registered buttons: a release over the second reaches it although the first is on top.
    GUI_Manager* const manager = GetGUIManager();
    GUI_Button other;
    other.SetRect(0, 0, 40, 40, true);
    GUI_Button top;
    top.SetRect(200, 0, 240, 40, true);
    manager->RegisterWindow(&other);
    manager->RegisterWindow(&top);
    EXPECT_FALSE(top.HandleInput(Mouse(GUI_MOUSE_LEFT_UP, 10, 10)));
    EXPECT_TRUE(other.HandleInput(Mouse(GUI_MOUSE_LEFT_UP, 10, 10)));
    manager->UnregisterWindow(&other);
    manager->UnregisterWindow(&top);
}

TEST_F(ButtonTest, HitMaskMissesBlackPixelsAndKeepsItsPlace)
{
    // A 4 x 2 mask, rows from the top: top row white, white, black, black; bottom row black, black, white, white.
    const std::vector<std::uint8_t> rows = {
        // Bottom row first, 3 bytes a pixel, 12 bytes a row.
        0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255,
        255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0,
    };
    Write("mask.bmp", test::BmpFile(4, 2, 24, {}, rows));
    GUI_Button button;
    button.SetRect(10, 10, 14, 12, true);
    button.SetUseHitMask(true);
    button.m_HitMaskAlignH = 0;
    button.m_HitMaskAlignV = 0;
    button.LoadHitMask(u"mask.bmp", true);
    ASSERT_TRUE(button.HasHitMask());
    struct Case {
        int x, y;
        bool hit;
    };
    for (const Case c : {Case{10, 10, true}, Case{11, 10, true}, Case{12, 10, false}, Case{10, 11, false},
                         Case{13, 11, true}, Case{14, 11, false}}) {
        EXPECT_EQ(button.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
    GUI_System::SetPixelHitTestEnabled(false);
    EXPECT_TRUE(button.HitTest(12, 10));
    GUI_System::SetPixelHitTestEnabled(true);
    // Stretched over a window twice as wide, each mask pixel covers two.
    button.SetRect(10, 10, 18, 12, true);
    button.m_HitMaskStretchH = 1;
    EXPECT_TRUE(button.HitTest(13, 10));
    EXPECT_FALSE(button.HitTest(14, 10));
    // Alignment 2 in a window narrower than the mask keeps the mask at the left.
    button.m_HitMaskStretchH = 0;
    button.m_HitMaskAlignH = 2;
    button.SetRect(10, 10, 12, 12, true);
    EXPECT_TRUE(button.HitTest(10, 10));
    // A missing mask file leaves no mask: every point hits.
    button.LoadHitMask(u"none.bmp", true);
    EXPECT_FALSE(button.HasHitMask());
}

TEST_F(ButtonTest, FacesDrawTheLookOfTheStateClippedAndAligned)
{
    WriteImage("up.bmp", 20, 10, 0xFF0000);
    WriteImage("down.bmp", 20, 10, 0x0000FF);
    // Columns of different colours so that the part shown can be told: left 10 red, right 10 green.
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool left = x < 10;
            rows.insert(rows.end(), {0, static_cast<std::uint8_t>(left ? 0 : 255), static_cast<std::uint8_t>(left ? 255 : 0)});
        }
    }
    Write("wide.bmp", test::BmpFile(20, 4, 24, {}, rows));
    GUI_Button button;
    button.SetBorderMode(BORDER_NONE);
    button.SetRect(0, 0, 10, 4, true);
    button.GetLook(LOOK_UP).backgroundAlpha = false;
    button.SetUpImage(u"wide.bmp", true);
    Raster* const raster = GetRaster();
    raster->BeginFrame();
    button.Draw();
    raster->Invalidate();
    raster->EndFrame();
    // Clip on and centred: the middle of the image (columns 5-14) shows, so red then green.
    const PixelTarget target = raster->BackBuffer();
    EXPECT_EQ(target.pixels[0], raster->MakeColor(255, 0, 0, 255));
    EXPECT_EQ(target.pixels[9], raster->MakeColor(0, 255, 0, 255));
}

TEST_F(ButtonTest, LabelAlignmentCodesAndFitToText)
{
    EXPECT_EQ(GUI_Label::GetAlignmentCode(0, 0), 0);
    EXPECT_EQ(GUI_Label::GetAlignmentCode(2, 1), 5);
    EXPECT_EQ(GUI_Label::GetAlignmentCode(1, 2), 7);
    EXPECT_EQ(GUI_Label::GetAlignmentCode(3, 0), 9);
    EXPECT_EQ(GUI_Label::GetAlignmentCode(0, -1), 9);

    GUI_Label label;
    label.SetRect(100, 50, 300, 90, true);
    label.SetAlignment(2, 0);
    label.SetText(u"Hello");
    label.FitToText();
    int width = 0, height = 0, ascent = 0;
    GetRaster()->MeasureText(u"Hello", LABEL_DEFAULT_FONT, width, height, ascent);
    EXPECT_GT(width, 0);
    // Alignment 2 keeps the right edge and grows to the left.
    EXPECT_EQ(label.GetRight(), 300);
    EXPECT_EQ(label.GetLeft(), 300 - width);
    EXPECT_EQ(label.GetTop(), 50);
    EXPECT_EQ(label.GetHeight(), GetRaster()->GetFontHeight(LABEL_DEFAULT_FONT));

    // A text after a key shows the text; the key stays for saving.
    label.SetTextID(u"STR_OK");
    EXPECT_EQ(label.GetResolvedText(), u"STR_OK");
    label.SetText(u"literal");
    EXPECT_EQ(label.GetResolvedText(), u"literal");
    EXPECT_EQ(label.GetTextID(), u"STR_OK");
    label.SetText(u"");
    EXPECT_TRUE(label.GetResolvedText().empty());

    // Margins from a damaged layout record are kept within the coordinate range: fitting never overflows.
    label.SetText(u"Hello");
    label.SetMargins(2000000000, -2000000000, 2000000000, 2000000000);
    label.FitToText();
    EXPECT_LE(label.GetRight(), 10000000);
    EXPECT_GE(label.GetLeft(), -10000000);
}

TEST_F(ButtonTest, TextButtonTintsItsTextByStateAndKeepsItsOwnColour)
{
    GUI_TextButton button;
    button.SetRect(0, 0, 80, 20, true);
    button.SetTextColour({1, 2, 3, 255});
    EXPECT_FALSE(button.IsMouseTransparent());
    EXPECT_EQ(button.GetStateTextColour(), (GUI_Colour{1, 2, 3, 255}));
    button.OnMouseEnter();
    EXPECT_EQ(button.GetStateTextColour(), (GUI_Colour{192, 240, 240, 255}));
    button.SetDisabled(true);
    EXPECT_EQ(button.GetStateTextColour(), (GUI_Colour{192, 192, 192, 255}));
    button.SetText(u"Go");
    button.Draw();
    EXPECT_EQ(button.GetTextColour(), (GUI_Colour{1, 2, 3, 255}));
}

TEST_F(ButtonTest, PictureRectanglesForNaturalSizeInNarrowAndWideWindows)
{
    WriteImage("pic.bmp", 100, 30, 0x123456);
    struct Case {
        int width;
        int alignment;
        RasterRect destination;
        RasterRect source;
    };
    const Case cases[] = {
        // 100 in 60, centred: source columns 20 to 80 across the whole window.
        {60, 1, {10, 0, 70, 30}, {20, 0, 80, 30}},
        // 100 in 200, centred: drawn at left + 50 at its natural width.
        {200, 1, {60, 0, 160, 30}, {0, 0, 100, 30}},
        {60, 2, {10, 0, 70, 30}, {40, 0, 100, 30}},
        {60, 0, {10, 0, 70, 30}, {0, 0, 60, 30}},
        {200, 2, {110, 0, 210, 30}, {0, 0, 100, 30}},
    };
    for (const Case& c : cases) {
        GUI_Picture picture;
        picture.SetRect(10, 0, 10 + c.width, 30, true);
        picture.m_bImageStretchH = false;
        picture.m_HorizontalAlignment = c.alignment;
        picture.SetImage(u"pic.bmp", true);
        RasterRect destination;
        RasterRect source;
        ASSERT_TRUE(picture.ComputeRects(destination, source));
        EXPECT_EQ(destination.left, c.destination.left) << c.width << " " << c.alignment;
        EXPECT_EQ(destination.right, c.destination.right) << c.width << " " << c.alignment;
        EXPECT_EQ(source.left, c.source.left) << c.width << " " << c.alignment;
        EXPECT_EQ(source.right, c.source.right) << c.width << " " << c.alignment;
    }
    GUI_Picture empty;
    RasterRect d;
    RasterRect s;
    EXPECT_FALSE(empty.ComputeRects(d, s));
    // A picture never becomes the hovered window.
    GUI_Interface screen;
    auto* picture = new GUI_Picture();
    picture->SetRect(0, 0, 50, 50, true);
    screen.AddWindow(picture);
    GetGUIManager()->AddInterface(&screen);
    MoveTo(10, 10);
    EXPECT_EQ(GetGUIManager()->GetHoverWindow(), nullptr);
}

} // namespace
