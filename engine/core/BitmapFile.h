// Windows bitmap files decoded into 0x00RRGGBB rows from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A bitmap as the image loaders hand it over: rows from the top, each pixel 0x00RRGGBB.
struct RasterBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// No texture is larger than this on a side; image loaders refuse larger images before decoding them.
constexpr int MAX_TEXTURE_SIDE = 8192;

// True when an image of this size can become a texture; otherwise logs that the image (of the named format) is
// refused. Loaders ask before decoding, so a huge header never costs a huge decode.
bool ImageFitsTexture(std::int64_t width, std::int64_t height, const char* format);

// Uncompressed 1, 4 and 8 bits with a palette, 16 bits (5-5-5 or bit fields), 24 bits, 32 bits (or bit fields).
// False for a missing, short, compressed or malformed file; nothing outside the file is read. bitCount (when
// given) receives the file's own bits per pixel.
bool LoadBitmapFile(std::u16string_view path, RasterBitmap& out, int* bitCount = nullptr);
bool DecodeBitmap(const std::uint8_t* data, std::size_t size, RasterBitmap& out, int* bitCount = nullptr);
