// The software blitter of the raster: copies, colour-keyed copies, nearest-neighbour stretches and fills
// between 16-bit pixel areas. Callers pass rectangles already clipped to both areas.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <cstdint>

// Copies w x h pixels from (sx, sy) of src to (dx, dy) of dst; keyed skips source pixels of value 0.
void BlitCopy(const PixelTarget& dst, int dx, int dy, const std::uint16_t* src, int srcPitch, int sx, int sy, int w,
              int h, bool keyed);

// Fills the destination rectangle [visible) with the source rectangle src stretched onto the whole destination
// rectangle dest (nearest neighbour); visible lies inside dest and inside dst. Destination pixel x samples
// source column src.left + (x - dest.left) x srcWidth / destWidth, rows likewise.
void BlitStretch(const PixelTarget& dst, const RasterRect& dest, const RasterRect& visible,
                 const std::uint16_t* src, int srcPitch, const RasterRect& srcRect, bool keyed);

void FillPixels(const PixelTarget& dst, const RasterRect& rect, std::uint16_t colour);

// The intersection of a rectangle with 0, 0, width, height; empty (right <= left) when they do not meet.
RasterRect ClipToArea(const RasterRect& rect, int width, int height);
