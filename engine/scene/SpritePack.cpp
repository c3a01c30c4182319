#include "engine/scene/SpritePack.h"

#include "engine/core/BitmapFile.h"
#include "engine/core/PrivateHeap.h"

#include <cstring>

namespace {

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

std::vector<SpriteFrame> ReadSpriteFrames(const std::uint8_t* data, std::size_t size)
{
    std::vector<SpriteFrame> frames;
    if (data == nullptr || size < 4) {
        return frames;
    }
    const auto count = static_cast<std::int32_t>(ReadU32(data));
    for (std::int64_t f = 0; f < count; ++f) {
        // The offset table itself may be cut short by the file.
        const std::size_t entry = 4 + static_cast<std::size_t>(f) * 4;
        if (entry + 4 > size) {
            break;
        }
        const std::size_t offset = ReadU32(data + entry);
        if (offset > size || size - offset < SPRITE_FRAME_HEADER_SIZE) {
            continue;
        }
        const int width = ReadU16(data + offset);
        const int height = ReadU16(data + offset + 2);
        const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 2;
        if (width == 0 || height == 0 || size - offset - SPRITE_FRAME_HEADER_SIZE < bytes ||
            !ImageFitsTexture(width, height, "sprite")) {
            continue;
        }
        const std::uint8_t* source = data + offset + SPRITE_FRAME_HEADER_SIZE;
        if (reinterpret_cast<std::uintptr_t>(source) % alignof(std::uint16_t) != 0) {
            void* copy = PrivateAlloc(bytes);
            if (copy == nullptr) {
                continue;
            }
            std::memcpy(copy, source, bytes);
            source = static_cast<const std::uint8_t*>(copy);
        }
        frames.push_back({width, height, reinterpret_cast<const std::uint16_t*>(source)});
    }
    return frames;
}
