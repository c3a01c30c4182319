// The toolkit fixture with named images (as level scripts name them) and a look at the drawn frame.
#pragma once

#include "tests/gui/GuiFixture.h"

#include "engine/scene/FrameState.h"
#include "engine/scene/ScriptParser.h"

#include <string>
#include <vector>

namespace guitest {

class GameWindowFixture : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        // The frame loop keeps the screen rectangle; game windows are bounded by it.
        GetRaster()->GetScreenRect(s_ScreenRect);
    }
    void TearDown() override
    {
        s_ScreenRect = RasterRect{};
        for (const std::u16string& name : m_Names) {
            RemoveTextureName(name);
        }
        MouseState = MouseRecord{};
        GuiFixture::TearDown();
    }

    // A solid image (0x00RRGGBB) loaded into the registry and entered under the name; its texture id.
    int NamedImage(const std::string& name, int width, int height, std::uint32_t colour)
    {
        const std::string file = name + ".bmp";
        WriteImage(file, width, height, colour);
        const int id = GetGameDisplay()->LoadBitmapTexture(std::u16string(file.begin(), file.end()));
        const std::u16string wide(name.begin(), name.end());
        AddTextureName(wide, id);
        m_Names.push_back(wide);
        return id;
    }

    static void BeginDrawing() { GetRaster()->BeginFrame(); }
    static void EndDrawing()
    {
        GetRaster()->Invalidate();
        GetRaster()->EndFrame();
    }
    static std::uint16_t PixelAt(int x, int y)
    {
        const PixelTarget target = GetRaster()->BackBuffer();
        return target.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.pitch) + static_cast<std::size_t>(x)];
    }
    static std::uint16_t Colour(std::uint32_t rgb)
    {
        return GetRaster()->MakeColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
                                      static_cast<int>(rgb & 0xFF), 255);
    }

    std::vector<std::u16string> m_Names;
};

} // namespace guitest
