// Reads a RIFF wave file chunk by chunk: its format, then the sample data in pieces (the music stream's reader).
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    // The extra bytes of a format other than PCM.
    std::vector<std::uint8_t> extra;
};

enum class WaveError { None, CannotOpen, InvalidFile, CannotRead };

class WaveFile {
public:
    // Requires "RIFF"/"WAVE", a "fmt " chunk and a "data" chunk inside the RIFF chunk, and a non-zero average
    // byte rate; on failure the file is closed and false returned.
    bool Open(std::u16string_view path);
    void Close();
    // Copies up to bytes of sample data; at an early end of the file, the bytes that came (and CannotRead).
    std::size_t Read(void* buffer, std::size_t bytes);
    // Positions the reader at the start of the "data" chunk; false when there is none.
    bool FindDataChunk();

    const WaveFormat& Format() const { return m_Format; }
    WaveError LastError() const { return m_LastError; }
    std::uint32_t DurationMs() const { return m_DurationMs; }
    std::uint32_t AvgBytesPerSec() const { return m_Format.avgBytesPerSec; }
    std::uint32_t DataSize() const { return m_DataSize; }
    std::uint32_t BytesRemaining() const { return m_Remaining; }
    std::uint32_t BytesRead() const { return m_BytesRead; }

private:
    struct Chunk {
        std::uint64_t bodyOffset = 0;
        std::uint64_t size = 0;   // clamped to the end of the RIFF chunk
    };
    // Walks the chunks in [start, end) for id.
    bool FindChunk(const char (&id)[5], std::uint64_t start, std::uint64_t end, Chunk& out);
    bool ReadFormat(const Chunk& chunk);
    bool Fail(WaveError error);

    plat::File m_File;
    WaveFormat m_Format;
    WaveError m_LastError = WaveError::None;
    std::uint64_t m_RiffEnd = 0;
    std::uint32_t m_DurationMs = 0;
    std::uint32_t m_DataSize = 0;
    std::uint32_t m_Remaining = 0;
    std::uint32_t m_BytesRead = 0;
};
