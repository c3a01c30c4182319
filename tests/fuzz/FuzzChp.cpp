// libFuzzer target over the .chp reader, one frame and all frames: every pixel it promises lies in the data.
#include "engine/scene/ChpFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The loaders hand the reader whole-file buffers, which are aligned.
    std::vector<std::uint16_t> aligned((size + 1) / 2);
    if (size != 0) {
        std::memcpy(aligned.data(), data, size);
    }
    const std::uint16_t* bytes = aligned.data();
    for (const bool allFrames : {false, true}) {
        ChpImage image;
        if (!ParseChp(bytes, size, allFrames, image) || image.frameCount == 0) {
            continue;
        }
        const std::size_t last = static_cast<std::size_t>(image.width) * image.height - 1;
        [[maybe_unused]] static volatile std::uint16_t s_sink;
        s_sink = image.Frame(image.frameCount - 1)[last];
    }
    return 0;
}
