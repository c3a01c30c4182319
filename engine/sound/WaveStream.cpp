#include "engine/sound/Wave.h"

#include "engine/core/UndecodableFile.h"
#include "engine/sound/SoundError.h"
#include "engine/sound/WaveFile.h"
#include "engine/sound/WaveStream.h"
#include "platform/Platform.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int STREAM_SLOT = 0;
constexpr int HALF_FIRST = 1;
constexpr int HALF_SECOND = 0;

// Two seconds of sound in a looping buffer; the half the mixer has left is refilled from the file. The mixer
// plays no further than the last byte fed, so a late refill never replays old sound, and once the file has
// ended it stops there by itself.
struct StreamSlot {
    bool inUse = false;
    bool ended = false;
    plat::AudioBuffer buffer = 0;
    std::size_t halfBytes = 0;
    int bitsPerSample = 16;
    WaveFile reader;
    int lastFilled = HALF_SECOND;
    // Bytes of the file written into the buffer; once the reader has ended, the stream ends when the mixer has
    // played this many.
    std::uint64_t bytesFed = 0;
    std::uint64_t halvesFilled = 0;
};

StreamSlot s_Stream;

void ReleaseStreamBuffer()
{
    plat::AudioReleaseBuffer(s_Stream.buffer);
    s_Stream.buffer = 0;
    s_Stream.reader.Close();
}

void FillHalf(int half)
{
    const std::size_t offset = half == HALF_FIRST ? 0 : s_Stream.halfBytes;
    std::vector<std::uint8_t> data(s_Stream.halfBytes);
    const std::size_t got = s_Stream.reader.Read(data.data(), data.size());
    if (got < data.size()) {
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(got), data.end(),
                  static_cast<std::uint8_t>(s_Stream.bitsPerSample == 8 ? 128 : 0));
        s_Stream.ended = true;
    }
    s_Stream.bytesFed += got;
    s_Stream.lastFilled = half;
    ++s_Stream.halvesFilled;
    CheckSoundCall(plat::AudioWriteBuffer(s_Stream.buffer, offset, data.data(), data.size()), __LINE__);
    CheckSoundCall(plat::AudioSetPlayLimit(s_Stream.buffer, s_Stream.bytesFed, s_Stream.ended), __LINE__);
}

void EndStream()
{
    CheckSoundCall(plat::AudioStop(s_Stream.buffer), __LINE__);
    s_Stream.inUse = false;
}

} // namespace

int PlayStream(std::u16string_view path)
{
    if (s_Stream.inUse)
        return STREAM_FAILED;
    ReleaseStreamBuffer();
    // Sound that did not start stays silent, the stream included.
    if (!IsSoundOn() || !IsSoundDeviceOpen())
        return STREAM_FAILED;
    if (!s_Stream.reader.Open(path)) {
        if (s_Stream.reader.LastError() == WaveError::InvalidFile)
            ReportUndecodableFile(path, "a .wav sound");
        return STREAM_FAILED;
    }
    const WaveFormat& format = s_Stream.reader.Format();
    // A half holds one second; whole frames keep the two halves and the loop aligned.
    const std::size_t align = std::max<std::size_t>(format.blockAlign, 1);
    const std::size_t half = format.avgBytesPerSec / align * align;
    plat::AudioFormat mixFormat;
    mixFormat.channels = format.formatTag == 1 ? format.channels : 0;
    mixFormat.sampleRate = static_cast<int>(std::min<std::uint32_t>(format.samplesPerSec, 0x7FFFFFFF));
    mixFormat.bitsPerSample = format.bitsPerSample;
    mixFormat.blockAlign = format.blockAlign;
    plat::AudioBuffer buffer = 0;
    if (half == 0 || !CheckSoundCall(plat::AudioCreateBuffer(mixFormat, half * 2, buffer), __LINE__)) {
        s_Stream.reader.Close();
        return STREAM_FAILED;
    }
    s_Stream.buffer = buffer;
    s_Stream.halfBytes = half;
    s_Stream.bitsPerSample = format.bitsPerSample;
    s_Stream.lastFilled = HALF_SECOND;
    s_Stream.bytesFed = 0;
    s_Stream.halvesFilled = 0;
    s_Stream.ended = false;
    // Both halves hold sound before the mixer starts, so the stream's start is never played as silence.
    FillHalf(HALF_FIRST);
    FillHalf(HALF_SECOND);
    const int volume = STREAM_VOLUME_LEVEL == 0 ? SOUND_VOLUME_MIN
                                                : std::clamp(STREAM_VOLUME_LEVEL * 20 - 2000, SOUND_VOLUME_MIN, 0);
    if (!CheckSoundCall(plat::AudioSetVolume(buffer, volume), __LINE__) || !CheckSoundCall(plat::AudioPlay(buffer, true), __LINE__)) {
        ReleaseStreamBuffer();
        return STREAM_FAILED;
    }
    s_Stream.inUse = true;
    return STREAM_SLOT;
}

void StopStream(int slot)
{
    if (slot != STREAM_SLOT || !s_Stream.inUse)
        return;
    bool playing = false;
    if (plat::AudioGetStatus(s_Stream.buffer, playing) != plat::AudioResult::Ok || !playing)
        return;
    CheckSoundCall(plat::AudioStop(s_Stream.buffer), __LINE__);
    s_Stream.inUse = false;
    ReleaseStreamBuffer();
}

void UpdateStream()
{
    if (!s_Stream.inUse)
        return;
    std::uint64_t played = 0;
    if (!CheckSoundCall(plat::AudioGetPlayedBytes(s_Stream.buffer, played), __LINE__))
        return;
    if (s_Stream.ended && played >= s_Stream.bytesFed) {
        EndStream();
        return;
    }
    // A half is free once the mixer has left it: the fill after next may go in as soon as the mixer has passed
    // the start of the one before. After a stall the mixer waits at the last byte fed and goes on from there.
    while (!s_Stream.ended && s_Stream.halvesFilled < played / s_Stream.halfBytes + 2)
        FillHalf(s_Stream.lastFilled == HALF_FIRST ? HALF_SECOND : HALF_FIRST);
}

bool IsStreamPlaying()
{
    return s_Stream.inUse;
}

void NoteStreamStopped()
{
    if (!s_Stream.inUse)
        return;
    bool playing = false;
    if (CheckSoundCall(plat::AudioGetStatus(s_Stream.buffer, playing), __LINE__) && !playing)
        s_Stream.inUse = false;
}

void ReleaseStream()
{
    if (s_Stream.buffer != 0)
        plat::AudioStop(s_Stream.buffer);
    ReleaseStreamBuffer();
    s_Stream.inUse = false;
}
