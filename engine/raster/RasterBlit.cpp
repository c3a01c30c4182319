#include "engine/raster/RasterBlit.h"

#include <algorithm>
#include <cstring>

namespace {

// Widest destination a stretch serves in one call; wider visible parts are drawn in slices.
constexpr int STRETCH_SLICE = 4096;

// Branch-free so the compiler can vectorise the keyed row.
inline void CopyRowKeyed(std::uint16_t* d, const std::uint16_t* s, int w)
{
    for (int x = 0; x < w; ++x) {
        const std::uint16_t t = s[x];
        d[x] = t != 0 ? t : d[x];
    }
}

} // namespace

void BlitCopy(const PixelTarget& dst, int dx, int dy, const std::uint16_t* src, int srcPitch, int sx, int sy, int w,
              int h, bool keyed)
{
    if (w <= 0 || h <= 0) {
        return;
    }
    const std::uint16_t* s = src + static_cast<std::ptrdiff_t>(sy) * srcPitch + sx;
    std::uint16_t* d = dst.pixels + static_cast<std::ptrdiff_t>(dy) * dst.pitch + dx;
    if (keyed) {
        for (int y = 0; y < h; ++y, s += srcPitch, d += dst.pitch) {
            CopyRowKeyed(d, s, w);
        }
        return;
    }
    if (w == dst.pitch && w == srcPitch) {
        std::memcpy(d, s, static_cast<std::size_t>(w) * h * sizeof(std::uint16_t));
        return;
    }
    for (int y = 0; y < h; ++y, s += srcPitch, d += dst.pitch) {
        std::memcpy(d, s, static_cast<std::size_t>(w) * sizeof(std::uint16_t));
    }
}

void BlitStretch(const PixelTarget& dst, const RasterRect& dest, const RasterRect& visible,
                 const std::uint16_t* src, int srcPitch, const RasterRect& srcRect, bool keyed)
{
    const std::int64_t dw = dest.Width();
    const std::int64_t dh = dest.Height();
    const std::int64_t sw = srcRect.Width();
    const std::int64_t sh = srcRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || visible.right <= visible.left || visible.bottom <= visible.top) {
        return;
    }
    // Source column offsets for the visible columns, computed once per slice.
    static int s_columns[STRETCH_SLICE];
    for (int sliceLeft = visible.left; sliceLeft < visible.right; sliceLeft += STRETCH_SLICE) {
        const int sliceRight = std::min(visible.right, sliceLeft + STRETCH_SLICE);
        const int w = sliceRight - sliceLeft;
        for (int i = 0; i < w; ++i) {
            s_columns[i] = srcRect.left + static_cast<int>((sliceLeft + i - dest.left) * sw / dw);
        }
        int previousRow = -1;
        for (int y = visible.top; y < visible.bottom; ++y) {
            const int sy = srcRect.top + static_cast<int>((y - dest.top) * sh / dh);
            const std::uint16_t* s = src + static_cast<std::ptrdiff_t>(sy) * srcPitch;
            std::uint16_t* d = dst.pixels + static_cast<std::ptrdiff_t>(y) * dst.pitch + sliceLeft;
            // An opaque row that samples the same source row as the one above is a copy of it.
            if (!keyed && sy == previousRow) {
                std::memcpy(d, d - dst.pitch, static_cast<std::size_t>(w) * sizeof(std::uint16_t));
                continue;
            }
            previousRow = sy;
            if (keyed) {
                for (int i = 0; i < w; ++i) {
                    const std::uint16_t t = s[s_columns[i]];
                    d[i] = t != 0 ? t : d[i];
                }
            } else {
                for (int i = 0; i < w; ++i) {
                    d[i] = s[s_columns[i]];
                }
            }
        }
    }
}

void FillPixels(const PixelTarget& dst, const RasterRect& rect, std::uint16_t colour)
{
    const RasterRect r = ClipToArea(rect, dst.width, dst.height);
    const int w = r.Width();
    if (w <= 0 || r.Height() <= 0) {
        return;
    }
    std::uint16_t* d = dst.pixels + static_cast<std::ptrdiff_t>(r.top) * dst.pitch + r.left;
    if (w == dst.pitch) {
        std::fill_n(d, static_cast<std::size_t>(w) * r.Height(), colour);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y, d += dst.pitch) {
        std::fill_n(d, w, colour);
    }
}

RasterRect ClipToArea(const RasterRect& rect, int width, int height)
{
    RasterRect r;
    r.left = std::max(rect.left, 0);
    r.top = std::max(rect.top, 0);
    r.right = std::min(rect.right, width);
    r.bottom = std::min(rect.bottom, height);
    if (r.right < r.left) {
        r.right = r.left;
    }
    if (r.bottom < r.top) {
        r.bottom = r.top;
    }
    return r;
}
