// libFuzzer target over the sprite-pack reader: every frame it returns lies wholly inside the data (or in its
// aligned copy in the private heap).
#include "engine/core/PrivateHeap.h"
#include "engine/scene/SpritePack.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    CreatePrivateHeap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ResetPrivateHeap();
    std::uint32_t sum = 0;
    for (const SpriteFrame& frame : ReadSpriteFrames(data, size)) {
        const std::size_t count = static_cast<std::size_t>(frame.width) * frame.height;
        sum += frame.pixels[0] + frame.pixels[count - 1];
    }
    [[maybe_unused]] static volatile std::uint32_t s_sink;
    s_sink = sum;
    return 0;
}
