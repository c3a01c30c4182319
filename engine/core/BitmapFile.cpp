#include "engine/core/BitmapFile.h"

#include "engine/core/UndecodableFile.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t CORE_HEADER_SIZE = 12;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t COMPRESSION_RGB = 0;
constexpr std::uint32_t COMPRESSION_BITFIELDS = 3;

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}
    bool Has(std::size_t offset, std::size_t count) const { return offset <= m_Size && m_Size - offset >= count; }
    std::uint32_t U16(std::size_t offset) const { return m_Data[offset] | (m_Data[offset + 1] << 8); }
    std::uint32_t U32(std::size_t offset) const
    {
        return static_cast<std::uint32_t>(m_Data[offset]) | (static_cast<std::uint32_t>(m_Data[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(m_Data[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(m_Data[offset + 3]) << 24);
    }
    const std::uint8_t* At(std::size_t offset) const { return m_Data + offset; }

private:
    const std::uint8_t* m_Data;
    std::size_t m_Size;
};

// One channel of a bit-field pixel scaled to 0-255.
struct Channel {
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t mask)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    std::uint32_t Extract(std::uint32_t pixel, std::uint32_t mask) const
    {
        if (max == 0) {
            return 0;
        }
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>((pixel & mask) >> shift) * 255 + max / 2) /
                                          max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = COMPRESSION_RGB;
    std::uint32_t colorsUsed = 0;
    std::uint32_t headerSize = 0;
    std::array<std::uint32_t, 3> masks{};
};

bool ReadHeader(const ByteReader& reader, Header& header)
{
    if (!reader.Has(0, FILE_HEADER_SIZE + 4) || reader.U16(0) != 0x4D42) {
        return false;
    }
    header.headerSize = reader.U32(FILE_HEADER_SIZE);
    if (header.headerSize == CORE_HEADER_SIZE) {
        if (!reader.Has(FILE_HEADER_SIZE, CORE_HEADER_SIZE)) {
            return false;
        }
        header.width = reader.U16(FILE_HEADER_SIZE + 4);
        header.height = static_cast<std::int16_t>(reader.U16(FILE_HEADER_SIZE + 6));
        header.bitCount = reader.U16(FILE_HEADER_SIZE + 10);
    } else {
        if (header.headerSize < INFO_HEADER_SIZE || !reader.Has(FILE_HEADER_SIZE, header.headerSize)) {
            return false;
        }
        header.width = static_cast<std::int32_t>(reader.U32(FILE_HEADER_SIZE + 4));
        header.height = static_cast<std::int32_t>(reader.U32(FILE_HEADER_SIZE + 8));
        header.bitCount = reader.U16(FILE_HEADER_SIZE + 14);
        header.compression = reader.U32(FILE_HEADER_SIZE + 16);
        header.colorsUsed = reader.U32(FILE_HEADER_SIZE + 32);
    }
    header.topDown = header.height < 0;
    header.height = header.height < 0 ? -header.height : header.height;
    return header.width >= 0 && ImageFitsTexture(header.width, header.height, ".bmp");
}

bool ReadMasks(const ByteReader& reader, Header& header)
{
    if (header.compression == COMPRESSION_BITFIELDS) {
        if (header.bitCount != 16 && header.bitCount != 32) {
            return false;
        }
        // The masks follow a 40-byte header and lie inside the longer ones.
        const std::size_t at = FILE_HEADER_SIZE + INFO_HEADER_SIZE;
        if (!reader.Has(at, 12)) {
            return false;
        }
        header.masks = {reader.U32(at), reader.U32(at + 4), reader.U32(at + 8)};
        return true;
    }
    if (header.compression != COMPRESSION_RGB) {
        return false;
    }
    if (header.bitCount == 16) {
        header.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (header.bitCount == 32) {
        header.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    return true;
}

bool ReadPalette(const ByteReader& reader, const Header& header, std::vector<std::uint32_t>& palette)
{
    if (header.bitCount > 8) {
        return true;
    }
    const std::uint32_t maximum = 1u << header.bitCount;
    const std::uint32_t count = header.colorsUsed == 0 || header.colorsUsed > maximum ? maximum : header.colorsUsed;
    const bool core = header.headerSize == CORE_HEADER_SIZE;
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t at = FILE_HEADER_SIZE + header.headerSize;
    if (!reader.Has(at, count * entrySize)) {
        return false;
    }
    palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = reader.At(at + i * entrySize);
        palette[i] = (static_cast<std::uint32_t>(entry[2]) << 16) | (entry[1] << 8) | entry[0];
    }
    return true;
}

bool DecodeRows(const ByteReader& reader, const Header& header, std::size_t offset,
                const std::vector<std::uint32_t>& palette, RasterBitmap& out)
{
    const std::uint32_t bits = header.bitCount;
    const std::size_t width = static_cast<std::size_t>(header.width);
    const std::size_t height = static_cast<std::size_t>(header.height);
    const std::size_t stride = (width * bits + 31) / 32 * 4;
    const Channel red(header.masks[0]);
    const Channel green(header.masks[1]);
    const Channel blue(header.masks[2]);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.assign(width * height, 0);
    for (std::size_t row = 0; row < height; ++row) {
        const std::uint8_t* source = reader.At(offset + row * stride);
        const std::size_t y = header.topDown ? row : height - 1 - row;
        std::uint32_t* target = out.pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            std::uint32_t colour = 0;
            if (bits <= 8) {
                const std::size_t bit = x * bits;
                const std::uint32_t index = (source[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                colour = index < palette.size() ? palette[index] : 0;
            } else if (bits == 24) {
                const std::uint8_t* p = source + x * 3;
                colour = (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
            } else {
                const std::uint8_t* p = source + x * (bits / 8);
                std::uint32_t value = p[0] | (p[1] << 8);
                if (bits == 32) {
                    value |= (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
                }
                colour = (red.Extract(value, header.masks[0]) << 16) | (green.Extract(value, header.masks[1]) << 8) |
                         blue.Extract(value, header.masks[2]);
            }
            target[x] = colour;
        }
    }
    return true;
}

} // namespace

bool DecodeBitmap(const std::uint8_t* data, std::size_t size, RasterBitmap& out, int* bitCount)
{
    out = RasterBitmap{};
    if (data == nullptr) {
        return false;
    }
    const ByteReader reader(data, size);
    Header header;
    if (!ReadHeader(reader, header) || !ReadMasks(reader, header)) {
        return false;
    }
    static constexpr std::array<std::uint32_t, 6> SUPPORTED_BITS = {1, 4, 8, 16, 24, 32};
    if (std::find(SUPPORTED_BITS.begin(), SUPPORTED_BITS.end(), header.bitCount) == SUPPORTED_BITS.end()) {
        return false;
    }
    std::vector<std::uint32_t> palette;
    if (!ReadPalette(reader, header, palette)) {
        return false;
    }
    if (bitCount != nullptr) {
        *bitCount = static_cast<int>(header.bitCount);
    }
    const std::size_t offset = reader.U32(10);
    if (header.width == 0 || header.height == 0) {
        out.width = static_cast<int>(header.width);
        out.height = static_cast<int>(header.height);
        return true;
    }
    const std::size_t stride = (static_cast<std::size_t>(header.width) * header.bitCount + 31) / 32 * 4;
    if (!reader.Has(offset, stride * static_cast<std::size_t>(header.height))) {
        return false;
    }
    return DecodeRows(reader, header, offset, palette, out);
}

bool ImageFitsTexture(std::int64_t width, std::int64_t height, const char* format)
{
    if (width <= MAX_TEXTURE_SIDE && height <= MAX_TEXTURE_SIDE) {
        return true;
    }
    plat::OutputDebugStringA(std::string("Tessel: a ") + format + " image of " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels is larger than a texture can be; not loaded\n");
    return false;
}

bool LoadBitmapFile(std::u16string_view path, RasterBitmap& out, int* bitCount)
{
    out = RasterBitmap{};
    std::vector<std::uint8_t> bytes;
    if (path.empty() || !plat::ReadFileBytes(path, bytes)) {
        return false;
    }
    if (!DecodeBitmap(bytes.data(), bytes.size(), out, bitCount)) {
        ReportUndecodableFile(path, "a .bmp image");
        return false;
    }
    return true;
}
