#include "tools/ArtSketch.h"

#include <algorithm>

namespace datac {

namespace {

std::string Join(std::initializer_list<int> numbers)
{
    std::string text;
    for (const int number : numbers)
        text += std::to_string(number) + " ";
    return text;
}

// A soft glow around a figure is no part of its outline.
bool IsSolid(const std::string& colour)
{
    return colour.size() != 9 || std::stoi(colour.substr(7), nullptr, 16) >= 0x80;
}

} // namespace

void ArtSketch::Line(const std::string& text)
{
    m_text += "  " + text + "\n";
}

void ArtSketch::Rect(int x, int y, int w, int h, const std::string& colour)
{
    Line("rect " + Join({x, y, w, h}) + colour);
}

void ArtSketch::Ellipse(int x, int y, int w, int h, const std::string& colour)
{
    Line("ellipse " + Join({x, y, w, h}) + colour);
}

void ArtSketch::Poly(const std::vector<int>& corners, const std::string& colour)
{
    std::string text = "poly ";
    for (const int number : corners)
        text += std::to_string(number) + " ";
    Line(text + colour);
}

void ArtSketch::Place(int x, int ground, int height, bool mirrored)
{
    m_x = x;
    m_ground = ground;
    m_scale = std::max(1, height);
    m_mirrored = mirrored;
}

int ArtSketch::PixelX(int units) const
{
    const int offset = units * m_scale / 100;
    return m_mirrored ? m_x - offset : m_x + offset;
}

int ArtSketch::PixelY(int units) const
{
    return m_ground - units * m_scale / 100;
}

void ArtSketch::Cover(int x0, int y0, int x1, int y1)
{
    x0 = std::clamp(x0, 0, m_width);
    x1 = std::clamp(x1, 0, m_width);
    y0 = std::clamp(y0, 0, m_height);
    y1 = std::clamp(y1, 0, m_height);
    if (x0 >= x1 || y0 >= y1)
        return;
    if (!m_covered) {
        m_left = x0, m_top = y0, m_right = x1, m_bottom = y1;
        m_covered = true;
        return;
    }
    m_left = std::min(m_left, x0);
    m_top = std::min(m_top, y0);
    m_right = std::max(m_right, x1);
    m_bottom = std::max(m_bottom, y1);
}

void ArtSketch::Oval(int cx, int cy, int rx, int ry, const std::string& colour)
{
    const int x0 = std::min(PixelX(cx - rx), PixelX(cx + rx));
    const int x1 = std::max(PixelX(cx - rx), PixelX(cx + rx));
    const int y0 = PixelY(cy + ry);
    const int y1 = PixelY(cy - ry);
    Ellipse(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0), colour);
    if (IsSolid(colour))
        Cover(x0, y0, x0 + std::max(1, x1 - x0), y0 + std::max(1, y1 - y0));
}

void ArtSketch::Box(int x0, int y0, int x1, int y1, const std::string& colour)
{
    const int left = std::min(PixelX(x0), PixelX(x1));
    const int right = std::max(PixelX(x0), PixelX(x1));
    const int top = std::min(PixelY(y0), PixelY(y1));
    const int bottom = std::max(PixelY(y0), PixelY(y1));
    // A part thinner than a pixel still shows at the smallest sizes.
    const int w = std::max(1, right - left);
    const int h = std::max(1, bottom - top);
    Rect(left, top, w, h, colour);
    if (IsSolid(colour))
        Cover(left, top, left + w, top + h);
}

void ArtSketch::Shape(std::initializer_list<int> corners, const std::string& colour)
{
    Shape(std::vector<int>(corners), colour);
}

void ArtSketch::Shape(const std::vector<int>& corners, const std::string& colour)
{
    std::vector<int> pixels(corners.size() & ~std::size_t{1});
    for (std::size_t i = 0; i + 1 < corners.size(); i += 2) {
        pixels[i] = PixelX(corners[i]);
        pixels[i + 1] = PixelY(corners[i + 1]);
        if (IsSolid(colour))
            Cover(pixels[i], pixels[i + 1], pixels[i] + 1, pixels[i + 1] + 1);
    }
    Poly(pixels, colour);
}

ArtRect ArtSketch::FigureBounds() const
{
    if (!m_covered)
        return {};
    return {m_left, m_top, m_right - m_left, m_bottom - m_top};
}

} // namespace datac
