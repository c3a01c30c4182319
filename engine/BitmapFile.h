// Windows bitmap files decoded into 0x00RRGGBB rows from the top.
#pragma once

#include "engine/RasterTypes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Uncompressed 1, 4 and 8 bits with a palette, 16 bits (5-5-5 or bit fields), 24 bits, 32 bits (or bit fields).
// False for a missing, short, compressed or malformed file; nothing outside the file is read. bitCount (when
// given) receives the file's own bits per pixel.
bool LoadBitmapFile(std::u16string_view path, RasterBitmap& out, int* bitCount = nullptr);
bool DecodeBitmap(const std::uint8_t* data, std::size_t size, RasterBitmap& out, int* bitCount = nullptr);
