// A scene on a small headless desktop: display, private heap, command map and actor registry fresh for each
// test, with its files in a temporary current folder; and builders of the image files the loaders read.
#pragma once

#include "engine/core/PrivateHeap.h"
#include "engine/core/QuitRequest.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

inline void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// A .chp file: frame f has every pixel set to first + f.
inline std::vector<std::uint8_t> ChpFile(int width, int height, int frames, std::uint16_t first = 0x7C00)
{
    std::vector<std::uint8_t> out;
    PutU32(out, 0);
    PutU16(out, static_cast<std::uint32_t>(frames));
    PutU16(out, static_cast<std::uint32_t>(width));
    PutU16(out, static_cast<std::uint32_t>(height));
    for (int f = 0; f < frames; ++f) {
        for (int i = 0; i < width * height; ++i) {
            PutU16(out, static_cast<std::uint16_t>(first + f));
        }
    }
    return out;
}

struct SpriteFrameSpec {
    int width;
    int height;
    std::uint16_t colour;
};

// A sprite pack with its frames after the offset table; odd pads one byte before the frames.
inline std::vector<std::uint8_t> SpritePack(const std::vector<SpriteFrameSpec>& frames, bool odd = false)
{
    std::vector<std::uint8_t> out;
    PutU32(out, static_cast<std::uint32_t>(frames.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(4 + 4 * frames.size() + (odd ? 1 : 0));
    for (const SpriteFrameSpec& frame : frames) {
        PutU32(out, offset);
        offset += 8 + static_cast<std::uint32_t>(frame.width * frame.height * 2);
    }
    if (odd) {
        out.push_back(0);
    }
    for (const SpriteFrameSpec& frame : frames) {
        PutU16(out, static_cast<std::uint32_t>(frame.width));
        PutU16(out, static_cast<std::uint32_t>(frame.height));
        PutU32(out, 0);
        for (int i = 0; i < frame.width * frame.height; ++i) {
            PutU16(out, frame.colour);
        }
    }
    return out;
}

// A bottom-up .bmp with a 40-byte header; pixel bytes are given row by row from the bottom, padding included.
inline std::vector<std::uint8_t> BmpFile(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                                         const std::vector<std::uint8_t>& rows, std::uint32_t compression = 0,
                                         const std::vector<std::uint32_t>& masks = {})
{
    const std::uint32_t offBits = static_cast<std::uint32_t>(14 + 40 + masks.size() * 4 + palette.size() * 4);
    std::vector<std::uint8_t> out;
    PutU16(out, 0x4D42);
    PutU32(out, offBits + static_cast<std::uint32_t>(rows.size()));
    PutU32(out, 0);
    PutU32(out, offBits);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bits));
    PutU32(out, compression);
    PutU32(out, static_cast<std::uint32_t>(rows.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(palette.size()));
    PutU32(out, 0);
    for (const std::uint32_t mask : masks) {
        PutU32(out, mask);
    }
    for (const std::uint32_t colour : palette) {
        PutU32(out, colour);
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

// A 24-bit bitmap of one colour (0x00RRGGBB).
inline std::vector<std::uint8_t> SolidBmp(int width, int height, std::uint32_t colour)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rows[static_cast<std::size_t>(y) * stride + x * 3];
            p[0] = static_cast<std::uint8_t>(colour);
            p[1] = static_cast<std::uint8_t>(colour >> 8);
            p[2] = static_cast<std::uint8_t>(colour >> 16);
        }
    }
    return BmpFile(width, height, 24, {}, rows);
}

class SceneFixture : public ::testing::Test {
protected:
    SceneFixture() : m_folder(m_dir.Path()) {}

    void SetUp() override
    {
        plat::headless::SetDesktopMode(
            plat::DisplayMode{m_DesktopWidth, m_DesktopHeight, 16, 60, 0xF800, 0x07E0, 0x001F});
        plat::WindowDesc desc;
        desc.width = m_DesktopWidth;
        desc.height = m_DesktopHeight;
        plat::CreateMainWindow(desc);
        CreatePrivateHeap();
        InitScriptCommands();
        SetScriptSections(true, true);
        ClearQuitRequest();
        GetGameDisplay()->InitDisplay(false);
        GetGameDisplay()->m_SceneTag = 1;
    }

    void TearDown() override
    {
        DestroyAllActors();
        PurgeRemovedActors();
        GetGameDisplay()->Shutdown();
        InitScriptCommands();
        DestroyPrivateHeap();
        ClearQuitRequest();
    }

    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const { m_dir.Write(name, bytes); }
    void WriteScript(const std::string& name, std::string_view utf8) const { m_dir.Write(name, Utf16Le(utf8)); }

    // A test that needs a larger screen sets these in its constructor.
    int m_DesktopWidth = 64;
    int m_DesktopHeight = 48;
    TempDir m_dir;
    ScopedCurrentFolder m_folder;
};

} // namespace test
