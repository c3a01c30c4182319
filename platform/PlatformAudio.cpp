#include "platform/Platform.h"

#include "platform/AudioDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace plat {

namespace {

constexpr int FRACTION_BITS = 32;
constexpr std::uint64_t ONE_FRAME = std::uint64_t{1} << FRACTION_BITS;

struct Samples {
    AudioFormat format;
    std::vector<std::uint8_t> bytes;
};

// One playing or stopped buffer; several voices may share one sample block.
struct Voice {
    std::shared_ptr<Samples> samples;
    bool playing = false;
    bool loop = false;
    int volume = 0;
    int pan = 0;
    int rate = 0;               // 0: the recorded rate
    float leftGain = 1.0f;
    float rightGain = 1.0f;
    std::uint64_t position = 0; // frames, 32.32 fixed point
    std::uint64_t played = 0;   // frames advanced since Play, 32.32 fixed point
    std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();  // whole frames of played
    bool stopAtLimit = false;
};

// The mixer state is shared with the device thread under SDL2.
std::mutex s_mutex;
bool s_open = false;
bool s_available = true;
bool s_paused = false;
bool s_clipBusy = false;
AudioBuffer s_nextHandle = 1;
std::map<AudioBuffer, Voice> s_voices;
std::optional<Voice> s_clip;
bool s_recordClips = false;
std::vector<std::size_t> s_startedClips;
// Main thread only: a device that failed to open is not tried again until AudioOpen, since every try of a
// missing device costs time and error lines.
bool s_outputFailed = false;
int s_failedOutputOpens = 0;

float DecibelGain(int hundredthsDb)
{
    if (hundredthsDb <= AUDIO_VOLUME_MIN)
        return 0.0f;
    if (hundredthsDb >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

void UpdateGains(Voice& voice)
{
    const float volume = DecibelGain(voice.volume);
    voice.leftGain = volume * (voice.pan > 0 ? DecibelGain(-voice.pan) : 1.0f);
    voice.rightGain = volume * (voice.pan < 0 ? DecibelGain(voice.pan) : 1.0f);
}

bool IsValidFormat(const AudioFormat& format)
{
    if (format.channels < 1 || format.channels > 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.sampleRate < AUDIO_MIN_RATE || format.sampleRate > AUDIO_MAX_RATE)
        return false;
    return format.blockAlign >= format.channels * format.bitsPerSample / 8;
}

std::size_t FrameCount(const Samples& samples)
{
    return samples.bytes.size() / static_cast<std::size_t>(samples.format.blockAlign);
}

float ReadSample(const Samples& samples, std::size_t offset)
{
    if (samples.format.bitsPerSample == 8)
        return (static_cast<float>(samples.bytes[offset]) - 128.0f) / 128.0f;
    const auto value = static_cast<std::int16_t>(samples.bytes[offset] | (samples.bytes[offset + 1] << 8));
    return static_cast<float>(value) / 32768.0f;
}

void ReadFrame(const Samples& samples, std::size_t frame, float& left, float& right)
{
    const std::size_t offset = frame * static_cast<std::size_t>(samples.format.blockAlign);
    left = ReadSample(samples, offset);
    right = samples.format.channels == 2 ? ReadSample(samples, offset + samples.format.bitsPerSample / 8) : left;
}

// Adds the voice to out (interleaved stereo) for frames of output; stops it at its end unless it loops.
void MixVoice(Voice& voice, float* out, std::size_t frames)
{
    const Samples& samples = *voice.samples;
    const std::size_t count = FrameCount(samples);
    if (count == 0) {
        voice.playing = false;
        return;
    }
    const int rate = voice.rate != 0 ? voice.rate : samples.format.sampleRate;
    const std::uint64_t step = (static_cast<std::uint64_t>(rate) << FRACTION_BITS) / AUDIO_OUTPUT_RATE;
    const std::uint64_t end = static_cast<std::uint64_t>(count) << FRACTION_BITS;
    for (std::size_t i = 0; i < frames; ++i) {
        if ((voice.played >> FRACTION_BITS) >= voice.limit) {
            if (voice.stopAtLimit)
                voice.playing = false;
            return;
        }
        if (voice.position >= end) {
            if (!voice.loop) {
                voice.playing = false;
                voice.position = 0;
                return;
            }
            voice.position %= end;
        }
        const std::size_t index = static_cast<std::size_t>(voice.position >> FRACTION_BITS);
        const std::size_t next = index + 1 < count ? index + 1 : (voice.loop ? 0 : index);
        const float t = static_cast<float>(voice.position & (ONE_FRAME - 1)) / static_cast<float>(ONE_FRAME);
        float l0 = 0, r0 = 0, l1 = 0, r1 = 0;
        ReadFrame(samples, index, l0, r0);
        ReadFrame(samples, next, l1, r1);
        out[2 * i] += (l0 + (l1 - l0) * t) * voice.leftGain;
        out[2 * i + 1] += (r0 + (r1 - r0) * t) * voice.rightGain;
        voice.position += step;
        voice.played += step;
    }
}

// Mixes every playing voice and the clip; the caller holds s_mutex.
void MixLocked(std::int16_t* out, std::size_t frames)
{
    // Kept between calls so the device thread does not allocate on every pull.
    static std::vector<float> accumulator;
    if (s_paused) {
        std::fill(out, out + frames * 2, std::int16_t{0});
        return;
    }
    accumulator.assign(frames * 2, 0.0f);
    for (auto& [handle, voice] : s_voices)
        if (voice.playing)
            MixVoice(voice, accumulator.data(), frames);
    if (s_clip) {
        MixVoice(*s_clip, accumulator.data(), frames);
        if (!s_clip->playing)
            s_clip.reset();
    }
    for (std::size_t i = 0; i < frames * 2; ++i) {
        const float value = std::round(accumulator[i] * 32768.0f);
        out[i] = static_cast<std::int16_t>(std::clamp(value, -32768.0f, 32767.0f));
    }
}

void MixFromDevice(std::int16_t* out, std::size_t frames)
{
    const std::lock_guard lock(s_mutex);
    MixLocked(out, frames);
}

Voice* FindVoice(AudioBuffer buffer)
{
    const auto it = s_voices.find(buffer);
    return it == s_voices.end() ? nullptr : &it->second;
}

std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadLe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// A RIFF WAVE file in memory as samples; nullptr when it is not PCM the mixer plays. Every chunk is bounds-checked.
std::shared_ptr<Samples> DecodeWave(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t RIFF_HEADER = 12;
    constexpr std::size_t CHUNK_HEADER = 8;
    constexpr std::size_t PCM_FORMAT_BYTES = 16;
    if (data == nullptr || size < RIFF_HEADER || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0)
        return nullptr;
    std::optional<AudioFormat> format;
    std::size_t offset = RIFF_HEADER;
    while (size - offset >= CHUNK_HEADER) {
        const std::uint8_t* chunk = data + offset;
        const std::size_t available = size - offset - CHUNK_HEADER;
        const std::size_t length = std::min<std::size_t>(ReadLe32(chunk + 4), available);
        const std::uint8_t* body = chunk + CHUNK_HEADER;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < PCM_FORMAT_BYTES || ReadLe16(body) != 1)
                return nullptr;
            AudioFormat f;
            f.channels = ReadLe16(body + 2);
            f.sampleRate = static_cast<int>(std::min<std::uint32_t>(ReadLe32(body + 4), AUDIO_MAX_RATE + 1));
            f.blockAlign = ReadLe16(body + 12);
            f.bitsPerSample = ReadLe16(body + 14);
            if (!IsValidFormat(f))
                return nullptr;
            format = f;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format)
                return nullptr;
            auto samples = std::make_shared<Samples>();
            samples->format = *format;
            samples->bytes.assign(body, body + length);
            return samples;
        }
        // Chunks are padded to an even size.
        const std::size_t advance = CHUNK_HEADER + length + (length & 1);
        if (advance > size - offset)
            break;
        offset += advance;
    }
    return nullptr;
}

// Under SDL2 the device pulls the mix; headless mixes when a test asks. Called without s_mutex held.
bool OpenOutputDevice()
{
    if (CurrentBackend() == BackendKind::Sdl)
        return audio_device::Open(&MixFromDevice);
    const std::lock_guard lock(s_mutex);
    return s_available;
}

// retryFailed: try a device that failed before again (AudioOpen only).
bool EnsureOutput(bool retryFailed)
{
    if (s_outputFailed && !retryFailed)
        return false;
    s_outputFailed = !OpenOutputDevice();
    if (s_outputFailed)
        ++s_failedOutputOpens;
    return !s_outputFailed;
}

} // namespace

AudioResult AudioOpen()
{
    if (!EnsureOutput(true))
        return AudioResult::NoDriver;
    const std::lock_guard lock(s_mutex);
    s_open = true;
    return AudioResult::Ok;
}

void AudioClose()
{
    // The clip player is independent of the buffers and keeps the output.
    const std::lock_guard lock(s_mutex);
    s_voices.clear();
    s_open = false;
}

bool AudioIsOpen()
{
    const std::lock_guard lock(s_mutex);
    return s_open;
}

AudioResult AudioCreateBuffer(const AudioFormat& format, std::size_t bytes, AudioBuffer& out)
{
    out = 0;
    const std::lock_guard lock(s_mutex);
    if (!s_open)
        return AudioResult::Uninitialized;
    if (!IsValidFormat(format))
        return AudioResult::BadFormat;
    if (bytes == 0)
        return AudioResult::InvalidParam;
    if (bytes > AUDIO_MAX_BUFFER_BYTES)
        return AudioResult::OutOfMemory;
    auto samples = std::make_shared<Samples>();
    samples->format = format;
    samples->bytes.assign(bytes, format.bitsPerSample == 8 ? 128 : 0);
    Voice voice;
    voice.samples = std::move(samples);
    out = s_nextHandle++;
    s_voices.emplace(out, std::move(voice));
    return AudioResult::Ok;
}

AudioResult AudioDuplicateBuffer(AudioBuffer source, AudioBuffer& out)
{
    out = 0;
    const std::lock_guard lock(s_mutex);
    const Voice* original = FindVoice(source);
    if (original == nullptr)
        return AudioResult::InvalidParam;
    Voice voice;
    voice.samples = original->samples;
    out = s_nextHandle++;
    s_voices.emplace(out, std::move(voice));
    return AudioResult::Ok;
}

void AudioReleaseBuffer(AudioBuffer buffer)
{
    const std::lock_guard lock(s_mutex);
    s_voices.erase(buffer);
}

AudioResult AudioWriteBuffer(AudioBuffer buffer, std::size_t offset, const void* data, std::size_t size)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr || (data == nullptr && size != 0))
        return AudioResult::InvalidParam;
    std::vector<std::uint8_t>& bytes = voice->samples->bytes;
    if (offset > bytes.size() || size > bytes.size() - offset)
        return AudioResult::InvalidParam;
    if (size != 0)
        std::memcpy(bytes.data() + offset, data, size);
    return AudioResult::Ok;
}

AudioResult AudioPlay(AudioBuffer buffer, bool loop)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr)
        return AudioResult::InvalidParam;
    voice->playing = true;
    voice->loop = loop;
    voice->played = 0;
    return AudioResult::Ok;
}

AudioResult AudioStop(AudioBuffer buffer)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr)
        return AudioResult::InvalidParam;
    voice->playing = false;
    return AudioResult::Ok;
}

AudioResult AudioGetStatus(AudioBuffer buffer, bool& playing)
{
    playing = false;
    const std::lock_guard lock(s_mutex);
    const Voice* voice = FindVoice(buffer);
    if (voice == nullptr)
        return AudioResult::InvalidParam;
    playing = voice->playing;
    return AudioResult::Ok;
}

AudioResult AudioSetVolume(AudioBuffer buffer, int hundredthsDb)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr || hundredthsDb > 0 || hundredthsDb < AUDIO_VOLUME_MIN)
        return AudioResult::InvalidParam;
    voice->volume = hundredthsDb;
    UpdateGains(*voice);
    return AudioResult::Ok;
}

AudioResult AudioSetPan(AudioBuffer buffer, int pan)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr || pan < AUDIO_PAN_LEFT || pan > AUDIO_PAN_RIGHT)
        return AudioResult::InvalidParam;
    voice->pan = pan;
    UpdateGains(*voice);
    return AudioResult::Ok;
}

AudioResult AudioSetFrequency(AudioBuffer buffer, int hz)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr || (hz != 0 && (hz < AUDIO_MIN_RATE || hz > AUDIO_MAX_RATE)))
        return AudioResult::InvalidParam;
    voice->rate = hz;
    return AudioResult::Ok;
}

AudioResult AudioGetPlayedBytes(AudioBuffer buffer, std::uint64_t& out)
{
    out = 0;
    const std::lock_guard lock(s_mutex);
    const Voice* voice = FindVoice(buffer);
    if (voice == nullptr)
        return AudioResult::InvalidParam;
    out = (voice->played >> FRACTION_BITS) * static_cast<std::uint64_t>(voice->samples->format.blockAlign);
    return AudioResult::Ok;
}

AudioResult AudioSetPlayLimit(AudioBuffer buffer, std::uint64_t playedBytes, bool stopThere)
{
    const std::lock_guard lock(s_mutex);
    Voice* voice = FindVoice(buffer);
    if (voice == nullptr)
        return AudioResult::InvalidParam;
    // Whole frames, rounded up: a limit inside a frame lets that frame play.
    const auto blockAlign = static_cast<std::uint64_t>(voice->samples->format.blockAlign);
    voice->limit = playedBytes / blockAlign + (playedBytes % blockAlign != 0 ? 1 : 0);
    voice->stopAtLimit = stopThere;
    return AudioResult::Ok;
}

void AudioPauseOutput(bool paused)
{
    const std::lock_guard lock(s_mutex);
    s_paused = paused;
}

bool AudioPlayClip(const void* waveFile, std::size_t size)
{
    const bool output = EnsureOutput(false);
    const std::lock_guard lock(s_mutex);
    if (s_clip || s_clipBusy)
        return false;
    std::shared_ptr<Samples> samples = DecodeWave(static_cast<const std::uint8_t*>(waveFile), size);
    if (s_recordClips)
        s_startedClips.push_back(samples ? size : 0);
    // Without an output nothing would ever finish the clip, so it is not kept.
    if (!samples || !output)
        return true;
    Voice clip;
    clip.samples = std::move(samples);
    clip.playing = true;
    s_clip = std::move(clip);
    return true;
}

bool AudioCanPlayClip(const void* waveFile, std::size_t size)
{
    return DecodeWave(static_cast<const std::uint8_t*>(waveFile), size) != nullptr;
}

void AudioStopClip()
{
    const std::lock_guard lock(s_mutex);
    s_clip.reset();
}

bool AudioClipPlaying()
{
    const std::lock_guard lock(s_mutex);
    return s_clip.has_value();
}

namespace headless {

void ResetAudio()
{
    AudioClose();
    const std::lock_guard lock(s_mutex);
    s_clip.reset();
    s_available = true;
    s_paused = false;
    s_clipBusy = false;
    s_recordClips = false;
    s_startedClips.clear();
    s_outputFailed = false;
    s_failedOutputOpens = 0;
}

void SetAudioAvailable(bool available)
{
    if (!available)
        AudioClose();
    const std::lock_guard lock(s_mutex);
    s_available = available;
}

void SetClipPlayerBusy(bool busy)
{
    const std::lock_guard lock(s_mutex);
    s_clipBusy = busy;
}

std::vector<std::int16_t> MixAudio(std::size_t frames)
{
    std::vector<std::int16_t> out(frames * 2, 0);
    const std::lock_guard lock(s_mutex);
    MixLocked(out.data(), frames);
    return out;
}

int PlayingAudioBuffers()
{
    const std::lock_guard lock(s_mutex);
    return static_cast<int>(std::count_if(s_voices.begin(), s_voices.end(),
                                          [](const auto& entry) { return entry.second.playing; }));
}

int FailedOutputOpens()
{
    return s_failedOutputOpens;
}

void RecordStartedClips()
{
    const std::lock_guard lock(s_mutex);
    s_recordClips = true;
    s_startedClips.clear();
}

const std::vector<std::size_t>& StartedClips()
{
    return s_startedClips;
}

} // namespace headless

} // namespace plat
