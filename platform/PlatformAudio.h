// Audio services of the platform layer; included by platform/Platform.h.
// A software mixer in place of the system's sound device: PCM buffers played on voices with volume, pan,
// frequency and loop, and a clip player for whole wave files in memory. The SDL2 backend feeds the mixed
// samples to an audio device; the headless backend mixes only when a test asks (plat::headless below).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// The mixer's output: interleaved stereo 16-bit samples at this rate.
constexpr int AUDIO_OUTPUT_RATE = 44100;
// Volumes are hundredths of a decibel, 0 (full) down to AUDIO_VOLUME_MIN (silent); pan likewise attenuates the
// other side, AUDIO_PAN_LEFT..AUDIO_PAN_RIGHT.
constexpr int AUDIO_VOLUME_MIN = -10000;
constexpr int AUDIO_PAN_LEFT = -10000;
constexpr int AUDIO_PAN_RIGHT = 10000;
// Frequencies a buffer may be played at; 0 in AudioSetFrequency keeps the recorded rate.
constexpr int AUDIO_MIN_RATE = 100;
constexpr int AUDIO_MAX_RATE = 200000;
// The largest buffer the mixer accepts.
constexpr std::size_t AUDIO_MAX_BUFFER_BYTES = 64u * 1024u * 1024u;

// Why a mixer call failed; the engine turns these into its own error names.
enum class AudioResult { Ok, NoDriver, Uninitialized, InvalidParam, InvalidCall, BadFormat, OutOfMemory };

// PCM only: 1 or 2 channels, 8 (unsigned) or 16 (signed little-endian) bits, blockAlign at least one frame.
struct AudioFormat {
    int channels = 1;
    int sampleRate = 0;
    int bitsPerSample = 16;
    int blockAlign = 2;
};

// A buffer handle; 0 is none.
using AudioBuffer = std::uint32_t;

// Opens the output (the SDL2 audio device, or the headless mixer). Idempotent; NoDriver when there is no device.
// A device that failed to open is tried again only here: the clip player does not retry it.
AudioResult AudioOpen();
// Releases every buffer; the clip player and the device output stay (the backend closes the device).
void AudioClose();
bool AudioIsOpen();

// A stopped buffer of bytes of silence in the format, volume 0, pan 0, the recorded rate.
AudioResult AudioCreateBuffer(const AudioFormat& format, std::size_t bytes, AudioBuffer& out);
// A new stopped buffer sharing the samples of source, with its own position, volume, pan and rate.
AudioResult AudioDuplicateBuffer(AudioBuffer source, AudioBuffer& out);
// Stops and forgets the buffer; 0 and unknown handles are ignored.
void AudioReleaseBuffer(AudioBuffer buffer);
// Copies bytes into the buffer at offset; InvalidParam when they would not fit.
AudioResult AudioWriteBuffer(AudioBuffer buffer, std::size_t offset, const void* data, std::size_t size);
// Plays from the current position (the start after a stop at the end); loop wraps at the end.
AudioResult AudioPlay(AudioBuffer buffer, bool loop);
// Stops and keeps the position.
AudioResult AudioStop(AudioBuffer buffer);
AudioResult AudioGetStatus(AudioBuffer buffer, bool& playing);
AudioResult AudioSetVolume(AudioBuffer buffer, int hundredthsDb);
AudioResult AudioSetPan(AudioBuffer buffer, int pan);
AudioResult AudioSetFrequency(AudioBuffer buffer, int hz);
// Bytes of the buffer played since its last AudioPlay, counting every pass of a loop.
AudioResult AudioGetPlayedBytes(AudioBuffer buffer, std::uint64_t& out);
// Lets the buffer play no further than playedBytes (counted as AudioGetPlayedBytes counts them): there it falls
// silent and waits for a higher limit, or stops when stopThere is set. A refilled looping buffer thus never
// replays what it played before, however late the refill comes.
AudioResult AudioSetPlayLimit(AudioBuffer buffer, std::uint64_t playedBytes, bool stopThere);
// While paused the output is silent and nothing advances: buffers and the clip go on where they were.
void AudioPauseOutput(bool paused);

// Plays a whole wave file held in memory (the data is copied). False only while an earlier clip still sounds;
// data the player cannot decode starts nothing and counts as played, so a bad clip never blocks its caller.
bool AudioPlayClip(const void* waveFile, std::size_t size);
// Whether AudioPlayClip could decode the data: a PCM wave file the mixer plays.
bool AudioCanPlayClip(const void* waveFile, std::size_t size);
// Stops the clip that sounds, if any.
void AudioStopClip();
bool AudioClipPlaying();

} // namespace plat

// Controls of the headless mixer, for tests.
namespace plat::headless {

// Forgets every buffer and clip; the device is available and untried, the output not paused, the clip player
// free and no clip recorded.
void ResetAudio();
// While false the output device cannot be opened: AudioOpen fails with NoDriver (and the buffers are released).
void SetAudioAvailable(bool available);
// Makes AudioPlayClip answer busy while set, as when another program's sound holds the player.
void SetClipPlayerBusy(bool busy);
// Mixes the next frames of output and returns them, interleaved left and right.
std::vector<std::int16_t> MixAudio(std::size_t frames);
// Buffers that are playing now.
int PlayingAudioBuffers();
// Tries to open the output device that failed since ResetAudio.
int FailedOutputOpens();
// Starts keeping the byte sizes of started clips (a test's record; nothing is kept unless asked for).
void RecordStartedClips();
// Byte sizes of the clips started since RecordStartedClips, in order (0 for one that could not be decoded).
const std::vector<std::size_t>& StartedClips();

} // namespace plat::headless
