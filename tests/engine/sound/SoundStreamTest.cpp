#include "engine/sound/Wave.h"
#include "platform/Headless.h"
#include "tests/engine/sound/SoundFixture.h"

#include <gtest/gtest.h>

namespace {

using test::FrameAt;
using test::WaveSpec;

constexpr std::size_t QUARTER_SECOND = plat::AUDIO_OUTPUT_RATE / 4;
const char16_t* const STREAM_PATH = u"data\\music.wav";

class SoundStreamTest : public test::SoundFixture {
protected:
    void SetUp() override
    {
        test::SoundFixture::SetUp();
        ASSERT_TRUE(StartSound());
    }

    // quarters quarter-seconds of 16-bit mono at the output rate; quarter k holds the value 1000 * (k / 4 + 1),
    // so every second of the stream has a value of its own.
    void WriteStream(int quarters)
    {
        std::vector<int> samples;
        for (int q = 0; q < quarters; ++q)
            samples.insert(samples.end(), QUARTER_SECOND, 1000 * (q / 4 + 1));
        m_dir.Write("data/music.wav", test::MakeWave({}, samples));
    }
};

TEST_F(SoundStreamTest, AShortStreamSoundsFromItsFirstSampleAndStopsAtItsEnd)
{
    WriteStream(6);   // 1.5 seconds
    ASSERT_EQ(PlayStream(STREAM_PATH), 0);
    EXPECT_EQ(PlayStream(STREAM_PATH), STREAM_FAILED);
    // Both halves were filled before the mixer started: nothing of the start is lost to silence.
    const auto mix = plat::headless::MixAudio(6 * QUARTER_SECOND);
    EXPECT_EQ(FrameAt(mix, 0).first, 1000);
    EXPECT_EQ(FrameAt(mix, 2 * QUARTER_SECOND).first, 1000);
    EXPECT_EQ(FrameAt(mix, 5 * QUARTER_SECOND).first, 2000);
    EXPECT_TRUE(IsStreamPlaying());
    UpdateStream();
    EXPECT_FALSE(IsStreamPlaying());
    EXPECT_EQ(plat::headless::MixAudio(100), std::vector<std::int16_t>(200, 0));
    // The slot is free again.
    EXPECT_EQ(PlayStream(STREAM_PATH), 0);
}

// While the main loop does not refill the stream (a modal box, an inactive window) the looping buffer must not
// play its old contents again.
TEST_F(SoundStreamTest, WithoutRefillsAnEndedStreamStopsByItselfAndNeverRepeats)
{
    WriteStream(6);
    ASSERT_EQ(PlayStream(STREAM_PATH), 0);
    const auto mix = plat::headless::MixAudio(12 * QUARTER_SECOND);
    EXPECT_EQ(FrameAt(mix, 5 * QUARTER_SECOND).first, 2000);
    EXPECT_EQ(FrameAt(mix, 6 * QUARTER_SECOND + QUARTER_SECOND / 2).first, 0);
    EXPECT_EQ(FrameAt(mix, 8 * QUARTER_SECOND + QUARTER_SECOND / 2).first, 0);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
    EXPECT_TRUE(UpdateVoices());
    EXPECT_FALSE(IsStreamPlaying());
}

TEST_F(SoundStreamTest, ALongStreamIsRefilledAheadOfTheMixerInOrder)
{
    WriteStream(14);   // 3.5 seconds: values 1000, 2000, 3000, 4000
    ASSERT_EQ(PlayStream(STREAM_PATH), 0);
    for (int q = 0; q < 14; ++q) {
        SCOPED_TRACE(q);
        UpdateStream();
        ASSERT_TRUE(IsStreamPlaying());
        const auto mix = plat::headless::MixAudio(QUARTER_SECOND);
        EXPECT_EQ(FrameAt(mix, QUARTER_SECOND / 2).first, 1000 * (q / 4 + 1));
    }
    UpdateStream();
    EXPECT_FALSE(IsStreamPlaying());
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
}

TEST_F(SoundStreamTest, AStalledStreamFallsSilentAndGoesOnWhereItStopped)
{
    WriteStream(14);   // 3.5 seconds: values 1000, 2000, 3000, 4000
    ASSERT_EQ(PlayStream(STREAM_PATH), 0);
    // The main loop stalls for 2.25 seconds: the mixer plays the two seconds it was given, then waits.
    auto mix = plat::headless::MixAudio(9 * QUARTER_SECOND);
    EXPECT_EQ(FrameAt(mix, 7 * QUARTER_SECOND).first, 2000);
    EXPECT_EQ(FrameAt(mix, 8 * QUARTER_SECOND + QUARTER_SECOND / 2).first, 0);
    EXPECT_TRUE(IsStreamPlaying());
    UpdateStream();
    mix = plat::headless::MixAudio(7 * QUARTER_SECOND);
    EXPECT_EQ(FrameAt(mix, QUARTER_SECOND / 2).first, 3000);
    EXPECT_EQ(FrameAt(mix, 5 * QUARTER_SECOND + QUARTER_SECOND / 2).first, 4000);
    EXPECT_EQ(FrameAt(mix, 6 * QUARTER_SECOND + QUARTER_SECOND / 2).first, 0);
    UpdateStream();
    EXPECT_FALSE(IsStreamPlaying());
}

TEST_F(SoundStreamTest, TheRestOfAHalfIsSilenceForTheSampleSize)
{
    struct Case {
        WaveSpec format;
        int value;
        int out;
    };
    const Case cases[] = {
        {{1, 44100, 8}, 192, 16384},
        {{1, 44100, 16}, -4000, -4000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.bits);
        StopStream(0);
        m_dir.Write("data/music.wav", test::ConstantWave(c.format, c.value, plat::AUDIO_OUTPUT_RATE / 2));
        ASSERT_EQ(PlayStream(STREAM_PATH), 0);
        UpdateStream();
        UpdateStream();
        const auto mix = plat::headless::MixAudio(plat::AUDIO_OUTPUT_RATE);
        EXPECT_EQ(FrameAt(mix, QUARTER_SECOND).first, c.out);
        EXPECT_EQ(FrameAt(mix, 3 * QUARTER_SECOND).first, 0);
        UpdateStream();
        EXPECT_FALSE(IsStreamPlaying());
    }
}

TEST_F(SoundStreamTest, StopStreamEndsItAndFreesTheSlot)
{
    WriteStream(8);
    ASSERT_EQ(PlayStream(STREAM_PATH), 0);
    UpdateStream();
    StopStream(1);   // not the stream slot
    EXPECT_TRUE(IsStreamPlaying());
    StopStream(0);
    EXPECT_FALSE(IsStreamPlaying());
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
    EXPECT_EQ(PlayStream(STREAM_PATH), 0);
    EXPECT_TRUE(StopAllEffects());
    EXPECT_FALSE(IsStreamPlaying());
}

TEST_F(SoundStreamTest, FilesThatCannotBeStreamedAreRefused)
{
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"no average byte rate", 28, 0},
        {"not RIFF", 0, 0x46464952 + 1},
        {"not WAVE", 8, 0},
        {"no fmt chunk", 12, 0x20746D67},
        {"no data chunk", 36, 0x61746165},
        {"fmt chunk too short", 16, 8},
        {"three channels", 22, 3},
        {"rate beyond the mixer", 24, 0x7FFFFFFF},
    };
    const test::ScopedLog log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes = test::ConstantWave({}, 1000, 1000);
        if (c.offset == 22)
            test::SetLe16At(bytes, c.offset, c.value);
        else
            test::SetLe32At(bytes, c.offset, c.value);
        m_dir.Write("data/music.wav", bytes);
        EXPECT_EQ(PlayStream(STREAM_PATH), STREAM_FAILED);
        EXPECT_FALSE(IsStreamPlaying());
    }
    EXPECT_EQ(PlayStream(u"data\\missing.wav"), STREAM_FAILED);
    // A file that holds no sound is named once; a missing one is not.
    EXPECT_EQ(log.Count("music.wav cannot be decoded as a .wav sound"), 1) << log.Text();
    EXPECT_EQ(log.Count("missing.wav"), 0) << log.Text();
}

} // namespace
