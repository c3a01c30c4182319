#include "engine/sound/WaveHeader.h"

#include <algorithm>

namespace {

std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

int ReadLe16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

} // namespace

bool ParseEffectHeader(const std::uint8_t (&header)[EFFECT_HEADER_BYTES], std::uint64_t fileSize,
                       EffectHeader& out)
{
    out = EffectHeader{};
    EffectHeader h;
    h.channels = ReadLe16(header + 22);
    // Kept as read; the mixer refuses rates it cannot play.
    h.sampleRate = static_cast<int>(std::min<std::uint32_t>(ReadLe32(header + 24), 0x7FFFFFFF));
    h.blockAlign = ReadLe16(header + 32);
    h.bitsPerSample = ReadLe16(header + 34);
    if (h.channels < 1 || h.channels > 2)
        return false;
    if (h.bitsPerSample != 8 && h.bitsPerSample != 16)
        return false;
    if (h.blockAlign == 0)
        return false;
    const std::uint64_t available = fileSize > EFFECT_HEADER_BYTES ? fileSize - EFFECT_HEADER_BYTES : 0;
    h.dataSize = static_cast<std::size_t>(std::min<std::uint64_t>(ReadLe32(header + 40), available));
    out = h;
    return true;
}
