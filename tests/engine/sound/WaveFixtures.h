// Small wave files built by the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

struct WaveSpec {
    int channels = 1;
    int rate = 44100;
    int bits = 16;
};

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

// Byte by byte: a range insert into the still empty vector trips a false -Wstringop-overflow in optimised builds.
inline void PutTag(std::vector<std::uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// Sample values interleaved by channel: signed for 16 bits, 0-255 for 8 bits.
inline std::vector<std::uint8_t> SampleBytes(const WaveSpec& format, const std::vector<int>& samples)
{
    std::vector<std::uint8_t> out;
    for (const int sample : samples) {
        if (format.bits == 8)
            out.push_back(static_cast<std::uint8_t>(sample));
        else
            PutLe16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(sample)));
    }
    return out;
}

// A canonical 44-byte-header PCM wave.
inline std::vector<std::uint8_t> MakeWave(const WaveSpec& format, const std::vector<int>& samples)
{
    const std::vector<std::uint8_t> data = SampleBytes(format, samples);
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(format.channels * format.bits / 8);
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(36 + data.size()));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe32(out, 16);
    PutLe16(out, 1);
    PutLe16(out, static_cast<std::uint32_t>(format.channels));
    PutLe32(out, static_cast<std::uint32_t>(format.rate));
    PutLe32(out, static_cast<std::uint32_t>(format.rate) * blockAlign);
    PutLe16(out, blockAlign);
    PutLe16(out, static_cast<std::uint32_t>(format.bits));
    PutTag(out, "data");
    PutLe32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// frames of one value on every channel.
inline std::vector<std::uint8_t> ConstantWave(const WaveSpec& format, int value, int frames)
{
    return MakeWave(format, std::vector<int>(static_cast<std::size_t>(frames * format.channels), value));
}

inline void SetLe16At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void SetLe32At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    SetLe16At(bytes, offset, value & 0xFFFF);
    SetLe16At(bytes, offset + 2, value >> 16);
}

} // namespace test
