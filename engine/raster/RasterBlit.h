// The software blitter of the raster: copies, colour-keyed copies, nearest-neighbour stretches and fills
// between 16-bit pixel areas. A keyed copy walks the texture's runs of opaque texels when it has them, so
// transparent texels cost nothing; rows dense with short runs take a masked per-texel path instead. Both paths
// write the same pixels.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <cstdint>

// Texels as the blitter reads them: width x height pixels row by row, and their opaque runs (null, or runs that
// do not match the size: every texel is tested).
struct TexelSource {
    const std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    const KeyRuns* runs = nullptr;
};

// The runs of non-zero texels of each row.
void BuildKeyRuns(const std::uint16_t* pixels, int width, int height, KeyRuns& out);

// Whether keyed copies take 32-byte moves where the processor has them (the default); tests turn it off to check
// that the narrower moves draw the same pixels.
void UseWideMoves(bool use);

// Copies a texture onto a target. Without stretching the source is sourceRect or the texture's top-left part
// of the destination's size; with it, sourceRect or the whole texture spread over the destination (each visible
// pixel samples where the unclipped stretch puts it). Rectangles are clipped to the target and the texture.
// keyed skips texels of value 0. False when nothing could be drawn.
bool BlitTexels(const TexelSource& source, const PixelTarget& target, int left, int top, int right, int bottom,
                bool stretch, bool keyed, const RasterRect* sourceRect);

// The rectangle of the target that such a copy writes every pixel of when not keyed; empty when it draws nothing.
RasterRect BlitCoverage(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, int left, int top,
                        int right, int bottom, bool stretch, const RasterRect* sourceRect);

void FillPixels(const PixelTarget& dst, const RasterRect& rect, std::uint16_t colour);

// The intersection of a rectangle with 0, 0, width, height; empty (right <= left) when they do not meet.
RasterRect ClipToArea(const RasterRect& rect, int width, int height);
