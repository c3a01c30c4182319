// FreeType behind the font services. One face per handle, sized once, with the rendered glyphs cached.
#include "platform/Platform.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace plat {
namespace {

struct CachedGlyph {
    Glyph glyph;
    std::vector<std::uint8_t> coverage;
};

struct OpenFace {
    FT_Face face = nullptr;
    FontMetrics metrics;
    bool embolden = false;
    bool slant = false;
    std::unordered_map<char32_t, CachedGlyph> glyphs;

    ~OpenFace()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
};

FT_Library s_library = nullptr;
std::map<FontHandle, std::unique_ptr<OpenFace>> s_faces;
FontHandle s_nextHandle = 1;

bool EnsureLibrary()
{
    if (s_library == nullptr && FT_Init_FreeType(&s_library) != 0) {
        s_library = nullptr;
    }
    return s_library != nullptr;
}

// The face's ascent and descent in font units as the system's font mapper counts them (the OS/2 table's
// Windows metrics when present).
void DesignExtent(FT_Face face, double& ascent, double& descent)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
        return;
    }
    ascent = face->ascender;
    descent = -face->descender;
    if (ascent + descent <= 0) {
        ascent = face->units_per_EM * 0.8;
        descent = face->units_per_EM * 0.2;
    }
}

bool SizeFace(OpenFace& open, const FontRequest& request)
{
    FT_Face face = open.face;
    double ascent = 0;
    double descent = 0;
    DesignExtent(face, ascent, descent);
    const double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const int cell = std::max(request.cellHeight, 1);
    const double emPixels = cell * units / (ascent + descent);
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0)), 72, 72) != 0) {
        return false;
    }
    FontMetrics& m = open.metrics;
    m.height = cell;
    m.ascent = static_cast<int>(std::lround(cell * ascent / (ascent + descent)));
    m.descent = cell - m.ascent;
    m.externalLeading = 0;

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double naturalAverage =
        (os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : units / 2) * emPixels / units;
    m.averageWidth = static_cast<int>(std::lround(naturalAverage));
    if (request.averageWidth > 0 && naturalAverage > 0) {
        FT_Matrix stretch{static_cast<FT_Fixed>(std::lround(request.averageWidth / naturalAverage * 65536.0)), 0, 0,
                          0x10000};
        FT_Set_Transform(face, &stretch, nullptr);
        m.averageWidth = request.averageWidth;
    }
    const double underlinePos = face->underline_position != 0 ? -face->underline_position : units / 10;
    const double underlineThick = face->underline_thickness > 0 ? face->underline_thickness : units / 20;
    m.underlineOffset = std::max(1, static_cast<int>(std::lround(underlinePos * emPixels / units)));
    m.underlineThickness = std::max(1, static_cast<int>(std::lround(underlineThick * emPixels / units)));
    return true;
}

bool RenderGlyph(OpenFace& open, char32_t codePoint, CachedGlyph& out)
{
    FT_Face face = open.face;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    out.glyph.found = index != 0;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    if (open.slant) {
        FT_GlyphSlot_Oblique(slot);
    }
    if (open.embolden) {
        FT_GlyphSlot_Embolden(slot);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph& g = out.glyph;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.height = static_cast<int>(bitmap.rows);
    g.pitch = g.width;
    out.coverage.assign(static_cast<std::size_t>(g.width) * g.height, 0);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.buffer != nullptr) {
        for (int y = 0; y < g.height; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            std::copy(row, row + g.width, out.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
        }
    }
    g.coverage = out.coverage.empty() ? nullptr : out.coverage.data();
    return true;
}

} // namespace

FontHandle OpenFont(const FontRequest& request)
{
    if (!EnsureLibrary() || request.cellHeight <= 0) {
        return 0;
    }
    const std::string path = NativePath(request.file);
    auto open = std::make_unique<OpenFace>();
    if (FT_New_Face(s_library, path.c_str(), 0, &open->face) != 0) {
        open->face = nullptr;
        return 0;
    }
    if (!FT_IS_SCALABLE(open->face)) {
        return 0;
    }
    FT_Select_Charmap(open->face, FT_ENCODING_UNICODE);
    open->embolden = request.embolden;
    open->slant = request.slant;
    if (!SizeFace(*open, request)) {
        return 0;
    }
    const FontHandle handle = s_nextHandle++;
    s_faces.emplace(handle, std::move(open));
    return handle;
}

void CloseFont(FontHandle font)
{
    s_faces.erase(font);
}

bool GetFontMetrics(FontHandle font, FontMetrics& out)
{
    const auto it = s_faces.find(font);
    if (it == s_faces.end()) {
        return false;
    }
    out = it->second->metrics;
    return true;
}

bool GetGlyph(FontHandle font, char32_t codePoint, Glyph& out)
{
    const auto it = s_faces.find(font);
    if (it == s_faces.end()) {
        return false;
    }
    OpenFace& open = *it->second;
    auto cached = open.glyphs.find(codePoint);
    if (cached == open.glyphs.end()) {
        CachedGlyph glyph;
        if (!RenderGlyph(open, codePoint, glyph)) {
            glyph = CachedGlyph{};
        }
        cached = open.glyphs.emplace(codePoint, std::move(glyph)).first;
        Glyph& g = cached->second.glyph;
        g.coverage = cached->second.coverage.empty() ? nullptr : cached->second.coverage.data();
    }
    out = cached->second.glyph;
    return true;
}

std::string SystemFontFolder()
{
    return "/usr/share/fonts/truetype/dejavu";
}

} // namespace plat
