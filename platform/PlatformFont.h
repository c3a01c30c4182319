// Font services of the platform layer; included by platform/Platform.h. Faces are TrueType files rasterised
// with anti-aliasing; the program lays text out itself from the metrics and glyphs given here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// An open face at one size; 0 is no font.
using FontHandle = std::uint32_t;

struct FontRequest {
    std::u16string file;     // the '\' path rules apply; absolute paths are taken as they are
    int cellHeight = 0;      // ascent + descent in pixels, as the system's font height counts it
    int averageWidth = 0;    // 0 keeps the face's proportions; otherwise glyphs are stretched to this width
    bool embolden = false;   // the file is not bold: thicken the outlines
    bool slant = false;      // the file is not italic: slant the outlines
};

struct FontMetrics {
    int height = 0;           // ascent + descent: the line advance of text drawn with the font
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;
    int averageWidth = 0;
    int underlineOffset = 0;  // from the baseline down to the underline's top row
    int underlineThickness = 1;
};

// A glyph's anti-aliased coverage (0 none to 255 full), placed relative to the pen on the baseline.
struct Glyph {
    int advance = 0;
    int left = 0;        // from the pen to the coverage's first column; negative overhangs to the left
    int top = 0;         // from the baseline up to the coverage's first row
    int width = 0;
    int height = 0;
    int pitch = 0;
    const std::uint8_t* coverage = nullptr;  // valid until the font is closed
    bool found = false;  // false: the face has no glyph for the code point and gave its fallback glyph
};

// Opens a face; 0 when the file cannot be read or is no font.
FontHandle OpenFont(const FontRequest& request);
void CloseFont(FontHandle font);
bool GetFontMetrics(FontHandle font, FontMetrics& out);
// A code point the face lacks gives the face's fallback glyph; false only for an unknown handle.
bool GetGlyph(FontHandle font, char32_t codePoint, Glyph& out);
// The system folder of the DejaVu faces (native form, no trailing '/').
std::string SystemFontFolder();

} // namespace plat
