// The layout and drawing of formatted text on the display: segments broken into lines inside a rectangle, with
// inline mana symbols, three alignments, a shared baseline and clipping. Text buttons, labels, message boxes and
// card faces draw through it.
#include "cards/FormattedTextLayout.h"

#include "cards/TableScene.h"
#include "engine/scene/GameDisplay.h"
#include "engine/core/LanguageManager.h"
#include "engine/raster/Raster.h"
#include "engine/core/StringTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int FONT_EVERY_STYLE = 3;
constexpr int FIRST_LANGUAGE_HOLDING_PUNCTUATION = 8;
constexpr int SYMBOL_BLANK = 16;

struct Measure {
    int width = 0;
    int height = 0;
    int ascent = 0;
};

int SegmentFont(int font, int style)
{
    if (font == FONT_EVERY_STYLE || style == SEGMENT_STYLE_SYMBOLS)
        return font;
    return font + style;
}

Measure MeasureSegment(const FormattedSegment& segment, int font)
{
    Measure out;
    GetRaster()->MeasureText(segment.m_Text, SegmentFont(font, segment.m_Style), out.width, out.height, out.ascent);
    return out;
}

int SymbolCount(const FormattedSegment& segment)
{
    int count = 0;
    while (count < static_cast<int>(SEGMENT_TEXT_CAPACITY) && segment.m_Text[count] != 0 && segment.m_Text[count] != u' ')
        ++count;
    return count;
}

// The side of a symbol square for a line height, and the segment's width from it.
int SymbolSize(int lineHeight, int measuredHeight)
{
    if (lineHeight >= 13)
        return std::max(measuredHeight * 3 / 5, 12);
    return std::max(measuredHeight * 7 / 9, 7);
}

void ShiftLine(FormattedSegment* first, const FormattedSegment* end, int shift)
{
    for (FormattedSegment* s = first; s != nullptr && s != end; s = s->m_pNext.get()) {
        s->m_X += shift;
    }
}

int LineShift(int alignment, int width, int lineWidth)
{
    if (alignment == 1)
        return (width - lineWidth) >> 1;
    if (alignment == 2)
        return width - lineWidth;
    return 0;
}

bool Intersect(const RasterRect& a, const RasterRect& b, RasterRect& out)
{
    out = RasterRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
    return out.left < out.right && out.top < out.bottom;
}

// Lays the segments out for width; returns the line count (half lines count half).
float LayOut(FormattedText& text, int width, int font, int alignment)
{
    alignment %= 3;
    if (alignment < 0)
        alignment += 3;
    FormattedSegment* const first = text.m_pFirst.get();
    Measure m = MeasureSegment(*first, font);
    if (m.height == 0) {
        int w = 0;
        GetRaster()->MeasureText(u"bq", SegmentFont(font, first->m_Style), w, m.height, m.ascent);
    }
    text.m_LineHeight = m.height;
    int greatestAscent = m.ascent;
    if (first->m_Style == SEGMENT_STYLE_SYMBOLS) {
        first->m_SymbolSize = SymbolSize(text.m_LineHeight, m.height);
        m.width = (first->m_SymbolSize + 1) * SymbolCount(*first);
    }
    first->m_Advance = m.width;
    first->m_X = 0;
    first->m_Y = 0;
    int penX = m.width;
    int penY = 0;
    float lines = 1.0f;
    FormattedSegment* lineStart = first;
    FormattedSegment* prev = first;
    for (FormattedSegment* s = first->m_pNext.get(); s != nullptr; prev = s, s = s->m_pNext.get()) {
        Measure sm = MeasureSegment(*s, font);
        greatestAscent = std::max(greatestAscent, sm.ascent);
        if (s->m_Style == SEGMENT_STYLE_SYMBOLS) {
            s->m_SymbolSize = SymbolSize(text.m_LineHeight, sm.height);
            sm.width = (s->m_SymbolSize + 1) * SymbolCount(*s);
        }
        s->m_Advance = sm.width;
        // A break marker's advance belongs to the segment it closed: the next segment begins the new line.
        float f = prev->m_LineAdvance;
        s->m_X = penX;
        s->m_Y = penY;
        penX += sm.width;
        if (f == 0.0f && penX <= width)
            continue;
        FormattedSegment* begins = s;
        if (f == 0.0f && penX > width) {
            const bool punctuation = s->m_Text[0] != 0 && s->m_Text[1 + (s->m_Text[1] != 0)] == 0 &&
                                     GetLanguageManager()->IsPunctuationChar(s->m_Text[0]);
            if (punctuation) {
                // Languages from 8 on keep a punctuation mark with the word before it on the next line; the
                // first segment of a line stays where it is.
                if (GetLanguageManager()->GetLanguageId() >= FIRST_LANGUAGE_HOLDING_PUNCTUATION && prev != lineStart)
                    begins = prev;
                else
                    continue;
            }
        }
        // Align the finished line: every segment from its start up to the one that begins the new line.
        const int finishedWidth = begins->m_X;
        ShiftLine(lineStart, begins, LineShift(alignment, width, finishedWidth));
        if (f == 0.0f)
            f = 1.0f;
        penY += static_cast<int>(static_cast<float>(sm.height) * f);
        begins->m_X = 0;
        begins->m_Y = penY;
        penX = begins->m_Advance;
        if (begins == prev) {
            s->m_X = penX;
            s->m_Y = penY;
            penX += s->m_Advance;
        }
        lineStart = begins;
        lines += f;
    }
    ShiftLine(lineStart, nullptr, LineShift(alignment, width, penX));
    for (FormattedSegment* s = first; s != nullptr; s = s->m_pNext.get()) {
        s->m_Y += greatestAscent - MeasureSegment(*s, font).ascent;
    }
    return lines;
}

void DrawSymbols(const FormattedSegment& segment, const RasterRect& rect, int lineHeight, int target,
                 int verticalOffset)
{
    Raster* const raster = GetRaster();
    const int size = segment.m_SymbolSize;
    int left = rect.left + segment.m_X;
    const int top = rect.top + verticalOffset + segment.m_Y + (lineHeight - size) / 2;
    for (int i = 0; i < SymbolCount(segment); ++i, left += size + 1) {
        const int code = segment.m_Text[i];
        const int texture = code == SYMBOL_BLANK ? -1 : GetLargeSymbolTexture(code);
        if (texture < 0)
            continue;
        const RasterRect square{left, top, left + size, top + size};
        RasterRect visible;
        if (!Intersect(square, rect, visible))
            continue;
        if (target >= 0) {
            raster->BlitTexture(target, visible, texture, true, false);
            continue;
        }
        int width = 0;
        int height = 0;
        raster->GetTextureSize(texture, width, height);
        const RasterRect source{visible.left - square.left, visible.top - square.top,
                                width - (square.right - visible.right), height - (square.bottom - visible.bottom)};
        if (source.right <= source.left || source.bottom <= source.top)
            continue;
        raster->DrawTextureEx(texture, static_cast<float>(visible.left), static_cast<float>(visible.top),
                              static_cast<float>(visible.right), static_cast<float>(visible.bottom),
                              static_cast<float>(raster->GetTextDepth()), PRIM_COLOR_KEY, &source);
    }
}

void DrawTextSegment(const FormattedSegment& segment, const RasterRect& rect, int lineHeight, int font,
                     std::uint32_t colour, int target, int verticalOffset, bool flag)
{
    Raster* const raster = GetRaster();
    const int penX = rect.left + segment.m_X;
    const int penY = rect.top + segment.m_Y;
    if (penY + verticalOffset + (lineHeight >> 1) > rect.bottom)
        return;
    const int segmentFont = SegmentFont(font, segment.m_Style);
    if (target >= 0) {
        if (rect.bottom > penY + lineHeight / 2)
            raster->DrawTextOnTexture(segment.m_Text, target, RasterRect{penX, penY, rect.right, rect.bottom},
                                      segmentFont, colour, 0);
        return;
    }
    const RasterRect line{penX, penY + verticalOffset, rect.right, penY + verticalOffset + lineHeight};
    RasterRect visible;
    if (!Intersect(line, rect, visible))
        return;
    if (line.top < rect.top) {
        visible.top -= 1;
        visible.bottom -= 1;
        raster->DrawText(segment.m_Text, visible, 6, segmentFont, colour, flag);
    } else {
        raster->DrawText(segment.m_Text, visible, 0, segmentFont, colour, flag);
    }
}

} // namespace

int GameDisplay::DrawWrappedText(FormattedText* text, const RasterRect& rect, int font, int alignment,
                                 std::uint32_t colour, int target, int verticalOffset, bool flag)
{
    if (text == nullptr || !text->m_pFirst)
        return 0;
    const int width = rect.right - rect.left;
    if (text->m_Width != width) {
        const float lines = LayOut(*text, width, font, alignment);
        if (target == -1) {
            text->m_Width = width;
            text->m_Height = static_cast<int>(static_cast<float>(text->m_LineHeight) * lines);
            return text->m_Height;
        }
    }
    for (const FormattedSegment* s = text->m_pFirst.get(); s != nullptr; s = s->m_pNext.get()) {
        if (s->m_Style == SEGMENT_STYLE_SYMBOLS)
            DrawSymbols(*s, rect, text->m_LineHeight, target, verticalOffset);
        else
            DrawTextSegment(*s, rect, text->m_LineHeight, font, colour, target, verticalOffset, flag);
    }
    return 0;
}

int GameDisplay::GetFormattedTextWidth(const FormattedText* text, int font) const
{
    int width = 0;
    for (const FormattedSegment* s = text != nullptr ? text->m_pFirst.get() : nullptr; s != nullptr;
         s = s->m_pNext.get()) {
        width += MeasureSegment(*s, font).width;
    }
    return width;
}

int GameDisplay::GetFormattedTextHeight(const FormattedText* text, int font) const
{
    int height = 0;
    for (const FormattedSegment* s = text != nullptr ? text->m_pFirst.get() : nullptr; s != nullptr;
         s = s->m_pNext.get()) {
        height = std::max(height, MeasureSegment(*s, font).height);
    }
    return height;
}

int GetGUIFormattedTextWidth(FormattedText* record, int font)
{
    return GetGameDisplay()->GetFormattedTextWidth(record, font);
}

int GetGUIFormattedTextHeight(FormattedText* record, int font)
{
    return GetGameDisplay()->GetFormattedTextHeight(record, font);
}

int DrawGUIFormattedText(FormattedText* record, const RasterRect& rect, int font, int alignment, std::uint32_t colour,
                         int target, int verticalOffset, bool flag)
{
    if (record == nullptr)
        return 0;
    RasterRect placed = rect;
    if (alignment >= 3 && alignment <= 5) {
        placed.top += (rect.Height() - record->m_Height) / 2;
        placed.bottom += (rect.Height() - record->m_Height) / 2;
        alignment -= 3;
    }
    // Horizontal centring is the layout's own, line by line: moving the rectangle as well would centre twice.
    return GetGameDisplay()->DrawWrappedText(record, placed, font, alignment, colour, target, verticalOffset, flag);
}
