// One of the raster's fonts: a face at a cell height with weight, slant and underline, opened through the
// platform's font services.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <memory>
#include <string>

constexpr int FONT_WEIGHT_NORMAL = 400;
constexpr int FONT_WEIGHT_BOLD = 700;
// Weights from this one up take the face's bold file.
constexpr int FONT_WEIGHT_BOLD_FROM = 600;

struct FontDescription {
    int height = 0;
    int width = 0;  // 0: the face's own proportions
    int weight = FONT_WEIGHT_NORMAL;
    bool italic = false;
    bool underline = false;
    int charset = 0;
    int pitchAndFamily = 0;
    std::u16string face;
};

class RasterFont {
public:
    // Null when no face file of the description (nor the fallback face) can be opened.
    static std::unique_ptr<RasterFont> Create(const FontDescription& description);
    ~RasterFont();
    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;

    const FontDescription& Description() const { return m_Description; }
    const plat::FontMetrics& Metrics() const { return m_Metrics; }
    int Height() const { return m_Metrics.height; }
    int Ascent() const { return m_Metrics.ascent; }
    bool Underline() const { return m_Description.underline; }
    // The glyph of a code point; the face's fallback glyph when it has none.
    plat::Glyph GlyphOf(char32_t codePoint) const;

private:
    RasterFont(const FontDescription& description, plat::FontHandle handle);

    // Latin-1 glyphs are kept here: text is mostly made of them and looks each up twice (layout, drawing).
    static constexpr char32_t CACHED_GLYPHS = 256;

    FontDescription m_Description;
    plat::FontHandle m_Handle = 0;
    plat::FontMetrics m_Metrics;
    mutable std::array<plat::Glyph, CACHED_GLYPHS> m_Glyphs{};
    mutable std::array<bool, CACHED_GLYPHS> m_GlyphCached{};
};
