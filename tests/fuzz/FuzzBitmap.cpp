// libFuzzer target over the .bmp reader: any input decodes or is refused, never read outside the data.
#include "engine/core/BitmapFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RasterBitmap bitmap;
    if (DecodeBitmap(data, size, bitmap)) {
        // Every pixel the decoder promises must exist.
        std::uint32_t sum = 0;
        for (int y = 0; y < bitmap.height && bitmap.width > 0; ++y) {
            sum += bitmap.At(bitmap.width - 1, y);
        }
        [[maybe_unused]] static volatile std::uint32_t s_sink;
        s_sink = sum;
    }
    return 0;
}
