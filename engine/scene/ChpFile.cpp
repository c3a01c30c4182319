#include "engine/scene/ChpFile.h"

#include "engine/core/BitmapFile.h"

bool ParseChp(const void* data, std::size_t size, bool allFrames, ChpImage& out)
{
    out = ChpImage{};
    if (data == nullptr || size < CHP_HEADER_SIZE ||
        reinterpret_cast<std::uintptr_t>(data) % alignof(std::uint16_t) != 0) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const auto read16 = [bytes](std::size_t offset) { return bytes[offset] | (bytes[offset + 1] << 8); };
    const int frames = allFrames ? read16(4) : 1;
    const int width = read16(6);
    const int height = read16(8);
    if (width == 0 || height == 0 || !ImageFitsTexture(width, height, ".chp")) {
        return false;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 2;
    if ((size - CHP_HEADER_SIZE) / frameBytes < static_cast<std::size_t>(frames)) {
        return false;
    }
    out.frameCount = frames;
    out.width = width;
    out.height = height;
    out.pixels = reinterpret_cast<const std::uint16_t*>(bytes + CHP_HEADER_SIZE);
    return true;
}
