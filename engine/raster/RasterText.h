// Text layout and drawing of the raster, with the behaviour of the system's draw-text call that the program
// relies on: word wrap at blanks, horizontal and vertical placement, an end ellipsis, clipping to the rectangle
// unless told otherwise, and measuring that gives exactly the rectangle drawing covers.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <cstdint>
#include <string_view>

class RasterFont;

// Format bits.
constexpr std::uint32_t TEXT_LEFT = 0x0;
constexpr std::uint32_t TEXT_CENTER = 0x1;
constexpr std::uint32_t TEXT_RIGHT = 0x2;
constexpr std::uint32_t TEXT_VCENTER = 0x4;
constexpr std::uint32_t TEXT_BOTTOM = 0x8;
constexpr std::uint32_t TEXT_WORDBREAK = 0x10;
constexpr std::uint32_t TEXT_SINGLELINE = 0x20;
constexpr std::uint32_t TEXT_NOCLIP = 0x100;
constexpr std::uint32_t TEXT_CALCRECT = 0x400;
constexpr std::uint32_t TEXT_END_ELLIPSIS = 0x8000;

// The format of alignment codes 0-9 (others as 0); a right edge of -1 gives one unclipped line at left, top.
std::uint32_t TextFormatForAlignment(int alignment, int rightEdge);

// Lays text out in rect and draws it onto target in colour (0x00BBGGRR). With TEXT_CALCRECT nothing is drawn and
// calcRect receives left, top, left + the widest line, top + the lines' height. False for a null font.
bool RenderText(const RasterFont* font, std::u16string_view text, const RasterRect& rect, std::uint32_t format,
                std::uint32_t colour, const PixelTarget* target, RasterRect* calcRect);

// The width of text on one line (line breaks take no room) and the left overhang of its first glyph (negative
// when the glyph reaches left of the pen).
int TextLineWidth(const RasterFont& font, std::u16string_view text);
int FirstGlyphOverhang(const RasterFont& font, std::u16string_view text);

// A 0x00BBGGRR colour as a 16-bit pixel.
std::uint16_t ColorRefToPixel(std::uint32_t colour, bool is565);
