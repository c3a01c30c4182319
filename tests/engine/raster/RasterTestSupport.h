// A raster on a tiny headless desktop, for exact-pixel tests.
#pragma once

#include "engine/raster/Raster.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace rastertest {

constexpr plat::DisplayMode Mode565(int width, int height)
{
    return plat::DisplayMode{width, height, 16, 60, 0xF800, 0x07E0, 0x001F};
}

constexpr plat::DisplayMode Mode555(int width, int height)
{
    return plat::DisplayMode{width, height, 16, 60, 0x7C00, 0x03E0, 0x001F};
}

// Starts a raster of its own on a desktop of the given mode with a window of the same client size.
inline std::unique_ptr<Raster> StartRaster(const plat::DisplayMode& mode)
{
    plat::headless::SetDesktopMode(mode);
    plat::WindowDesc desc;
    desc.width = mode.width;
    desc.height = mode.height;
    plat::CreateMainWindow(desc);
    auto raster = std::make_unique<Raster>();
    EXPECT_EQ(raster->Init(mode.width, mode.height, 1024.0f, 768.0f, u"test", 20000.0f, 0, false), 1);
    raster->SetActive(true);
    raster->BeginFrame();
    return raster;
}

// The back buffer, row by row.
inline std::vector<std::uint16_t> Pixels(Raster& raster)
{
    const PixelTarget target = raster.BackBuffer();
    std::vector<std::uint16_t> out;
    for (int y = 0; y < target.height; ++y) {
        out.insert(out.end(), target.pixels + y * target.pitch, target.pixels + y * target.pitch + target.width);
    }
    return out;
}

inline std::uint16_t PixelAt(Raster& raster, int x, int y)
{
    const PixelTarget target = raster.BackBuffer();
    return target.pixels[y * target.pitch + x];
}

// Renders the queued frame (active and invalidated) without presenting it.
inline void Render(Raster& raster)
{
    raster.Invalidate();
    raster.EndFrame();
}

} // namespace rastertest
