// The art step's drawing surface: a 24-bit image drawn with a few primitives (fills, gradients, bevelled
// boxes, ellipses, seeded noise, anti-aliased text in the DejaVu faces) and written as a bottom-up .bmp.
// Everything is integer or fixed-order arithmetic, so one description gives the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

// A colour with its coverage: #rrggbb is opaque, #rrggbbaa blends.
struct ArtColour {
    std::uint32_t rgb = 0;  // 0x00RRGGBB
    int alpha = 255;        // 0 leaves the canvas as it is, 255 covers it
};

struct ArtRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class TextAlign { Left, Centre, Right };

struct ArtTextStyle {
    std::string fontFile;  // native path of a TrueType face
    int size = 12;         // cell height in pixels (ascent + descent)
    ArtColour colour;
    TextAlign align = TextAlign::Centre;
    bool shadow = false;
    ArtColour shadowColour;
};

class ArtCanvas {
public:
    ArtCanvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // 0x00RRGGBB; 0 outside the canvas.
    std::uint32_t At(int x, int y) const;

    // Every primitive is clipped to the canvas and blends its colour's alpha over what is there. Over the colour
    // key (exact black) there is nothing to blend with: an edge pixel takes the colour when covered at least half
    // and stays the key otherwise, so no dark seam joins a keyed shape to its transparent surround.
    void Fill(const ArtRect& rect, ArtColour colour);
    void Gradient(const ArtRect& rect, ArtColour from, ArtColour to, bool horizontal);
    // From inner at the rectangle's centre to outer at its edge, along the inscribed ellipse's radius.
    void Radial(const ArtRect& rect, ArtColour inner, ArtColour outer);
    void Frame(const ArtRect& rect, ArtColour colour, int thickness);
    // A face with a light top-left and a dark bottom-right border (swapped when sunken).
    void Bevel(const ArtRect& rect, ArtColour face, ArtColour light, ArtColour dark, int thickness, bool sunken);
    void Ellipse(const ArtRect& rect, ArtColour colour);
    // A closed outline of three or more corners (x, y pairs), filled by the even-odd rule.
    void Polygon(const std::vector<int>& corners, ArtColour colour);
    // Adds a seeded value in -amount..amount to each pixel's three channels alike; the key stays the key.
    void Noise(const ArtRect& rect, int amount, std::uint32_t seed);
    // Lines split at '|', placed by the style's alignment and centred vertically in rect. False when the face
    // cannot be opened.
    bool Text(const ArtRect& rect, std::u16string_view text, const ArtTextStyle& style);

    // Opaque colours so dark that a 16-bit surface would turn them into the colour key (0) are lifted to the
    // darkest safe grey; exact black stays, as it is the transparent colour.
    void KeepOffKey();

    // A 24-bit bottom-up .bmp file of the canvas.
    std::vector<std::uint8_t> ToBmp() const;
    // The canvas cut into `frames` equal columns, each one frame, in 1-5-5-5 pixels: a .chp pixel file, or a
    // sprite pack whose frames follow an offset table.
    std::vector<std::uint8_t> ToChp(int frames) const;
    std::vector<std::uint8_t> ToSpritePack(int frames) const;

private:
    std::vector<std::uint16_t> Frame555(int frame, int frames) const;
    void Blend(int x, int y, std::uint32_t rgb, int alpha);
    bool DrawLines(const ArtRect& rect, const std::vector<std::u16string>& lines, const ArtTextStyle& style,
                   std::uint32_t rgb, int alpha, int offset);

    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
};

} // namespace datac
