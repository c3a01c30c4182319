#include "engine/raster/RasterText.h"

#include "engine/raster/RasterBlit.h"
#include "engine/raster/RasterFont.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr char32_t ELLIPSIS_DOT = U'.';
constexpr int ELLIPSIS_DOTS = 3;

// Formats of alignment codes 0-9.
constexpr std::array<std::uint32_t, 10> ALIGNMENT_FORMATS = {
    TEXT_WORDBREAK,
    TEXT_CENTER | TEXT_WORDBREAK,
    TEXT_RIGHT | TEXT_WORDBREAK,
    TEXT_VCENTER | TEXT_SINGLELINE,
    TEXT_CENTER | TEXT_VCENTER | TEXT_SINGLELINE,
    TEXT_RIGHT | TEXT_VCENTER | TEXT_SINGLELINE,
    TEXT_BOTTOM | TEXT_SINGLELINE,
    TEXT_CENTER | TEXT_BOTTOM | TEXT_SINGLELINE,
    TEXT_RIGHT | TEXT_BOTTOM | TEXT_SINGLELINE,
    TEXT_NOCLIP | TEXT_SINGLELINE | TEXT_END_ELLIPSIS,
};

bool IsLineBreak(char32_t c)
{
    return c == U'\n' || c == U'\r';
}

bool IsBlank(char32_t c)
{
    return c == U' ' || c == U'\t';
}

std::vector<char32_t> DecodeUtf16(std::u16string_view text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int Advance(const RasterFont& font, char32_t c)
{
    return IsLineBreak(c) ? 0 : font.GlyphOf(c).advance;
}

int WidthOf(const RasterFont& font, const std::vector<char32_t>& chars, std::size_t begin, std::size_t end)
{
    int width = 0;
    for (std::size_t i = begin; i < end; ++i) {
        width += Advance(font, chars[i]);
    }
    return width;
}

struct Line {
    std::vector<char32_t> chars;
    int width = 0;
};

// Breaks one paragraph at blanks so that each line fits maxWidth; a word wider than a line stays whole.
void WrapParagraph(const RasterFont& font, const std::vector<char32_t>& chars, std::size_t begin, std::size_t end,
                   int maxWidth, std::vector<Line>& lines)
{
    Line line;
    std::size_t i = begin;
    bool lineHasWord = false;
    while (i < end) {
        // A run of blanks, then a word.
        std::size_t blanksEnd = i;
        while (blanksEnd < end && IsBlank(chars[blanksEnd])) {
            ++blanksEnd;
        }
        std::size_t wordEnd = blanksEnd;
        while (wordEnd < end && !IsBlank(chars[wordEnd])) {
            ++wordEnd;
        }
        const int blanksWidth = WidthOf(font, chars, i, blanksEnd);
        const int wordWidth = WidthOf(font, chars, blanksEnd, wordEnd);
        if (lineHasWord && wordEnd > blanksEnd && line.width + blanksWidth + wordWidth > maxWidth) {
            lines.push_back(std::move(line));
            line = Line{};
            line.chars.assign(chars.begin() + static_cast<std::ptrdiff_t>(blanksEnd),
                              chars.begin() + static_cast<std::ptrdiff_t>(wordEnd));
            line.width = wordWidth;
        } else {
            line.chars.insert(line.chars.end(), chars.begin() + static_cast<std::ptrdiff_t>(i),
                              chars.begin() + static_cast<std::ptrdiff_t>(wordEnd));
            line.width += blanksWidth + wordWidth;
            lineHasWord = lineHasWord || wordEnd > blanksEnd;
        }
        i = wordEnd;
    }
    lines.push_back(std::move(line));
}

std::vector<Line> LayOut(const RasterFont& font, const std::vector<char32_t>& chars, std::uint32_t format,
                         int maxWidth)
{
    std::vector<Line> lines;
    if ((format & TEXT_SINGLELINE) != 0) {
        Line line;
        for (const char32_t c : chars) {
            if (!IsLineBreak(c)) {
                line.chars.push_back(c);
                line.width += Advance(font, c);
            }
        }
        lines.push_back(std::move(line));
        return lines;
    }
    std::size_t begin = 0;
    while (begin <= chars.size()) {
        std::size_t end = begin;
        while (end < chars.size() && !IsLineBreak(chars[end])) {
            ++end;
        }
        if ((format & TEXT_WORDBREAK) != 0) {
            WrapParagraph(font, chars, begin, end, maxWidth, lines);
        } else {
            Line line;
            line.chars.assign(chars.begin() + static_cast<std::ptrdiff_t>(begin),
                              chars.begin() + static_cast<std::ptrdiff_t>(end));
            line.width = WidthOf(font, chars, begin, end);
            lines.push_back(std::move(line));
        }
        if (end >= chars.size()) {
            break;
        }
        // "\r\n" is one break.
        begin = end + ((chars[end] == U'\r' && end + 1 < chars.size() && chars[end + 1] == U'\n') ? 2 : 1);
        if (begin == chars.size()) {
            break;
        }
    }
    return lines;
}

// Cuts the line so that it and three dots fit maxWidth.
void ApplyEndEllipsis(const RasterFont& font, Line& line, int maxWidth)
{
    if (line.width <= maxWidth) {
        return;
    }
    const int dotsWidth = ELLIPSIS_DOTS * Advance(font, ELLIPSIS_DOT);
    int width = 0;
    std::size_t keep = 0;
    while (keep < line.chars.size()) {
        const int next = width + Advance(font, line.chars[keep]);
        if (next + dotsWidth > maxWidth) {
            break;
        }
        width = next;
        ++keep;
    }
    line.chars.resize(keep);
    line.chars.insert(line.chars.end(), ELLIPSIS_DOTS, ELLIPSIS_DOT);
    line.width = width + dotsWidth;
}

// The three channels of a 16-bit pixel spread apart in 32 bits so that one multiplication mixes all of them.
constexpr std::uint32_t SPREAD_565 = 0x07E0F81F;
constexpr std::uint32_t SPREAD_555 = 0x03E07C1F;

template <std::uint32_t SPREAD>
void DrawGlyphInFormat(const PixelTarget& target, const RasterRect& clip, const plat::Glyph& glyph, int penX,
                       int baseline, std::uint16_t colour)
{
    const int left = penX + glyph.left;
    const int top = baseline - glyph.top;
    const int x0 = std::max(left, clip.left);
    const int x1 = std::min(left + glyph.width, clip.right);
    const int y0 = std::max(top, clip.top);
    const int y1 = std::min(top + glyph.height, clip.bottom);
    const std::uint32_t source = (colour | (static_cast<std::uint32_t>(colour) << 16)) & SPREAD;
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* cov = glyph.coverage + static_cast<std::ptrdiff_t>(y - top) * glyph.pitch - left;
        std::uint16_t* d = target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch;
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t c = cov[x];
            if (c == 0) {
                continue;
            }
            const std::uint32_t a = (c + 4) >> 3;  // 0-32
            const std::uint32_t dest = (d[x] | (static_cast<std::uint32_t>(d[x]) << 16)) & SPREAD;
            const std::uint32_t mixed = ((source * a + dest * (32 - a)) >> 5) & SPREAD;
            d[x] = static_cast<std::uint16_t>(mixed | (mixed >> 16));
        }
    }
}

void DrawGlyph(const PixelTarget& target, const RasterRect& clip, const plat::Glyph& glyph, int penX, int baseline,
               std::uint16_t colour)
{
    if (glyph.coverage == nullptr) {
        return;
    }
    if (target.is565) {
        DrawGlyphInFormat<SPREAD_565>(target, clip, glyph, penX, baseline, colour);
    } else {
        DrawGlyphInFormat<SPREAD_555>(target, clip, glyph, penX, baseline, colour);
    }
}

} // namespace

std::uint32_t TextFormatForAlignment(int alignment, int rightEdge)
{
    if (rightEdge == -1) {
        return TEXT_NOCLIP | TEXT_SINGLELINE;
    }
    if (alignment < 0 || alignment >= static_cast<int>(ALIGNMENT_FORMATS.size())) {
        return TEXT_WORDBREAK;
    }
    return ALIGNMENT_FORMATS[static_cast<std::size_t>(alignment)];
}

std::uint16_t ColorRefToPixel(std::uint32_t colour, bool is565)
{
    const int r = colour & 0xFF;
    const int g = (colour >> 8) & 0xFF;
    const int b = (colour >> 16) & 0xFF;
    if (is565) {
        return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
    return static_cast<std::uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

int TextLineWidth(const RasterFont& font, std::u16string_view text)
{
    const std::vector<char32_t> chars = DecodeUtf16(text);
    return WidthOf(font, chars, 0, chars.size());
}

int FirstGlyphOverhang(const RasterFont& font, std::u16string_view text)
{
    const std::vector<char32_t> chars = DecodeUtf16(text);
    return chars.empty() ? 0 : font.GlyphOf(chars[0]).left;
}

bool RenderText(const RasterFont* font, std::u16string_view text, const RasterRect& rect, std::uint32_t format,
                std::uint32_t colour, const PixelTarget* target, RasterRect* calcRect)
{
    if (font == nullptr) {
        return false;
    }
    const std::vector<char32_t> chars = DecodeUtf16(text);
    std::vector<Line> lines = LayOut(*font, chars, format, rect.Width());
    if ((format & TEXT_END_ELLIPSIS) != 0 && (format & TEXT_SINGLELINE) != 0) {
        ApplyEndEllipsis(*font, lines.front(), rect.Width());
    }
    const int lineHeight = font->Height();
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    if ((format & TEXT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line& line : lines) {
            widest = std::max(widest, line.width);
        }
        if (calcRect != nullptr) {
            *calcRect = RasterRect{rect.left, rect.top, rect.left + widest, rect.top + totalHeight};
        }
        return true;
    }
    if (target == nullptr || target->pixels == nullptr) {
        return true;
    }
    const RasterRect area{0, 0, target->width, target->height};
    const RasterRect clip = (format & TEXT_NOCLIP) != 0 ? area : ClipToArea(rect, target->width, target->height);
    if (clip.Width() <= 0 || clip.Height() <= 0) {
        return true;
    }
    int y = rect.top;
    if ((format & TEXT_SINGLELINE) != 0) {
        if ((format & TEXT_VCENTER) != 0) {
            y = rect.top + (rect.Height() - lineHeight) / 2;
        } else if ((format & TEXT_BOTTOM) != 0) {
            y = rect.bottom - lineHeight;
        }
    }
    const std::uint16_t pixel = ColorRefToPixel(colour, target->is565);
    const plat::FontMetrics& metrics = font->Metrics();
    for (const Line& line : lines) {
        int x = rect.left;
        if ((format & TEXT_CENTER) != 0) {
            x = rect.left + (rect.Width() - line.width) / 2;
        } else if ((format & TEXT_RIGHT) != 0) {
            x = rect.right - line.width;
        }
        const int baseline = y + font->Ascent();
        int pen = x;
        for (const char32_t c : line.chars) {
            const plat::Glyph glyph = font->GlyphOf(c);
            DrawGlyph(*target, clip, glyph, pen, baseline, pixel);
            pen += glyph.advance;
        }
        if (font->Underline() && line.width > 0) {
            const int top = baseline + metrics.underlineOffset;
            const RasterRect bar{std::max(x, clip.left), std::max(top, clip.top), std::min(x + line.width, clip.right),
                                 std::min(top + metrics.underlineThickness, clip.bottom)};
            if (bar.Width() > 0 && bar.Height() > 0) {
                FillPixels(*target, bar, pixel);
            }
        }
        y += lineHeight;
    }
    return true;
}
