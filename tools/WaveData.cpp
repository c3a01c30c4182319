#include "tools/WaveData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace datac {

namespace {

constexpr std::uint16_t PCM_FORMAT = 1;
constexpr std::uint32_t FMT_CHUNK_BYTES = 16;

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

std::uint32_t GetU16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8);
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return GetU16(bytes, at) | (GetU16(bytes, at + 2) << 16);
}

bool TagAt(const std::vector<std::uint8_t>& bytes, std::size_t at, const char* tag)
{
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

} // namespace

std::vector<std::uint8_t> CanonicalWave(const MonoSound& sound, int bitsPerSample)
{
    const std::uint32_t bytesPerSample = bitsPerSample == 8 ? 1 : 2;
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * bytesPerSample);
    std::vector<std::uint8_t> out;
    out.reserve(WAVE_HEADER_BYTES + dataBytes);
    PutTag(out, "RIFF");
    PutU32(out, static_cast<std::uint32_t>(WAVE_HEADER_BYTES - 8 + dataBytes));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, FMT_CHUNK_BYTES);
    PutU16(out, PCM_FORMAT);
    PutU16(out, 1);
    PutU32(out, static_cast<std::uint32_t>(sound.sampleRate));
    PutU32(out, static_cast<std::uint32_t>(sound.sampleRate) * bytesPerSample);
    PutU16(out, bytesPerSample);
    PutU16(out, static_cast<std::uint32_t>(bitsPerSample));
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (const float sample : sound.samples) {
        const float clamped = std::clamp(sample, -1.0f, 1.0f);
        if (bitsPerSample == 8) {
            out.push_back(static_cast<std::uint8_t>(std::lround(clamped * 127.0f) + 128));
        } else {
            const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0f));
            PutU16(out, static_cast<std::uint16_t>(value));
        }
    }
    return out;
}

bool ReadPcmWave(const std::vector<std::uint8_t>& bytes, MonoSound& out, std::string& reason)
{
    out = MonoSound();
    if (!TagAt(bytes, 0, "RIFF") || !TagAt(bytes, 8, "WAVE")) {
        reason = "not a RIFF WAVE file";
        return false;
    }
    int channels = 0;
    int bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = GetU32(bytes, at + 4);
        const std::size_t body = at + 8;
        // A streaming writer may leave the size open; the data then run to the end of the file.
        const std::size_t available = bytes.size() - body;
        const std::size_t length = std::min<std::size_t>(size, available);
        if (TagAt(bytes, at, "fmt ")) {
            if (length < FMT_CHUNK_BYTES || GetU16(bytes, body) != PCM_FORMAT) {
                reason = "not PCM";
                return false;
            }
            channels = static_cast<int>(GetU16(bytes, body + 2));
            out.sampleRate = static_cast<int>(GetU32(bytes, body + 4));
            bits = static_cast<int>(GetU16(bytes, body + 14));
        } else if (TagAt(bytes, at, "data")) {
            if (channels < 1 || (bits != 8 && bits != 16) || out.sampleRate <= 0) {
                reason = "unsupported format (" + std::to_string(bits) + " bits, " + std::to_string(channels) +
                         " channels)";
                return false;
            }
            const std::size_t frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
            const std::size_t frames = length / frameBytes;
            out.samples.resize(frames);
            for (std::size_t frame = 0; frame < frames; ++frame) {
                float sum = 0.0f;
                for (int channel = 0; channel < channels; ++channel) {
                    const std::size_t pos = body + frame * frameBytes + static_cast<std::size_t>(channel) * (bits / 8);
                    if (bits == 8)
                        sum += (static_cast<float>(bytes[pos]) - 128.0f) / 128.0f;
                    else
                        sum += static_cast<float>(static_cast<std::int16_t>(GetU16(bytes, pos))) / 32768.0f;
                }
                out.samples[frame] = sum / static_cast<float>(channels);
            }
            return true;
        }
        at = body + length + (length & 1);
    }
    reason = "no data chunk";
    return false;
}

MonoSound Resample(const MonoSound& sound, int rate)
{
    if (sound.sampleRate == rate || sound.samples.empty() || sound.sampleRate <= 0)
        return {rate, sound.samples};
    MonoSound out;
    out.sampleRate = rate;
    const double step = static_cast<double>(sound.sampleRate) / rate;
    const auto frames = static_cast<std::size_t>(static_cast<double>(sound.samples.size()) / step);
    out.samples.resize(frames);
    const std::size_t last = sound.samples.size() - 1;
    for (std::size_t i = 0; i < frames; ++i) {
        // Averaging over the step keeps what lies above the new Nyquist rate from folding back as hiss.
        const double start = static_cast<double>(i) * step;
        const auto first = static_cast<std::size_t>(start);
        const auto end = std::min(last, static_cast<std::size_t>(start + step));
        float sum = 0.0f;
        for (std::size_t j = first; j <= end; ++j)
            sum += sound.samples[j];
        out.samples[i] = sum / static_cast<float>(end - first + 1);
    }
    return out;
}

std::vector<std::uint8_t> TrimTrailingSilence(const std::vector<std::uint8_t>& wave, std::size_t keepFrames,
                                              int threshold)
{
    const bool canonical8BitMono = wave.size() >= WAVE_HEADER_BYTES && TagAt(wave, 0, "RIFF") &&
                                   TagAt(wave, 8, "WAVE") && TagAt(wave, 12, "fmt ") && GetU16(wave, 22) == 1 &&
                                   GetU16(wave, 34) == 8 && TagAt(wave, 36, "data") &&
                                   GetU32(wave, 40) == wave.size() - WAVE_HEADER_BYTES;
    if (!canonical8BitMono)
        return wave;
    std::size_t end = wave.size();
    while (end > WAVE_HEADER_BYTES && std::abs(static_cast<int>(wave[end - 1]) - 128) <= threshold)
        --end;
    end = std::min(wave.size(), end + keepFrames);
    std::vector<std::uint8_t> out(wave.begin(), wave.begin() + static_cast<std::ptrdiff_t>(end));
    const auto dataBytes = static_cast<std::uint32_t>(end - WAVE_HEADER_BYTES);
    std::vector<std::uint8_t> size;
    PutU32(size, static_cast<std::uint32_t>(WAVE_HEADER_BYTES - 8) + dataBytes);
    PutU32(size, dataBytes);
    std::copy(size.begin(), size.begin() + 4, out.begin() + 4);
    std::copy(size.begin() + 4, size.end(), out.begin() + 40);
    return out;
}

} // namespace datac
