// The program's raw pixel files (.chp): a 10-byte header (reserved word, frame count, width, height), then the
// frames back to back, each width x height 1-5-5-5 pixels row by row from the top.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t CHP_HEADER_SIZE = 10;

struct ChpImage {
    int frameCount = 0;
    int width = 0;
    int height = 0;
    const std::uint16_t* pixels = nullptr;  // the first frame, inside the caller's data

    const std::uint16_t* Frame(int f) const { return pixels + static_cast<std::size_t>(f) * width * height; }
};

// With allFrames the header's frame count is used, else one frame. False when the data is shorter than
// 10 + width x height x 2 x frames, a side is 0, or the data is not 2-byte aligned.
bool ParseChp(const void* data, std::size_t size, bool allFrames, ChpImage& out);
