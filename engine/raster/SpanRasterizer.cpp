#include "engine/raster/SpanRasterizer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int RUN_LENGTH = 16;
// Coordinates beyond this are far outside any target; clamping keeps the integer conversions defined.
constexpr double COORD_LIMIT = 1.0e6;
constexpr double FIXED_LIMIT = 1.0e9;

inline std::int32_t ToFixed(double value)
{
    if (!(value > -FIXED_LIMIT)) {
        return static_cast<std::int32_t>(-FIXED_LIMIT);
    }
    if (!(value < FIXED_LIMIT)) {
        return static_cast<std::int32_t>(FIXED_LIMIT);
    }
    return static_cast<std::int32_t>(std::lround(value));
}

// The texel walk shared by the three texture routines. Write(t, destination) stores one texel.
template <typename Write>
void WalkTexels(const SpanRun& run, const SpanTexture& texture, Write write)
{
    const std::uint32_t width = static_cast<std::uint32_t>(texture.width);
    std::uint16_t* d = run.destination;

    float z = 1.0f / run.w;
    float u = run.uw * z;
    float v = run.vw * z;
    const std::int32_t startU = ToFixed(static_cast<double>(u) * 65536.0);
    const std::int32_t startV = ToFixed(static_cast<double>(v) * 65536.0);
    std::uint32_t index =
        (static_cast<std::uint32_t>(startV >> 16) * width + static_cast<std::uint32_t>(startU >> 16)) & texture.mask;
    std::uint32_t fracU = static_cast<std::uint32_t>(startU) & 0xFFFF;
    std::uint32_t fracV = static_cast<std::uint32_t>(startV) & 0xFFFF;

    // Steps pixels toward (endU, endV) given as per-pixel 16.16 steps.
    const auto step = [&](std::int32_t dU, std::int32_t dV, int pixels) {
        const std::uint32_t indexStep =
            static_cast<std::uint32_t>(dV >> 16) * width + static_cast<std::uint32_t>(dU >> 16);
        const std::uint32_t fracDU = static_cast<std::uint32_t>(dU) & 0xFFFF;
        const std::uint32_t fracDV = static_cast<std::uint32_t>(dV) & 0xFFFF;
        for (int p = 0; p < pixels; ++p) {
            const std::uint16_t t = texture.pixels[index];
            fracV += fracDV;
            if (fracV > 0xFFFF) {
                fracV &= 0xFFFF;
                index += width;
            }
            fracU += fracDU;
            if (fracU > 0xFFFF) {
                fracU &= 0xFFFF;
                index += 1;
            }
            index = (index + indexStep) & texture.mask;
            write(t, d);
            ++d;
        }
    };

    const int runs = run.count / RUN_LENGTH;
    const int rest = run.count % RUN_LENGTH;
    float w = run.w;
    float uw = run.uw;
    float vw = run.vw;
    for (int k = 0; k < runs; ++k) {
        const float wEnd = w + 15.0f * run.dw;
        const float zEnd = 1.0f / wEnd;
        const float uEnd = (uw + 15.0f * run.duw) * zEnd;
        const float vEnd = (vw + 15.0f * run.dvw) * zEnd;
        step(ToFixed((static_cast<double>(uEnd) - u) * 4096.0), ToFixed((static_cast<double>(vEnd) - v) * 4096.0),
             RUN_LENGTH);
        u = uEnd;
        v = vEnd;
        w += RUN_LENGTH * run.dw;
        uw += RUN_LENGTH * run.duw;
        vw += RUN_LENGTH * run.dvw;
    }
    if (rest > 0) {
        const float zEnd = 1.0f / run.wEnd;
        const double uEnd = static_cast<double>(run.uwEnd) * zEnd;
        const double vEnd = static_cast<double>(run.vwEnd) * zEnd;
        step(ToFixed((uEnd - u) * 65536.0 / rest), ToFixed((vEnd - v) * 65536.0 / rest), rest);
    }
}

} // namespace

int CeilPixel(float t)
{
    const double clamped = std::clamp(static_cast<double>(t), -COORD_LIMIT, COORD_LIMIT);
    const long long fixed = std::llround((clamped + 0.999) * 65536.0);
    return static_cast<int>(fixed >> 16);
}

void SpanOpaque(const SpanRun& run, const SpanTexture& texture)
{
    WalkTexels(run, texture, [](std::uint16_t t, std::uint16_t* d) { *d = t; });
}

void SpanKeyed(const SpanRun& run, const SpanTexture& texture)
{
    WalkTexels(run, texture, [](std::uint16_t t, std::uint16_t* d) {
        if (t != 0) {
            *d = t;
        }
    });
}

void SpanBlended(const SpanRun& run, const SpanTexture& texture, const ColorTables& tables)
{
    WalkTexels(run, texture, [&tables](std::uint16_t t, std::uint16_t* d) {
        if (t != 0) {
            *d = tables.Blend(t, *d);
        }
    });
}

void SpanFill(std::uint16_t* destination, int count, std::uint16_t colour)
{
    std::fill_n(destination, count, colour);
}

void SpanRasterizer::SetTarget(const PixelTarget& target)
{
    m_Target = target;
    if (m_Rows.size() < static_cast<std::size_t>(std::max(target.height, 0))) {
        m_Rows.resize(static_cast<std::size_t>(target.height));
    }
}

void SpanRasterizer::WalkEdge(const Vertex& first, const Vertex& second, bool rightSide)
{
    const Vertex& a = first.y <= second.y ? first : second;
    const Vertex& b = first.y <= second.y ? second : first;
    const float height = b.y - a.y;
    if (!(height >= 0.01f)) {
        return;
    }
    const float dx = (b.x - a.x) / height;
    const float dw = (b.w - a.w) / height;
    const float duw = (b.uw - a.uw) / height;
    const float dvw = (b.vw - a.vw) / height;

    int r0 = CeilPixel(a.y);
    float x = a.x;
    float w = a.w;
    float uw = a.uw;
    float vw = a.vw;
    const float pre = static_cast<float>(r0) - a.y;
    if (pre <= height) {
        x += dx * pre;
        w += dw * pre;
        uw += duw * pre;
        vw += dvw * pre;
    }
    int r1 = CeilPixel(b.y);
    if (r0 < 0) {
        if (r1 < 1) {
            return;
        }
        const float skipped = static_cast<float>(-r0);
        x += dx * skipped;
        w += dw * skipped;
        uw += duw * skipped;
        vw += dvw * skipped;
        r0 = 0;
    }
    r1 = std::min({r1, m_Target.height, static_cast<int>(m_Rows.size())});
    for (int r = r0; r < r1; ++r) {
        SpanRow& row = m_Rows[r];
        if (rightSide) {
            row.xRight = x;
            row.wRight = w;
            row.uwRight = uw;
            row.vwRight = vw;
        } else {
            row.xLeft = x;
            row.wLeft = w;
            row.uwLeft = uw;
            row.vwLeft = vw;
        }
        x += dx;
        w += dw;
        uw += duw;
        vw += dvw;
    }
    if (r0 < r1) {
        const int side = rightSide ? 1 : 0;
        m_FirstRow[side] = std::min(m_FirstRow[side], r0);
        m_LastRow[side] = std::max(m_LastRow[side], r1);
    }
}

void SpanRasterizer::DrawTriangle(const DrawPrimitive& record, const std::uint16_t* texturePixels, int textureWidth,
                                  int textureHeight)
{
    if (m_Target.pixels == nullptr) {
        return;
    }
    for (int side = 0; side < 2; ++side) {
        m_FirstRow[side] = 999999;
        m_LastRow[side] = -999999;
    }

    const float xs[3] = {record.x0, record.x1, record.x2};
    const float ys[3] = {record.y0, record.y1, record.y2};
    const float zs[3] = {record.w0, record.w1, record.w2};
    const float us[3] = {record.u0, record.u1, record.u2};
    const float vs[3] = {record.v0, record.v1, record.v2};
    Vertex vertex[3];
    for (int i = 0; i < 3; ++i) {
        const float w = 1.0f / zs[i];
        vertex[i] = Vertex{xs[i], ys[i], w, us[i] * w, vs[i] * w};
    }

    int top = 0;
    if (ys[1] < ys[0] || (ys[1] == ys[0] && xs[1] <= xs[0])) {
        top = 1;
    }
    if (ys[2] < ys[top] || (ys[2] == ys[top] && xs[2] < xs[top])) {
        top = 2;
    }
    const int next = (top + 1) % 3;
    const int prev = (top + 2) % 3;
    WalkEdge(vertex[top], vertex[next], true);
    WalkEdge(vertex[top], vertex[prev], false);
    WalkEdge(vertex[next], vertex[prev], ys[prev] > ys[next]);

    const bool textured = texturePixels != nullptr && textureWidth > 0 && textureHeight > 0;
    const bool blended = (record.flags & PRIM_TRIANGLE_BLENDED) != 0;
    const bool keyed = (record.flags & PRIM_COLOR_KEY) != 0;
    const SpanTexture texture{texturePixels, textureWidth,
                              static_cast<std::uint32_t>(textureWidth) * static_cast<std::uint32_t>(textureHeight) - 1};
    const std::uint16_t colour = static_cast<std::uint16_t>(record.item);

    const int firstRow = std::max({m_FirstRow[0], m_FirstRow[1], 0});
    const int lastRow = std::min(m_LastRow[0], m_LastRow[1]);
    for (int r = firstRow; r < lastRow; ++r) {
        const SpanRow& row = m_Rows[r];
        const float spanWidth = row.xRight - row.xLeft;
        if (spanWidth == 0.0f) {
            continue;
        }
        int x0 = CeilPixel(row.xLeft);
        int x1 = CeilPixel(row.xRight);
        if (x1 - x0 <= 0) {
            continue;
        }
        std::uint16_t* rowPixels = m_Target.pixels + static_cast<std::ptrdiff_t>(r) * m_Target.pitch;
        const int clippedX0 = std::max(x0, 0);
        const int clippedX1 = std::min(x1, m_Target.width);
        if (clippedX1 <= clippedX0) {
            continue;
        }
        if (!textured) {
            SpanFill(rowPixels + clippedX0, clippedX1 - clippedX0, colour);
            continue;
        }
        SpanRun run;
        run.dw = (row.wRight - row.wLeft) / spanWidth;
        run.duw = (row.uwRight - row.uwLeft) / spanWidth;
        run.dvw = (row.vwRight - row.vwLeft) / spanWidth;
        run.w = row.wLeft;
        run.uw = row.uwLeft;
        run.vw = row.vwLeft;
        const float pre = static_cast<float>(x0) - row.xLeft;
        if (pre <= spanWidth) {
            run.w += run.dw * pre;
            run.uw += run.duw * pre;
            run.vw += run.dvw * pre;
        }
        run.wEnd = row.wRight;
        run.uwEnd = row.uwRight;
        run.vwEnd = row.vwRight;
        // Clipping pre-steps the start and moves the end sample to the clipped end.
        if (clippedX0 > x0) {
            const float skipped = static_cast<float>(clippedX0 - x0);
            run.w += run.dw * skipped;
            run.uw += run.duw * skipped;
            run.vw += run.dvw * skipped;
        }
        run.count = clippedX1 - clippedX0;
        if (clippedX1 < x1) {
            const float n = static_cast<float>(run.count);
            run.wEnd = run.w + run.dw * n;
            run.uwEnd = run.uw + run.duw * n;
            run.vwEnd = run.vw + run.dvw * n;
        }
        run.destination = rowPixels + clippedX0;
        if (blended) {
            SpanBlended(run, texture, m_Tables);
        } else if (keyed) {
            SpanKeyed(run, texture);
        } else {
            SpanOpaque(run, texture);
        }
    }
}
