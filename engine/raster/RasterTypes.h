// Records and limits shared by the raster library, its texture tables, its text path and the triangle
// rasterizer.
#pragma once

#include "engine/core/BitmapFile.h"

#include <cstdint>
#include <memory>
#include <vector>

constexpr int MAXTEXTURES = 2048;
constexpr int MAX_SECOND_TEXTURES = 256;
constexpr int RASTER_FONT_COUNT = 20;

// The queue: a fixed pool filled from the front each frame, sorted into depth buckets.
constexpr int PRIMITIVE_POOL_SIZE = 20000;
constexpr int MAX_QUEUED_PRIMITIVES = 19991;
constexpr int DEPTH_BUCKETS = 4096;
constexpr int TEXT_DEPTH_DEFAULT = 19999;

// Kind and option bits of a queued primitive.
constexpr std::uint32_t PRIM_TRIANGLE = 0x1;
constexpr std::uint32_t PRIM_TEXTURE = 0x2;
constexpr std::uint32_t PRIM_STRETCH = 0x8;
constexpr std::uint32_t PRIM_TEXT = 0x10;
constexpr std::uint32_t PRIM_FILL = 0x20;
constexpr std::uint32_t PRIM_TEXT_OVERHANG = 0x20000000;
constexpr std::uint32_t PRIM_TRIANGLE_BLENDED = 0x40000000;
// Textures: the source colour key (texel 0 is not drawn). Triangles: colour-keyed spans.
constexpr std::uint32_t PRIM_COLOR_KEY = 0x80000000;

// Texture kinds: 1 is a surface drawn by the blitter; the others keep a converted pixel copy for triangles.
constexpr int TEXTURE_KIND_SURFACE = 1;
constexpr int TEXTURE_KIND_ARGB4444 = 3;

// A queued float coordinate as an integer, truncated; clamped so that far-off or NaN values stay defined.
inline int TruncCoordinate(float value)
{
    constexpr float LIMIT = 1.0e7f;
    if (!(value > -LIMIT)) {
        return value == value ? -static_cast<int>(LIMIT) : 0;
    }
    return value < LIMIT ? static_cast<int>(value) : static_cast<int>(LIMIT);
}

struct RasterRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // "None" for a source rectangle: 0, 0, -1, -1 or any with right < left or bottom < top.
    bool IsValidSource() const { return right >= left && bottom >= top; }
    // Every coordinate within +-10^7, so widths and heights cannot overflow.
    RasterRect Clamped() const
    {
        constexpr int LIMIT = 10000000;
        const auto clamp = [](int v) { return v < -LIMIT ? -LIMIT : (v > LIMIT ? LIMIT : v); };
        return RasterRect{clamp(left), clamp(top), clamp(right), clamp(bottom)};
    }
};

// A 16-bit pixel area in the back buffer's format: the back buffer itself or a texture surface.
struct PixelTarget {
    std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // in pixels
    bool is565 = true;
};

// A texture surface: pixels in the back buffer's format, colour key 0. Lost surfaces keep their size and lose
// their content until they are restored and reloaded.
struct RasterSurface {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
    bool lost = false;
};

// The opaque (non-zero) texels of a texture, row by row, as runs: a keyed copy touches only these. A row dense
// with short runs holds one masked span instead, from its first opaque texel to its last, whose texels are
// tested one by one: the choice is made once, when the runs are built.
struct KeySpan {
    std::uint16_t x = 0;
    std::uint16_t length = 0;
    std::uint16_t masked = 0;
};

struct KeyRuns {
    std::vector<std::uint32_t> rowFirst;  // height + 1 entries: row r's runs are spans[rowFirst[r], rowFirst[r + 1])
    std::vector<KeySpan> spans;
};

struct TextureEntry {
    int width = 0;
    int height = 0;
    int kind = 0;
    std::unique_ptr<std::uint16_t[]> converted;  // kinds other than 1
    const std::uint16_t* source = nullptr;        // the caller's pixels, not owned
    std::unique_ptr<RasterSurface> handle;        // kind 1
    KeyRuns runs;                                 // of the pixels drawn (handle or converted), kept current
    std::uint64_t generation = 0;                 // new, raster-wide, whenever the pixels drawn change
};

// What callers pass to Raster::DrawTriangle.
struct TriangleVertices {
    float x0 = 0, x1 = 0, x2 = 0;
    float y0 = 0, y1 = 0, y2 = 0;
    float z0 = 0, z1 = 0, z2 = 0;
    float u0 = 0, u1 = 0, u2 = 0;  // fractions of the texture width
    float v0 = 0, v1 = 0, v2 = 0;  // fractions of the texture height
    float r0 = 0, g0 = 0, b0 = 0, r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
    std::int32_t texture = -1;
};

// One queued primitive. Texts are copied into the frame's text store (item is the offset there), so a caller's
// temporary string may die before the frame is drawn.
struct DrawPrimitive {
    std::int32_t next = -1;
    std::int32_t skip = 0;
    std::uint32_t flags = 0;
    std::int32_t item = 0;
    std::int32_t texture = -1;  // triangle: the texture whose converted pixels it draws, -1 for flat
    std::int32_t textLength = 0;  // text: units in the frame's text store from offset item
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;
    float x0 = 0, x1 = 0, x2 = 0;
    float y0 = 0, y1 = 0, y2 = 0;
    float w0 = 0, w1 = 0, w2 = 0;
    float u0 = 0, u1 = 0, u2 = 0;
    float v0 = 0, v1 = 0, v2 = 0;
    RasterRect source{0, 0, -1, -1};
};

