// Scan conversion of the raster's triangles into horizontal spans, and the four span routines: opaque, keyed and
// blended perspective-correct texture copies (one division per run of 16 pixels, 16.16 stepping between) and the
// flat fill. Spans are clipped to the target on all four sides.
#pragma once

#include "engine/raster/ColorTables.h"
#include "engine/raster/RasterTypes.h"

#include <cstdint>
#include <vector>

// floor(t + 0.999) as the rasterizer rounds it, clamped to a range no target reaches.
int CeilPixel(float t);

struct SpanRow {
    float xLeft = 0, xRight = 0;
    float wLeft = 0, wRight = 0;
    float uwLeft = 0, uwRight = 0;
    float vwLeft = 0, vwRight = 0;
};

// What a span routine needs: the first destination pixel, the count and the perspective values at its ends.
struct SpanRun {
    std::uint16_t* destination = nullptr;
    int count = 0;
    float w = 0, uw = 0, vw = 0;           // at the first pixel
    float dw = 0, duw = 0, dvw = 0;        // per pixel
    float wEnd = 0, uwEnd = 0, vwEnd = 0;  // the sample the last pixels step toward
};

struct SpanTexture {
    const std::uint16_t* pixels = nullptr;
    int width = 0;
    std::uint32_t mask = 0;
};

void SpanOpaque(const SpanRun& run, const SpanTexture& texture);
void SpanKeyed(const SpanRun& run, const SpanTexture& texture);
void SpanBlended(const SpanRun& run, const SpanTexture& texture, const ColorTables& tables);
void SpanFill(std::uint16_t* destination, int count, std::uint16_t colour);

class SpanRasterizer {
public:
    ColorTables& Tables() { return m_Tables; }
    const ColorTables& Tables() const { return m_Tables; }

    // The span table follows the target's height, so triangles reach the bottom of any back buffer.
    void SetTarget(const PixelTarget& target);
    // record: a triangle primitive (x, y, w = z / 15, u, v in texels); texture: its converted pixels or null
    // for a flat triangle in the colour of record.item.
    void DrawTriangle(const DrawPrimitive& record, const std::uint16_t* texturePixels, int textureWidth,
                      int textureHeight);

private:
    struct Vertex {
        float x, y, w, uw, vw;
    };
    void WalkEdge(const Vertex& a, const Vertex& b, bool rightSide);

    PixelTarget m_Target;
    ColorTables m_Tables;
    std::vector<SpanRow> m_Rows;
    // Rows each side wrote, first and one past the last: a row only one side reached keeps the other side of an
    // earlier triangle, so only rows both reached are drawn.
    int m_FirstRow[2] = {0, 0};
    int m_LastRow[2] = {0, 0};
};
