// Sprite packs (loadsprite, loadramtexture), little-endian: a signed frame count n, n frame offsets from the
// start of the file, and at each offset a frame: width (2 bytes), height (2), 4 unused bytes, then
// width x height 16-bit pixels row by row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t SPRITE_FRAME_HEADER_SIZE = 8;

struct SpriteFrame {
    int width = 0;
    int height = 0;
    const std::uint16_t* pixels = nullptr;
};

// The frames that lie wholly inside the data, in file order; others are skipped. Pixels at an odd address are
// copied to the private heap (frames whose copy fails are skipped too), so every frame reads as 16-bit words.
std::vector<SpriteFrame> ReadSpriteFrames(const std::uint8_t* data, std::size_t size);
