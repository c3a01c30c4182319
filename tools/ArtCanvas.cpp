#include "tools/ArtCanvas.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace datac {

namespace {

int Channel(std::uint32_t rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, int weight, int total)
{
    if (total <= 0)
        return from;
    std::uint32_t out = 0;
    for (const int shift : {16, 8, 0}) {
        const int a = Channel(from, shift);
        const int b = Channel(to, shift);
        out |= static_cast<std::uint32_t>(a + (b - a) * weight / total) << shift;
    }
    return out;
}

int MixAlpha(int from, int to, int weight, int total)
{
    return total <= 0 ? from : from + (to - from) * weight / total;
}

} // namespace

ArtCanvas::ArtCanvas(int width, int height)
    : m_width(std::max(0, width)), m_height(std::max(0, height)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0)
{
}

std::uint32_t ArtCanvas::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

void ArtCanvas::Blend(int x, int y, std::uint32_t rgb, int alpha)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || alpha <= 0)
        return;
    std::uint32_t& pixel = m_pixels[static_cast<std::size_t>(y) * m_width + x];
    if (pixel == 0 && alpha < 255) {
        if (alpha >= 128)
            pixel = rgb & 0xFFFFFF;
        return;
    }
    pixel = alpha >= 255 ? (rgb & 0xFFFFFF) : Mix(pixel, rgb, alpha, 255);
}

void ArtCanvas::Fill(const ArtRect& rect, ArtColour colour)
{
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x)
            Blend(x, y, colour.rgb, colour.alpha);
    }
}

void ArtCanvas::Gradient(const ArtRect& rect, ArtColour from, ArtColour to, bool horizontal)
{
    const int steps = std::max(1, (horizontal ? rect.width : rect.height) - 1);
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            const int at = horizontal ? x - rect.x : y - rect.y;
            Blend(x, y, Mix(from.rgb, to.rgb, at, steps), MixAlpha(from.alpha, to.alpha, at, steps));
        }
    }
}

void ArtCanvas::Radial(const ArtRect& rect, ArtColour inner, ArtColour outer)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    // Distances in 1/1024 of the radius, from doubled coordinates so that the centre of even sizes is exact.
    const std::int64_t rx = rect.width;
    const std::int64_t ry = rect.height;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            const std::int64_t dx = (2 * (x - rect.x) + 1 - rx) * 1024 / rx;
            const std::int64_t dy = (2 * (y - rect.y) + 1 - ry) * 1024 / ry;
            const std::int64_t squared = dx * dx + dy * dy;
            // sqrt is exact to the last bit, so the integer root below is the same everywhere.
            auto distance = static_cast<std::int64_t>(std::sqrt(static_cast<double>(squared)));
            while (distance * distance > squared)
                --distance;
            while ((distance + 1) * (distance + 1) <= squared)
                ++distance;
            const int at = static_cast<int>(std::min<std::int64_t>(distance, 1024));
            Blend(x, y, Mix(inner.rgb, outer.rgb, at, 1024), MixAlpha(inner.alpha, outer.alpha, at, 1024));
        }
    }
}

void ArtCanvas::Frame(const ArtRect& rect, ArtColour colour, int thickness)
{
    thickness = std::clamp(thickness, 0, std::min(rect.width, rect.height) / 2 + 1);
    Fill({rect.x, rect.y, rect.width, thickness}, colour);
    Fill({rect.x, rect.y + rect.height - thickness, rect.width, thickness}, colour);
    Fill({rect.x, rect.y + thickness, thickness, rect.height - 2 * thickness}, colour);
    Fill({rect.x + rect.width - thickness, rect.y + thickness, thickness, rect.height - 2 * thickness}, colour);
}

void ArtCanvas::Bevel(const ArtRect& rect, ArtColour face, ArtColour light, ArtColour dark, int thickness,
                      bool sunken)
{
    Fill(rect, face);
    const ArtColour topLeft = sunken ? dark : light;
    const ArtColour bottomRight = sunken ? light : dark;
    for (int ring = 0; ring < thickness && ring * 2 < std::min(rect.width, rect.height); ++ring) {
        const int left = rect.x + ring;
        const int top = rect.y + ring;
        const int right = rect.x + rect.width - 1 - ring;
        const int bottom = rect.y + rect.height - 1 - ring;
        for (int x = left; x <= right; ++x) {
            Blend(x, top, topLeft.rgb, topLeft.alpha);
            Blend(x, bottom, bottomRight.rgb, bottomRight.alpha);
        }
        for (int y = top + 1; y < bottom; ++y) {
            Blend(left, y, topLeft.rgb, topLeft.alpha);
            Blend(right, y, bottomRight.rgb, bottomRight.alpha);
        }
    }
}

void ArtCanvas::Ellipse(const ArtRect& rect, ArtColour colour)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    // Coverage from 4x4 samples a pixel keeps the edge smooth.
    const std::int64_t rx = rect.width * 4;
    const std::int64_t ry = rect.height * 4;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const std::int64_t px = 2 * ((x - rect.x) * 4 + sx) + 1 - rx;
                    const std::int64_t py = 2 * ((y - rect.y) * 4 + sy) + 1 - ry;
                    if (px * px * ry * ry + py * py * rx * rx <= rx * rx * ry * ry)
                        ++inside;
                }
            }
            Blend(x, y, colour.rgb, colour.alpha * inside / 16);
        }
    }
}

void ArtCanvas::Polygon(const std::vector<int>& corners, ArtColour colour)
{
    const std::size_t count = corners.size() / 2;
    if (count < 3)
        return;
    int left = corners[0], right = corners[0], top = corners[1], bottom = corners[1];
    for (std::size_t i = 1; i < count; ++i) {
        left = std::min(left, corners[2 * i]);
        right = std::max(right, corners[2 * i]);
        top = std::min(top, corners[2 * i + 1]);
        bottom = std::max(bottom, corners[2 * i + 1]);
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width);
    bottom = std::min(bottom, m_height);
    // Corners lie on pixel corners; coverage from 4x4 samples a pixel, each at the centre of its sub-cell, in
    // units of an eighth of a pixel so that every test is exact.
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                const std::int64_t py = 8 * y + 2 * sy + 1;
                for (int sx = 0; sx < 4; ++sx) {
                    const std::int64_t px = 8 * x + 2 * sx + 1;
                    bool odd = false;
                    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
                        const std::int64_t xi = 8 * corners[2 * i], yi = 8 * corners[2 * i + 1];
                        const std::int64_t xj = 8 * corners[2 * j], yj = 8 * corners[2 * j + 1];
                        if ((yi > py) == (yj > py))
                            continue;
                        // The edge crosses the sample's row right of it when (px - xi) < (py - yi)(xj - xi)/(yj - yi).
                        const std::int64_t lhs = (px - xi) * (yj - yi);
                        const std::int64_t rhs = (py - yi) * (xj - xi);
                        if (yj > yi ? lhs < rhs : lhs > rhs)
                            odd = !odd;
                    }
                    inside += odd ? 1 : 0;
                }
            }
            Blend(x, y, colour.rgb, colour.alpha * inside / 16);
        }
    }
}

void ArtCanvas::Noise(const ArtRect& rect, int amount, std::uint32_t seed)
{
    if (amount <= 0)
        return;
    std::uint32_t state = seed * 2654435761u + 1u;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int delta = static_cast<int>((state >> 8) % static_cast<std::uint32_t>(2 * amount + 1)) - amount;
            if (x < 0 || y < 0 || x >= m_width || y >= m_height)
                continue;
            std::uint32_t& pixel = m_pixels[static_cast<std::size_t>(y) * m_width + x];
            if (pixel == 0)
                continue;
            std::uint32_t out = 0;
            for (const int shift : {16, 8, 0})
                out |= static_cast<std::uint32_t>(std::clamp(Channel(pixel, shift) + delta, 0, 255)) << shift;
            pixel = out;
        }
    }
}

bool ArtCanvas::DrawLines(const ArtRect& rect, const std::vector<std::u16string>& lines, const ArtTextStyle& style,
                          std::uint32_t rgb, int alpha, int offset)
{
    plat::FontRequest request;
    request.file = plat::FromUtf8(style.fontFile);
    request.cellHeight = style.size;
    const plat::FontHandle font = plat::OpenFont(request);
    plat::FontMetrics metrics;
    if (font == 0 || !plat::GetFontMetrics(font, metrics)) {
        plat::CloseFont(font);
        return false;
    }
    const int lineHeight = std::max(1, metrics.height);
    int baseline = rect.y + (rect.height - lineHeight * static_cast<int>(lines.size())) / 2 + metrics.ascent + offset;
    for (const std::u16string& line : lines) {
        int width = 0;
        plat::Glyph glyph;
        for (const char16_t unit : line) {
            if (plat::GetGlyph(font, unit, glyph))
                width += glyph.advance;
        }
        int pen = rect.x + offset;
        if (style.align == TextAlign::Centre)
            pen += (rect.width - width) / 2;
        else if (style.align == TextAlign::Right)
            pen += rect.width - width;
        for (const char16_t unit : line) {
            if (!plat::GetGlyph(font, unit, glyph))
                continue;
            for (int gy = 0; gy < glyph.height; ++gy) {
                for (int gx = 0; gx < glyph.width; ++gx) {
                    const int coverage = glyph.coverage[static_cast<std::size_t>(gy) * glyph.pitch + gx];
                    Blend(pen + glyph.left + gx, baseline - glyph.top + gy, rgb, alpha * coverage / 255);
                }
            }
            pen += glyph.advance;
        }
        baseline += lineHeight;
    }
    plat::CloseFont(font);
    return true;
}

bool ArtCanvas::Text(const ArtRect& rect, std::u16string_view text, const ArtTextStyle& style)
{
    std::vector<std::u16string> lines(1);
    for (const char16_t unit : text) {
        if (unit == u'|')
            lines.emplace_back();
        else
            lines.back().push_back(unit);
    }
    if (style.shadow && !DrawLines(rect, lines, style, style.shadowColour.rgb, style.shadowColour.alpha, 1))
        return false;
    return DrawLines(rect, lines, style, style.colour.rgb, style.colour.alpha, 0);
}

std::vector<std::uint8_t> ArtCanvas::ToBmp() const
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(m_width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(m_height);
    std::vector<std::uint8_t> bmp(54 + imageBytes, 0);
    const auto put = [&bmp](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(m_width), 4);
    put(22, static_cast<std::uint32_t>(m_height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, imageBytes, 4);
    put(38, 2835, 4);  // 72 dpi
    put(42, 2835, 4);
    for (int y = 0; y < m_height; ++y) {
        std::uint8_t* row = bmp.data() + 54 + static_cast<std::size_t>(m_height - 1 - y) * rowBytes;
        for (int x = 0; x < m_width; ++x) {
            const std::uint32_t pixel = m_pixels[static_cast<std::size_t>(y) * m_width + x];
            row[x * 3 + 0] = static_cast<std::uint8_t>(pixel);
            row[x * 3 + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    return bmp;
}

void ArtCanvas::KeepOffKey()
{
    // A channel of 8 or more survives the 5-bit reduction of every 16-bit surface format.
    constexpr std::uint32_t SAFE_DARK = 0x080808;
    for (std::uint32_t& pixel : m_pixels) {
        if (pixel != 0 && (pixel & 0xF8F8F8) == 0)
            pixel = SAFE_DARK;
    }
}

std::vector<std::uint16_t> ArtCanvas::Frame555(int frame, int frames) const
{
    const int width = m_width / frames;
    std::vector<std::uint16_t> out;
    out.reserve(static_cast<std::size_t>(width) * m_height);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = m_pixels[static_cast<std::size_t>(y) * m_width + frame * width + x];
            out.push_back(static_cast<std::uint16_t>(((pixel >> 19) & 0x1F) << 10 | ((pixel >> 11) & 0x1F) << 5 |
                                                     ((pixel >> 3) & 0x1F)));
        }
    }
    return out;
}

namespace {

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> ArtCanvas::ToChp(int frames) const
{
    std::vector<std::uint8_t> bytes;
    Put(bytes, 0, 4);
    Put(bytes, static_cast<std::uint32_t>(frames), 2);
    Put(bytes, static_cast<std::uint32_t>(m_width / frames), 2);
    Put(bytes, static_cast<std::uint32_t>(m_height), 2);
    for (int frame = 0; frame < frames; ++frame) {
        for (const std::uint16_t pixel : Frame555(frame, frames))
            Put(bytes, pixel, 2);
    }
    return bytes;
}

std::vector<std::uint8_t> ArtCanvas::ToSpritePack(int frames) const
{
    const std::uint32_t frameBytes = 8 + static_cast<std::uint32_t>(m_width / frames) * m_height * 2;
    std::vector<std::uint8_t> bytes;
    Put(bytes, static_cast<std::uint32_t>(frames), 4);
    for (int frame = 0; frame < frames; ++frame)
        Put(bytes, 4 + 4 * static_cast<std::uint32_t>(frames) + frameBytes * static_cast<std::uint32_t>(frame), 4);
    for (int frame = 0; frame < frames; ++frame) {
        Put(bytes, static_cast<std::uint32_t>(m_width / frames), 2);
        Put(bytes, static_cast<std::uint32_t>(m_height), 2);
        Put(bytes, 0, 4);
        for (const std::uint16_t pixel : Frame555(frame, frames))
            Put(bytes, pixel, 2);
    }
    return bytes;
}

} // namespace datac
