// The fixed 44-byte header of an effect file and its checks.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t EFFECT_HEADER_BYTES = 44;

struct EffectHeader {
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    // Clamped to the bytes the file holds after the header.
    std::size_t dataSize = 0;
};

// Reads the header fields (channels at 22, rate at 24, block align at 32, bits at 34, data size at 40). False for
// anything but 1-2 channels of 8 or 16 bits with a non-zero block align.
bool ParseEffectHeader(const std::uint8_t (&header)[EFFECT_HEADER_BYTES], std::uint64_t fileSize,
                       EffectHeader& out);
