// The message-box skins the build ships, drawn by the toolkit: rounded corners let the table show through, the
// ring reads on its sides, and the panel under the text is dark enough for the boxes' white text.
#include "tests/gui/GuiFixture.h"

#include "engine/scene/FrameState.h"
#include "gui/WordBalloon.h"
#include "platform/Headless.h"

#include <cstdlib>
#include <cmath>
#include <string>

namespace guitest {
namespace {

struct ShippedSkin {
    const char16_t* file;
    const char* frame;
    int panelR, panelG, panelB;
    int ringR, ringG, ringB;
};

constexpr ShippedSkin SKINS[] = {
    {u"GUI\\Skins\\Physical.skn", "skin-physical.bmp", 0x1d, 0x2b, 0x3a, 0xf0, 0xd8, 0x90},
    {u"GUI\\Skins\\Online.skn", "skin-online.bmp", 0x14, 0x28, 0x4a, 0xee, 0xf0, 0xf6},
    {u"GUI\\Skins\\WordBalloon.skn", "skin-balloon.bmp", 0x2e, 0x21, 0x45, 0xd8, 0xc8, 0xf0},
};

// Channels of a 5-6-5 pixel widened back to 8 bits.
void Channels(std::uint16_t pixel, int& r, int& g, int& b)
{
    r = ((pixel >> 11) & 31) << 3;
    g = ((pixel >> 5) & 63) << 2;
    b = (pixel & 31) << 3;
}

int Luma(std::uint16_t pixel)
{
    int r = 0, g = 0, b = 0;
    Channels(pixel, r, g, b);
    return (299 * r + 587 * g + 114 * b) / 1000;
}

class ShippedSkinsTest : public GuiFixture {};

TEST_F(ShippedSkinsTest, EachSkinDrawsAFinishedFrameAroundADarkPanel)
{
    const std::string data = std::string(TESSEL_GAME_DIR) + "/data";
    const std::u16string folder(data.begin(), data.end());
    GUI_System::SetDataDirectory(folder.c_str());
    const char* const saveTo = std::getenv("TESSEL_SAVE_FRAMES");
    Raster* const raster = GetRaster();
    const std::uint16_t table = raster->MakeColor(30, 110, 40, 255);
    for (const ShippedSkin& skin : SKINS) {
        SCOPED_TRACE(skin.frame);
        GUI_Window window(GUI_KIND_WINDOW);
        window.SetRect(40, 30, 280, 130, true);
        window.SetSkin(skin.file, true, false);
        window.SetBorderMode(BORDER_SKIN);
        ASSERT_NE(window.GetPieces()[PIECE_CENTER].element, nullptr);

        raster->BeginFrame();
        raster->ClearBackBuffer(table);
        window.Draw();
        raster->Invalidate();
        raster->EndFrame();
        const PixelTarget target = raster->BackBuffer();
        const auto at = [&target](int x, int y) { return target.pixels[static_cast<std::size_t>(y * target.width + x)]; };

        // The outermost corner pixel is keyed out; the middle of each side is the ring, not the table.
        EXPECT_EQ(at(40, 30), table);
        EXPECT_EQ(at(279, 129), table);
        for (const auto& [x, y] : {std::pair{160, 31}, std::pair{41, 80}, std::pair{278, 80}, std::pair{160, 128}}) {
            int r = 0, g = 0, b = 0;
            Channels(at(x, y), r, g, b);
            EXPECT_NEAR(r, skin.ringR, 8) << x << "," << y;
            EXPECT_NEAR(g, skin.ringG, 8) << x << "," << y;
            EXPECT_NEAR(b, skin.ringB, 8) << x << "," << y;
        }
        // White text on the panel keeps a strong contrast.
        const std::uint16_t panel = at(160, 80);
        int r = 0, g = 0, b = 0;
        Channels(panel, r, g, b);
        EXPECT_NEAR(r, skin.panelR, 16);
        EXPECT_NEAR(g, skin.panelG, 16);
        EXPECT_NEAR(b, skin.panelB, 16);
        EXPECT_LT(Luma(panel), 70);

        if (saveTo != nullptr) {
            raster->Present(false);
            plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(saveTo) + "/" + skin.frame);
        }
    }
}

// The balloon's text reaches 4 pixels into its frame pieces: its ring lies further out, and a band of panel
// keeps the text and the buttons laid out along the text area off it.
TEST_F(ShippedSkinsTest, TheBalloonsRingKeepsClearOfItsTextArea)
{
    const std::string data = std::string(TESSEL_GAME_DIR) + "/data";
    const std::u16string folder(data.begin(), data.end());
    GUI_System::SetDataDirectory(folder.c_str());
    Raster* const raster = GetRaster();
    s_ScreenRect = RasterRect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    WordBalloon balloon;
    balloon.SetRect(40, 30, 280, 130, true);
    raster->BeginFrame();
    raster->ClearBackBuffer(raster->MakeColor(30, 110, 40, 255));
    balloon.Draw();
    raster->Invalidate();
    raster->EndFrame();
    const PixelTarget target = raster->BackBuffer();
    const auto panelAt = [&target](int x, int y) {
        int r = 0, g = 0, b = 0;
        Channels(target.pixels[static_cast<std::size_t>(y * target.width + x)], r, g, b);
        return std::abs(r - 0x2e) <= 16 && std::abs(g - 0x21) <= 16 && std::abs(b - 0x45) <= 16;
    };
    const RasterRect& text = balloon.GetTextRect();
    ASSERT_TRUE(text.left > 40 && text.right < 280 && text.top > 30 && text.bottom < 130)
        << text.left << "," << text.top << " " << text.right << "," << text.bottom;
    const int midX = (text.left + text.right) / 2;
    const int midY = (text.top + text.bottom) / 2;
    for (int gap = 1; gap <= 3; ++gap) {
        EXPECT_TRUE(panelAt(text.left - gap, midY)) << "left, " << gap;
        EXPECT_TRUE(panelAt(text.right - 1 + gap, midY)) << "right, " << gap;
        EXPECT_TRUE(panelAt(midX, text.top - gap)) << "top, " << gap;
        EXPECT_TRUE(panelAt(midX, text.bottom - 1 + gap)) << "bottom, " << gap;
    }
    s_ScreenRect = RasterRect{};
}

} // namespace
} // namespace guitest
