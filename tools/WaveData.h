// Wave files as the data compiler writes them: the canonical 44-byte PCM header ("RIFF", "WAVE", a 16-byte
// "fmt " chunk, "data") that the effect loader reads in one block, and the voice-clip format whose length the
// voice queue estimates from the file size (11025 Hz, 8-bit, mono: 11025 bytes a second).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace datac {

constexpr std::size_t WAVE_HEADER_BYTES = 44;
constexpr int VOICE_SAMPLE_RATE = 11025;
constexpr int EFFECT_SAMPLE_RATE = 22050;

// Mono samples in -1..1 at a sample rate.
struct MonoSound {
    int sampleRate = 0;
    std::vector<float> samples;
};

// The canonical file: 8-bit samples are stored unsigned, 16-bit signed little-endian.
std::vector<std::uint8_t> CanonicalWave(const MonoSound& sound, int bitsPerSample);

// Reads a PCM wave of 8 or 16 bits, any rate, one or more channels (mixed down), walking its chunks. False
// with a reason for anything else.
bool ReadPcmWave(const std::vector<std::uint8_t>& bytes, MonoSound& out, std::string& reason);

// Linear resampling to rate.
MonoSound Resample(const MonoSound& sound, int rate);

// A canonical 8-bit mono wave (as CanonicalWave writes it) whose silence at the end is cut to at most keepFrames
// frames; a sample within threshold of the midpoint is silent. Any other file comes back unchanged.
std::vector<std::uint8_t> TrimTrailingSilence(const std::vector<std::uint8_t>& wave, std::size_t keepFrames,
                                              int threshold);

} // namespace datac
