#include "engine/sound/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t RIFF_HEADER_BYTES = 12;
constexpr std::uint64_t CHUNK_HEADER_BYTES = 8;
constexpr std::uint64_t PCM_FORMAT_BYTES = 16;
constexpr std::uint16_t FORMAT_PCM = 1;

std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadLe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

bool WaveFile::Fail(WaveError error)
{
    Close();
    m_LastError = error;
    return false;
}

void WaveFile::Close()
{
    m_File.Close();
    m_Format = WaveFormat{};
    m_RiffEnd = 0;
    m_DurationMs = 0;
    m_DataSize = 0;
    m_Remaining = 0;
    m_BytesRead = 0;
}

bool WaveFile::Open(std::u16string_view path)
{
    Close();
    m_LastError = WaveError::None;
    if (!m_File.Open(path, "rb"))
        return Fail(WaveError::CannotOpen);
    const std::int64_t fileSize = m_File.Size();
    std::uint8_t riff[RIFF_HEADER_BYTES];
    if (fileSize < static_cast<std::int64_t>(RIFF_HEADER_BYTES) || m_File.Read(riff, sizeof riff) != sizeof riff)
        return Fail(WaveError::InvalidFile);
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return Fail(WaveError::InvalidFile);
    m_RiffEnd = std::min<std::uint64_t>(CHUNK_HEADER_BYTES + ReadLe32(riff + 4), static_cast<std::uint64_t>(fileSize));

    Chunk format;
    if (!FindChunk("fmt ", RIFF_HEADER_BYTES, m_RiffEnd, format) || !ReadFormat(format))
        return Fail(WaveError::InvalidFile);
    // A zero rate would make every duration a division by zero.
    if (m_Format.avgBytesPerSec == 0)
        return Fail(WaveError::InvalidFile);
    if (!FindDataChunk())
        return Fail(WaveError::InvalidFile);
    return true;
}

bool WaveFile::FindChunk(const char (&id)[5], std::uint64_t start, std::uint64_t end, Chunk& out)
{
    std::uint64_t offset = start;
    while (offset + CHUNK_HEADER_BYTES <= end) {
        std::uint8_t header[CHUNK_HEADER_BYTES];
        if (!m_File.Seek(static_cast<std::int64_t>(offset), 0) || m_File.Read(header, sizeof header) != sizeof header)
            return false;
        const std::uint64_t body = offset + CHUNK_HEADER_BYTES;
        const std::uint64_t size = ReadLe32(header + 4);
        if (std::memcmp(header, id, 4) == 0) {
            out.bodyOffset = body;
            out.size = std::min(size, end - body);
            return true;
        }
        // Chunks are padded to an even size.
        offset = body + size + (size & 1);
    }
    return false;
}

bool WaveFile::ReadFormat(const Chunk& chunk)
{
    if (chunk.size < PCM_FORMAT_BYTES || !m_File.Seek(static_cast<std::int64_t>(chunk.bodyOffset), 0))
        return false;
    std::uint8_t bytes[PCM_FORMAT_BYTES];
    if (m_File.Read(bytes, sizeof bytes) != sizeof bytes)
        return false;
    m_Format.formatTag = ReadLe16(bytes);
    m_Format.channels = ReadLe16(bytes + 2);
    m_Format.samplesPerSec = ReadLe32(bytes + 4);
    m_Format.avgBytesPerSec = ReadLe32(bytes + 8);
    m_Format.blockAlign = ReadLe16(bytes + 12);
    m_Format.bitsPerSample = ReadLe16(bytes + 14);
    if (m_Format.formatTag == FORMAT_PCM)
        return true;
    // Other formats carry a count of extra bytes, which must lie inside the chunk.
    std::uint8_t extraSize[2];
    if (chunk.size < PCM_FORMAT_BYTES + sizeof extraSize || m_File.Read(extraSize, sizeof extraSize) != sizeof extraSize)
        return false;
    const std::uint16_t extra = ReadLe16(extraSize);
    if (extra > chunk.size - PCM_FORMAT_BYTES - sizeof extraSize)
        return false;
    m_Format.extra.resize(extra);
    return extra == 0 || m_File.Read(m_Format.extra.data(), extra) == extra;
}

bool WaveFile::FindDataChunk()
{
    if (!m_File.IsOpen())
        return false;
    Chunk data;
    if (!FindChunk("data", RIFF_HEADER_BYTES, m_RiffEnd, data) ||
        !m_File.Seek(static_cast<std::int64_t>(data.bodyOffset), 0))
        return false;
    m_DataSize = static_cast<std::uint32_t>(data.size);
    m_Remaining = m_DataSize;
    m_BytesRead = 0;
    m_DurationMs = m_Format.avgBytesPerSec == 0
                       ? 0
                       : static_cast<std::uint32_t>(std::uint64_t{m_DataSize} * 1000 / m_Format.avgBytesPerSec);
    return true;
}

std::size_t WaveFile::Read(void* buffer, std::size_t bytes)
{
    if (!m_File.IsOpen() || buffer == nullptr)
        return 0;
    const std::size_t wanted = std::min<std::size_t>(bytes, m_Remaining);
    m_Remaining -= static_cast<std::uint32_t>(wanted);
    const std::size_t got = wanted == 0 ? 0 : m_File.Read(buffer, wanted);
    if (got < wanted) {
        m_LastError = WaveError::CannotRead;
        m_Remaining = 0;
    }
    m_BytesRead += static_cast<std::uint32_t>(got);
    return got;
}
