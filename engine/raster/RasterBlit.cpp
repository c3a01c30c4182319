#include "engine/raster/RasterBlit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESSEL_WIDE_MOVES 1
#define TESSEL_WIDE [[gnu::target("avx2")]]
#else
#define TESSEL_WIDE_MOVES 0
#endif

// The hot loops are written with SSE2 intrinsics where the target has them (every x86-64), so their speed does
// not hang on the optimiser's vectorising; elsewhere the plain loops below them do all the work. The keyed copy,
// the one most of a frame's sprites take, also has a variant with 32-byte moves, chosen at run time where the
// processor has them.

namespace {

#if TESSEL_WIDE_MOVES
bool ProcessorHasWideMoves()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
const bool s_processorHasWideMoves = ProcessorHasWideMoves();
bool s_wideMoves = s_processorHasWideMoves;
#endif

// Widest destination a stretch serves in one call; wider visible parts are drawn in slices.
constexpr int STRETCH_SLICE = 4096;
// A texture row with more runs than one per this many texels is copied texel by texel (masked), not run by run:
// the choice depends on the row alone, whatever part of it a copy takes.
constexpr int DENSE_RUN_PIXELS = 16;

// The runs when they describe the source's size.
const KeyRuns* MatchingRuns(const TexelSource& source)
{
    const KeyRuns* runs = source.runs;
    if (runs == nullptr || runs->rowFirst.size() != static_cast<std::size_t>(source.height) + 1) {
        return nullptr;
    }
    return runs;
}

// Runs of sprites are short: a call to memcpy costs more than copying them inline with overlapping moves, up to
// rows of a large sprite.
inline void CopyPixels(std::uint16_t* d, const std::uint16_t* s, int count)
{
    constexpr int INLINE_LIMIT = 128;
    if (count > INLINE_LIMIT) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * sizeof(std::uint16_t));
        return;
    }
#if defined(__SSE2__)
    if (count >= 8) {
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + count - 8));
        for (int i = 0; i + 8 <= count; i += 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + count - 8), last);
        return;
    }
#else
    if (count > 8) {
        std::memcpy(d, s, static_cast<std::size_t>(count) * sizeof(std::uint16_t));
        return;
    }
#endif
    // 4 to 8 texels: two overlapping moves of four.
    if (count >= 4) {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::memcpy(&head, s, sizeof head);
        std::memcpy(&tail, s + count - 4, sizeof tail);
        std::memcpy(d, &head, sizeof head);
        std::memcpy(d + count - 4, &tail, sizeof tail);
        return;
    }
    for (int i = 0; i < count; ++i) {
        d[i] = s[i];
    }
}

// d[x] = s[x] wherever s[x] is not the key 0.
void CopyRowMasked(std::uint16_t* d, const std::uint16_t* s, int w)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 8 <= w; x += 8) {
        const __m128i texels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
        const __m128i key = _mm_cmpeq_epi16(texels, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x),
                         _mm_or_si128(_mm_and_si128(key, below), _mm_andnot_si128(key, texels)));
    }
#endif
    for (; x < w; ++x) {
        const std::uint16_t t = s[x];
        d[x] = t != 0 ? t : d[x];
    }
}

// The spans of rows sy to sy + h - 1, cut to the columns [sx, end), copied to d (which stands for texel sx, sy).
// Row pointers step by the pitches, so a span costs no multiplication.
void CopySpans(std::uint16_t* d, std::ptrdiff_t dPitch, const std::uint16_t* texels, std::ptrdiff_t pitch, int sx,
               int sy, int h, int end, const KeyRuns& runs)
{
    const KeySpan* span = runs.spans.data() + runs.rowFirst[static_cast<std::size_t>(sy)];
    const std::uint32_t* rowEnd = runs.rowFirst.data() + sy + 1;
    const std::uint16_t* row = texels + sy * pitch;
    for (int y = 0; y < h; ++y, d += dPitch, row += pitch) {
        for (const KeySpan* last = runs.spans.data() + rowEnd[y]; span != last; ++span) {
            const int a = std::max<int>(span->x, sx);
            const int b = std::min<int>(span->x + span->length, end);
            if (a >= b) {
                continue;
            }
            if (span->masked != 0) {
                CopyRowMasked(d + (a - sx), row + a, b - a);
            } else {
                CopyPixels(d + (a - sx), row + a, b - a);
            }
        }
    }
}

#if TESSEL_WIDE_MOVES
// Sixteen texels. (Lambdas would not take the function's target, so these are functions.)
TESSEL_WIDE inline __m256i Load16(const std::uint16_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

TESSEL_WIDE inline void Store16(std::uint16_t* p, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// CopyPixels with 32-byte moves: up to 64 texels in at most four moves (the last ones overlapping), no loop.
TESSEL_WIDE inline void CopyPixelsWide(std::uint16_t* d, const std::uint16_t* s, int count)
{
    constexpr int INLINE_LIMIT = 128;
    if (count >= 16) {
        if (count <= 32) {
            const __m256i head = Load16(s);
            const __m256i tail = Load16(s + count - 16);
            Store16(d, head);
            Store16(d + count - 16, tail);
            return;
        }
        if (count <= 64) {
            const __m256i a = Load16(s);
            const __m256i b = Load16(s + 16);
            const __m256i c = Load16(s + count - 32);
            const __m256i e = Load16(s + count - 16);
            Store16(d, a);
            Store16(d + 16, b);
            Store16(d + count - 32, c);
            Store16(d + count - 16, e);
            return;
        }
        if (count > INLINE_LIMIT) {
            std::memcpy(d, s, static_cast<std::size_t>(count) * sizeof(std::uint16_t));
            return;
        }
        const __m256i tail = Load16(s + count - 16);
        for (int i = 0; i + 16 < count; i += 16) {
            Store16(d + i, Load16(s + i));
        }
        Store16(d + count - 16, tail);
        return;
    }
    if (count >= 8) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + count - 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), head);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + count - 8), tail);
        return;
    }
    if (count >= 4) {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::memcpy(&head, s, sizeof head);
        std::memcpy(&tail, s + count - 4, sizeof tail);
        std::memcpy(d, &head, sizeof head);
        std::memcpy(d + count - 4, &tail, sizeof tail);
        return;
    }
    if (count >= 2) {
        std::uint32_t head = 0;
        std::uint32_t tail = 0;
        std::memcpy(&head, s, sizeof head);
        std::memcpy(&tail, s + count - 2, sizeof tail);
        std::memcpy(d, &head, sizeof head);
        std::memcpy(d + count - 2, &tail, sizeof tail);
        return;
    }
    if (count == 1) {
        d[0] = s[0];
    }
}

// CopyRowMasked 16 texels a move; a last move overlapping the one before is harmless, as the masked copy gives
// the same pixel when done twice.
TESSEL_WIDE inline void CopyRowMaskedWide(std::uint16_t* d, const std::uint16_t* s, int w)
{
    if (w < 16) {
        CopyRowMasked(d, s, w);
        return;
    }
    const __m256i zero = _mm256_setzero_si256();
    for (int x = 0; x + 16 < w; x += 16) {
        const __m256i texels = Load16(s + x);
        Store16(d + x, _mm256_blendv_epi8(texels, Load16(d + x), _mm256_cmpeq_epi16(texels, zero)));
    }
    const __m256i texels = Load16(s + w - 16);
    Store16(d + w - 16, _mm256_blendv_epi8(texels, Load16(d + w - 16), _mm256_cmpeq_epi16(texels, zero)));
}

TESSEL_WIDE void CopySpansWide(std::uint16_t* d, std::ptrdiff_t dPitch, const std::uint16_t* texels,
                               std::ptrdiff_t pitch, int sx, int sy, int h, int end, const KeyRuns& runs)
{
    const KeySpan* span = runs.spans.data() + runs.rowFirst[static_cast<std::size_t>(sy)];
    const std::uint32_t* rowEnd = runs.rowFirst.data() + sy + 1;
    const std::uint16_t* row = texels + sy * pitch;
    for (int y = 0; y < h; ++y, d += dPitch, row += pitch) {
        for (const KeySpan* last = runs.spans.data() + rowEnd[y]; span != last; ++span) {
            const int a = std::max<int>(span->x, sx);
            const int b = std::min<int>(span->x + span->length, end);
            if (a >= b) {
                continue;
            }
            if (span->masked != 0) {
                CopyRowMaskedWide(d + (a - sx), row + a, b - a);
            } else {
                CopyPixelsWide(d + (a - sx), row + a, b - a);
            }
        }
    }
}
#endif

void FillRow(std::uint16_t* d, std::size_t count, std::uint16_t colour)
{
    if ((colour & 0xFF) == (colour >> 8)) {
        std::memset(d, colour & 0xFF, count * sizeof(std::uint16_t));
        return;
    }
    std::size_t x = 0;
#if defined(__SSE2__)
    const __m128i pattern = _mm_set1_epi16(static_cast<short>(colour));
    for (; x + 32 <= count; x += 32) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), pattern);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x + 8), pattern);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x + 16), pattern);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x + 24), pattern);
    }
    for (; x + 8 <= count; x += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), pattern);
    }
#endif
    for (; x < count; ++x) {
        d[x] = colour;
    }
}

// Ceiling of n / d for d > 0 and any n.
inline std::int64_t CeilDiv(std::int64_t n, std::int64_t d)
{
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

// Copies w x h texels from (sx, sy) of the source to (dx, dy) of dst; both rectangles lie inside their areas.
void BlitCopy(const PixelTarget& dst, int dx, int dy, const TexelSource& source, int sx, int sy, int w, int h,
              bool keyed)
{
    if (w <= 0 || h <= 0) {
        return;
    }
    const int pitch = source.width;
    std::uint16_t* d = dst.pixels + static_cast<std::ptrdiff_t>(dy) * dst.pitch + dx;
    if (keyed) {
        const KeyRuns* runs = MatchingRuns(source);
        if (runs == nullptr) {
            const std::uint16_t* row = source.pixels + static_cast<std::ptrdiff_t>(sy) * pitch + sx;
            for (int y = 0; y < h; ++y, row += pitch, d += dst.pitch) {
                CopyRowMasked(d, row, w);
            }
            return;
        }
#if TESSEL_WIDE_MOVES
        if (s_wideMoves) {
            CopySpansWide(d, dst.pitch, source.pixels, pitch, sx, sy, h, sx + w, *runs);
            return;
        }
#endif
        CopySpans(d, dst.pitch, source.pixels, pitch, sx, sy, h, sx + w, *runs);
        return;
    }
    const std::uint16_t* s = source.pixels + static_cast<std::ptrdiff_t>(sy) * pitch + sx;
    if (w == dst.pitch && w == pitch) {
        std::memcpy(d, s, static_cast<std::size_t>(w) * h * sizeof(std::uint16_t));
        return;
    }
    for (int y = 0; y < h; ++y, s += pitch, d += dst.pitch) {
        std::memcpy(d, s, static_cast<std::size_t>(w) * sizeof(std::uint16_t));
    }
}

// d[i] = s[columns[i]]: restrict-qualified and unrolled, so the loads of the table and the texels are not held
// back by the stores the compiler must otherwise assume may alias them.
void SampleRow(std::uint16_t* __restrict d, const std::uint16_t* __restrict s, const int* __restrict columns, int w)
{
    int i = 0;
    for (; i + 4 <= w; i += 4) {
        const std::uint16_t a = s[columns[i]];
        const std::uint16_t b = s[columns[i + 1]];
        const std::uint16_t c = s[columns[i + 2]];
        const std::uint16_t e = s[columns[i + 3]];
        d[i] = a;
        d[i + 1] = b;
        d[i + 2] = c;
        d[i + 3] = e;
    }
    for (; i < w; ++i) {
        d[i] = s[columns[i]];
    }
}

// Fills [visible) with srcRect stretched onto the whole of dest (nearest neighbour): destination pixel x samples
// source column srcRect.left + (x - dest.left) x srcWidth / destWidth, rows likewise.
void BlitStretch(const PixelTarget& dst, const RasterRect& dest, const RasterRect& visible, const TexelSource& source,
                 const RasterRect& srcRect, bool keyed)
{
    const std::int64_t dw = dest.Width();
    const std::int64_t dh = dest.Height();
    const std::int64_t sw = srcRect.Width();
    const std::int64_t sh = srcRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || visible.right <= visible.left || visible.bottom <= visible.top) {
        return;
    }
    const KeyRuns* runs = keyed ? MatchingRuns(source) : nullptr;
    // Source column offsets for the visible columns, computed once per slice; aligned, so that the sampling
    // loop's speed does not depend on where the binary happens to place the table.
    alignas(64) static int s_columns[STRETCH_SLICE];
    for (int sliceLeft = visible.left; sliceLeft < visible.right; sliceLeft += STRETCH_SLICE) {
        const int sliceRight = std::min(visible.right, sliceLeft + STRETCH_SLICE);
        const int w = sliceRight - sliceLeft;
        for (int i = 0; i < w; ++i) {
            s_columns[i] = srcRect.left + static_cast<int>((sliceLeft + i - dest.left) * sw / dw);
        }
        int previousRow = -1;
        for (int y = visible.top; y < visible.bottom; ++y) {
            const int sy = srcRect.top + static_cast<int>((y - dest.top) * sh / dh);
            const std::uint16_t* s = source.pixels + static_cast<std::ptrdiff_t>(sy) * source.width;
            std::uint16_t* d = dst.pixels + static_cast<std::ptrdiff_t>(y) * dst.pitch + sliceLeft;
            if (!keyed) {
                // A row that samples the same source row as the one above is a copy of it.
                if (sy == previousRow) {
                    std::memcpy(d, d - dst.pitch, static_cast<std::size_t>(w) * sizeof(std::uint16_t));
                } else {
                    SampleRow(d, s, s_columns, w);
                }
                previousRow = sy;
                continue;
            }
            if (runs == nullptr) {
                for (int i = 0; i < w; ++i) {
                    const std::uint16_t t = s[s_columns[i]];
                    d[i] = t != 0 ? t : d[i];
                }
                continue;
            }
            const KeySpan* first = runs->spans.data() + runs->rowFirst[sy];
            const KeySpan* last = runs->spans.data() + runs->rowFirst[sy + 1];
            // The destination columns whose samples fall in each run: from ceil((a - left) x dw / sw) up to,
            // not including, ceil((b - left) x dw / sw), relative to dest.left.
            const std::int64_t offset = static_cast<std::int64_t>(dest.left) - sliceLeft;
            for (const KeySpan* span = first; span != last; ++span) {
                const std::int64_t a = static_cast<std::int64_t>(span->x) - srcRect.left;
                const std::int64_t b = a + span->length;
                const int j0 = static_cast<int>(std::max<std::int64_t>(CeilDiv(a * dw, sw) + offset, 0));
                const int j1 = static_cast<int>(std::min<std::int64_t>(CeilDiv(b * dw, sw) + offset, w));
                if (span->masked != 0) {
                    for (int j = j0; j < j1; ++j) {
                        const std::uint16_t t = s[s_columns[j]];
                        d[j] = t != 0 ? t : d[j];
                    }
                    continue;
                }
                for (int j = j0; j < j1; ++j) {
                    d[j] = s[s_columns[j]];
                }
            }
        }
    }
}

} // namespace

void BuildKeyRuns(const std::uint16_t* pixels, int width, int height, KeyRuns& out)
{
    out.spans.clear();
    out.rowFirst.clear();
    if (pixels == nullptr || width <= 0 || height <= 0 || width > MAX_TEXTURE_SIDE) {
        return;
    }
    out.rowFirst.reserve(static_cast<std::size_t>(height) + 1);
    out.rowFirst.push_back(0);
    for (int y = 0; y < height; ++y) {
        const std::uint16_t* row = pixels + static_cast<std::ptrdiff_t>(y) * width;
        const std::size_t rowStart = out.spans.size();
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == 0) {
                ++x;
            }
            const int start = x;
            while (x < width && row[x] != 0) {
                ++x;
            }
            if (x > start) {
                out.spans.push_back(KeySpan{static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(x - start), 0});
            }
        }
        const std::size_t count = out.spans.size() - rowStart;
        if (count * DENSE_RUN_PIXELS > static_cast<std::size_t>(width)) {
            const KeySpan whole{out.spans[rowStart].x,
                                static_cast<std::uint16_t>(out.spans.back().x + out.spans.back().length -
                                                           out.spans[rowStart].x),
                                1};
            out.spans.resize(rowStart);
            out.spans.push_back(whole);
        }
        out.rowFirst.push_back(static_cast<std::uint32_t>(out.spans.size()));
    }
}

void UseWideMoves(bool use)
{
#if TESSEL_WIDE_MOVES
    s_wideMoves = use && s_processorHasWideMoves;
#else
    (void)use;
#endif
}

namespace {

// Where a copy of a sourceWidth x sourceHeight texture lands on a targetWidth x targetHeight target, clipped to
// both: the copy's corners and size, or the stretch's whole and visible destinations and its source.
struct BlitGeometry {
    bool stretch = false;
    int x0 = 0;
    int y0 = 0;
    int sx = 0;
    int sy = 0;
    int w = 0;
    int h = 0;
    RasterRect dest;
    RasterRect visible;
    RasterRect src;
};

bool PlanBlit(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, int left, int top, int right,
              int bottom, bool stretch, const RasterRect* sourceRect, BlitGeometry& g)
{
    const RasterRect clamped = RasterRect{left, top, right, bottom}.Clamped();
    int x0 = clamped.left;
    int y0 = clamped.top;
    const int x1 = clamped.right;
    const int y1 = clamped.bottom;
    if (sourceWidth <= 0 || sourceHeight <= 0) {
        return false;
    }
    if (x0 > targetWidth || x1 < 0 || y0 > targetHeight || y1 < 0) {
        return false;
    }
    RasterRect src;
    if (sourceRect != nullptr && sourceRect->IsValidSource()) {
        src = sourceRect->Clamped();
    } else if (stretch) {
        src = RasterRect{0, 0, sourceWidth, sourceHeight};
    } else {
        src = RasterRect{0, 0, x1 - x0, y1 - y0};
    }
    g.stretch = stretch;
    if (!stretch) {
        // Clip the destination to the target, moving the source edges with it, then to the texture.
        int sx = src.left;
        int sy = src.top;
        int w = std::min(src.Width(), x1 - x0);
        int h = std::min(src.Height(), y1 - y0);
        if (x0 < 0) {
            sx -= x0;
            w += x0;
            x0 = 0;
        }
        if (y0 < 0) {
            sy -= y0;
            h += y0;
            y0 = 0;
        }
        if (sx < 0) {
            x0 -= sx;
            w += sx;
            sx = 0;
        }
        if (sy < 0) {
            y0 -= sy;
            h += sy;
            sy = 0;
        }
        g.x0 = x0;
        g.y0 = y0;
        g.sx = sx;
        g.sy = sy;
        g.w = std::min({w, targetWidth - x0, sourceWidth - sx});
        g.h = std::min({h, targetHeight - y0, sourceHeight - sy});
        return true;
    }
    g.src = ClipToArea(src, sourceWidth, sourceHeight);
    g.dest = RasterRect{x0, y0, x1, y1};
    g.visible = ClipToArea(g.dest, targetWidth, targetHeight);
    return true;
}

} // namespace

bool BlitTexels(const TexelSource& source, const PixelTarget& target, int left, int top, int right, int bottom,
                bool stretch, bool keyed, const RasterRect* sourceRect)
{
    if (source.pixels == nullptr || target.pixels == nullptr) {
        return false;
    }
    BlitGeometry g;
    if (!PlanBlit(source.width, source.height, target.width, target.height, left, top, right, bottom, stretch,
                  sourceRect, g)) {
        return false;
    }
    if (!g.stretch) {
        BlitCopy(target, g.x0, g.y0, source, g.sx, g.sy, g.w, g.h, keyed);
    } else {
        BlitStretch(target, g.dest, g.visible, source, g.src, keyed);
    }
    return true;
}

RasterRect BlitCoverage(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, int left, int top,
                        int right, int bottom, bool stretch, const RasterRect* sourceRect)
{
    BlitGeometry g;
    if (!PlanBlit(sourceWidth, sourceHeight, targetWidth, targetHeight, left, top, right, bottom, stretch,
                  sourceRect, g)) {
        return RasterRect{};
    }
    if (!g.stretch) {
        return g.w > 0 && g.h > 0 ? RasterRect{g.x0, g.y0, g.x0 + g.w, g.y0 + g.h} : RasterRect{};
    }
    const bool drawn = g.dest.Width() > 0 && g.dest.Height() > 0 && g.src.Width() > 0 && g.src.Height() > 0;
    return drawn ? g.visible : RasterRect{};
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
        FillRow(d, static_cast<std::size_t>(w) * r.Height(), colour);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y, d += dst.pitch) {
        FillRow(d, static_cast<std::size_t>(w), colour);
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
