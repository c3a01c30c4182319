#include "engine/scene/Actor.h"
#include "engine/sound/SoundError.h"
#include "engine/sound/Wave.h"
#include "engine/sound/WaveHeader.h"
#include "platform/Headless.h"
#include "tests/engine/sound/SoundFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using test::ConstantWave;
using test::FrameAt;
using test::WaveSpec;

constexpr int CLICK_SLOT = 9;
const char* const CLICK_FILE = "cs00040.wav";

class SoundEffectTest : public test::SoundFixture {
protected:
    // A one-second effect of one value in the click slot, sound started.
    void StartWithClick(const WaveSpec& format = {}, int value = 16000, int frames = 44100)
    {
        WriteEffect(CLICK_FILE, ConstantWave(format, value, frames));
        ASSERT_TRUE(StartSound());
        ASSERT_TRUE(IsEffectLoaded(CLICK_SLOT));
    }
};

TEST_F(SoundEffectTest, InitSoundLoadsTheTableAndLeavesOtherSlotsEmpty)
{
    WriteEffect("cs00040.wav", ConstantWave({}, 100, 10));
    WriteEffect("cancel.wav", ConstantWave({2, 22050, 8}, 200, 10));
    ASSERT_TRUE(StartSound());
    EXPECT_TRUE(IsEffectLoaded(9));
    EXPECT_TRUE(IsEffectLoaded(82));
    EXPECT_FALSE(IsEffectLoaded(19));   // in the table, file missing
    EXPECT_FALSE(IsEffectLoaded(10));   // not in the table
    EXPECT_EQ(PlayEffect(19, 255, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(PlayEffect(-1, 255, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(PlayEffect(EFFECT_SLOT_COUNT, 255, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
}

TEST_F(SoundEffectTest, StartingAgainStopsEverythingAndReloadsTheSlots)
{
    StartWithClick();
    m_dir.Write("data/music.wav", ConstantWave({}, 500, 44100));
    PlayEffect(CLICK_SLOT, 255, 0, 0, 1, nullptr);
    ASSERT_EQ(PlayStream(u"data\\music.wav"), 0);
    WriteEffect(CLICK_FILE, ConstantWave({}, 3000, 100));
    ASSERT_TRUE(InitSound());
    EXPECT_FALSE(IsStreamPlaying());
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
    PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr);
    EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0).first, 3000);
}

TEST_F(SoundEffectTest, TwentyOneEffectsGiveTwentyVoicesAndARefusal)
{
    StartWithClick();
    for (int i = 0; i < VOICE_COUNT; ++i)
        EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), i);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), VOICE_COUNT);
    EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), VOICE_COUNT);
    // Twenty voices of one effect add up in the mix (clamped at full scale).
    EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0), std::make_pair(32767, 32767));
}

TEST_F(SoundEffectTest, AFinishedVoiceIsReused)
{
    StartWithClick({}, 1000, 10);
    for (int i = 0; i < VOICE_COUNT; ++i)
        PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr);
    plat::headless::MixAudio(20);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
    EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 1);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 2);
    EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0), std::make_pair(2000, 2000));
}

TEST_F(SoundEffectTest, VolumeAndPanReachTheMixedSamples)
{
    struct Case {
        int pan;
        bool settled;   // after UpdateVoices, the volume of a 255 argument: -2.15 dB
        int left;
        int right;
    };
    const Case cases[] = {
        {0, false, 16000, 16000},
        {0, true, 12492, 12492},
        {SOUND_PAN_LEFT, false, 16000, 0},
        {SOUND_PAN_RIGHT, false, 0, 16000},
        {2000, false, 1600, 16000},
        {-600, false, 16000, 8019},
        {-600, true, 12492, 6261},
    };
    StartWithClick();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pan " << c.pan << " settled " << c.settled);
        StopAllEffects();
        PlayEffect(CLICK_SLOT, 255, c.pan, 0, 0, nullptr);
        if (c.settled) {
            EXPECT_TRUE(UpdateVoices());
        }
        const auto [left, right] = FrameAt(plat::headless::MixAudio(1), 0);
        EXPECT_NEAR(left, c.left, 2);
        EXPECT_NEAR(right, c.right, 2);
    }
}

TEST_F(SoundEffectTest, SampleFormatsMixAtTheirValue)
{
    struct Case {
        WaveSpec format;
        std::vector<int> samples;
        int left;
        int right;
    };
    const Case cases[] = {
        {{1, 44100, 8}, {192}, 16384, 16384},
        {{1, 44100, 8}, {0}, -32768, -32768},
        {{2, 44100, 16}, {8000, -8000}, 8000, -8000},
        {{2, 44100, 8}, {128, 64}, 0, -16384},
    };
    for (const Case& c : cases) {
        ForgetSound();
        std::vector<int> samples;
        for (int i = 0; i < 100; ++i)
            samples.insert(samples.end(), c.samples.begin(), c.samples.end());
        WriteEffect(CLICK_FILE, test::MakeWave(c.format, samples));
        ASSERT_TRUE(StartSound());
        PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr);
        EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0), std::make_pair(c.left, c.right));
    }
}

TEST_F(SoundEffectTest, FrequencyAndLoopChangeHowLongAVoicePlays)
{
    StartWithClick({}, 1000, 100);
    PlayEffect(CLICK_SLOT, 255, 0, 22050, 0, nullptr);   // half speed: 200 output frames
    plat::headless::MixAudio(190);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 1);
    plat::headless::MixAudio(20);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);

    PlayEffect(CLICK_SLOT, 255, 0, 0, 1, nullptr);
    const auto mix = plat::headless::MixAudio(1000);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 1);
    EXPECT_EQ(FrameAt(mix, 999).first, 1000);
    EXPECT_TRUE(StopAllEffects());
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
}

// The mixer refuses the value before the sound starts: nothing sounds behind the reported failure, and the voice
// is free for the next effect.
TEST_F(SoundEffectTest, ARefusedValuePlaysNothingAndFreesItsVoice)
{
    struct Case {
        const char* what;
        int pan;
        int frequency;
    };
    const Case cases[] = {
        {"frequency below the mixer's", 0, plat::AUDIO_MIN_RATE - 1},
        {"frequency above the mixer's", 0, plat::AUDIO_MAX_RATE + 1},
        {"pan beyond the right", SOUND_PAN_RIGHT + 1, 0},
    };
    StartWithClick();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s_log.clear();
        EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, c.pan, c.frequency, 1, nullptr), 0);
        EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
        EXPECT_NE(s_log.find("DSERR_INVALIDPARAM"), std::string::npos) << s_log;
        EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 0) << "voice 0 is free again";
        EXPECT_TRUE(StopAllEffects());
    }
}

TEST_F(SoundEffectTest, DisabledSoundReportsSuccessAndMixesNothing)
{
    StartWithClick();
    SetSoundOn(false);
    EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 1);
    EXPECT_TRUE(StopAllEffects());
    EXPECT_EQ(PlayStream(u"data\\sfx\\cs00040.wav"), STREAM_FAILED);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
    const auto mix = plat::headless::MixAudio(100);
    EXPECT_EQ(mix, std::vector<std::int16_t>(200, 0));
}

TEST_F(SoundEffectTest, NoSoundDeviceLeavesTheProgramSilentWithTheErrorInTheLog)
{
    WriteEffect(CLICK_FILE, ConstantWave({}, 16000, 100));
    plat::headless::SetAudioAvailable(false);
    EXPECT_FALSE(StartSound());
    EXPECT_NE(s_log.find("DirectSound Error DSERR_NODRIVER\nin file .\\Wave.cpp at line "), std::string::npos)
        << s_log;
    EXPECT_FALSE(IsEffectLoaded(CLICK_SLOT));
    EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 0);
    EXPECT_TRUE(StopAllEffects());
    EXPECT_EQ(PlayStream(u"data\\sfx\\cs00040.wav"), STREAM_FAILED);
    EXPECT_TRUE(UpdateVoices());
    UpdateStream();
    ShutdownSound();
    EXPECT_EQ(plat::headless::MixAudio(10), std::vector<std::int16_t>(20, 0));

    // The missing device is not looked for again by every voice clip (each try costs time and error lines),
    // only by the next start of sound.
    const std::vector<std::uint8_t> clip = ConstantWave({}, 1000, 10);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(plat::AudioPlayClip(clip.data(), clip.size()));
    EXPECT_FALSE(plat::AudioClipPlaying());
    EXPECT_EQ(plat::headless::FailedOutputOpens(), 1);
    // A device that has come back is found by the next start, not before.
    plat::headless::SetAudioAvailable(true);
    EXPECT_TRUE(plat::AudioPlayClip(clip.data(), clip.size()));
    EXPECT_FALSE(plat::AudioClipPlaying());
    EXPECT_TRUE(StartSound());
    EXPECT_EQ(plat::headless::FailedOutputOpens(), 1);
    EXPECT_TRUE(plat::AudioPlayClip(clip.data(), clip.size()));
    EXPECT_TRUE(plat::AudioClipPlaying());
}

TEST_F(SoundEffectTest, BadHeadersGiveEmptySlots)
{
    struct Case {
        const char* what;
        std::size_t offset;   // 0: cut the file to 'value' bytes
        std::uint32_t value;
        bool is32;
    };
    const Case cases[] = {
        {"no channels", 22, 0, false},
        {"three channels", 22, 3, false},
        {"12 bits", 34, 12, false},
        {"no bits", 34, 0, false},
        {"block align 0", 32, 0, false},
        {"rate 0", 24, 0, true},
        {"rate beyond the mixer", 24, 0xFFFFFFFF, true},
        {"block align below a frame", 32, 1, false},
        {"no data", 40, 0, true},
        {"shorter than the header", 0, 43, false},
        {"empty file", 0, 0, false},
    };
    const test::ScopedLog log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetSound();
        std::vector<std::uint8_t> bytes = ConstantWave({}, 1000, 50);
        if (c.offset == 0)
            bytes.resize(c.value);
        else if (c.is32)
            test::SetLe32At(bytes, c.offset, c.value);
        else
            test::SetLe16At(bytes, c.offset, c.value);
        WriteEffect(CLICK_FILE, bytes);
        ASSERT_TRUE(StartSound());
        EXPECT_FALSE(IsEffectLoaded(CLICK_SLOT));
        EXPECT_EQ(PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr), 0);
    }
    // The file is named once, not at every start.
    EXPECT_EQ(log.Count(std::string(CLICK_FILE) + " cannot be decoded as a .wav sound"), 1) << log.Text();
}

TEST_F(SoundEffectTest, DataSizeIsClampedToTheFile)
{
    std::vector<std::uint8_t> bytes = ConstantWave({}, 1000, 50);
    test::SetLe32At(bytes, 40, 0x7FFFFFFF);
    WriteEffect(CLICK_FILE, bytes);
    ASSERT_TRUE(StartSound());
    ASSERT_TRUE(IsEffectLoaded(CLICK_SLOT));
    PlayEffect(CLICK_SLOT, 255, 0, 0, 0, nullptr);
    const auto mix = plat::headless::MixAudio(60);
    EXPECT_EQ(FrameAt(mix, 49).first, 1000);
    EXPECT_EQ(FrameAt(mix, 50).first, 0);
    EXPECT_EQ(plat::headless::PlayingAudioBuffers(), 0);
}

TEST_F(SoundEffectTest, HeaderFieldsAreReadAtTheirOffsets)
{
    std::uint8_t header[EFFECT_HEADER_BYTES] = {};
    const std::vector<std::uint8_t> wave = ConstantWave({2, 22050, 16}, 0, 10);
    std::copy_n(wave.begin(), EFFECT_HEADER_BYTES, header);
    EffectHeader parsed;
    ASSERT_TRUE(ParseEffectHeader(header, wave.size(), parsed));
    EXPECT_EQ(parsed.channels, 2);
    EXPECT_EQ(parsed.sampleRate, 22050);
    EXPECT_EQ(parsed.blockAlign, 4);
    EXPECT_EQ(parsed.bitsPerSample, 16);
    EXPECT_EQ(parsed.dataSize, 40u);
    ASSERT_TRUE(ParseEffectHeader(header, 50, parsed));
    EXPECT_EQ(parsed.dataSize, 6u);
}

TEST_F(SoundEffectTest, PlacedSoundsFadeWithDistanceAndPanWithDirection)
{
    struct Case {
        float offset[3];
        int volume;
        int pan;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {{0, 0, 0}, 0, 0},
        {{10000, 0, 0}, -2000, 2000},
        {{-5000, 0, 0}, -1000, -2000},
        {{0, 3000, 4000}, -1000, 0},
        {{19999, 0, 0}, -3999, 2000},
        {{20000, 0, 0}, SOUND_VOLUME_MIN, 2000},
        {{nan, 0, 0}, SOUND_VOLUME_MIN, 0},
    };
    for (const Case& c : cases) {
        int volume = 1;
        int pan = 1;
        ComputePlacedSound(EFFECT_VOLUME_LEVEL, c.offset, volume, pan);
        EXPECT_EQ(volume, c.volume) << c.offset[0] << "," << c.offset[1] << "," << c.offset[2];
        EXPECT_EQ(pan, c.pan) << c.offset[0] << "," << c.offset[1] << "," << c.offset[2];
    }
}

TEST_F(SoundEffectTest, APlacedVoiceTakesItsVolumeAndPanFromThePlacement)
{
    StartWithClick();
    const int actorStandIn = 0;
    const auto* actor = reinterpret_cast<const Actor*>(&actorStandIn);
    // Without a placement (no hero) the recorded pan and full volume stay.
    PlayEffect(CLICK_SLOT, 255, SOUND_PAN_LEFT, 0, 0, actor);
    EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0), std::make_pair(16000, 0));
    StopAllEffects();

    SetSoundPlacement([](const Actor*, float offset[3]) {
        offset[0] = 10000.0f;
        offset[1] = 0.0f;
        offset[2] = 0.0f;
        return true;
    });
    PlayEffect(CLICK_SLOT, 255, 0, 0, 0, actor);
    const auto [left, right] = FrameAt(plat::headless::MixAudio(1), 0);
    EXPECT_NEAR(left, 160, 1);   // -20 dB volume, -20 dB more on the left
    EXPECT_NEAR(right, 1600, 1);
    EXPECT_TRUE(UpdateVoices());
    EXPECT_NEAR(FrameAt(plat::headless::MixAudio(1), 0).second, 1600, 1);
}

TEST_F(SoundEffectTest, TheActorNamedHeroIsTheListener)
{
    StartWithClick();
    Actor* hero = SpawnActor(u"hero", 0, nullptr, 100, 0, 0, 0, 0, 0);
    Actor* source = SpawnActor(u"source", 0, nullptr, 10100, 0, 0, 0, 0, 0);
    PlayEffect(CLICK_SLOT, 255, 0, 0, 0, source);
    const auto [left, right] = FrameAt(plat::headless::MixAudio(1), 0);
    EXPECT_NEAR(left, 160, 1);   // 10000 to the right: -20 dB, -20 dB more on the left
    EXPECT_NEAR(right, 1600, 1);
    StopAllEffects();

    // A sound whose actor has left the registry keeps its recorded volume and pan.
    RemoveActor(source);
    PlayEffect(CLICK_SLOT, 255, 0, 0, 0, source);
    EXPECT_EQ(FrameAt(plat::headless::MixAudio(1), 0), std::make_pair(16000, 16000));
    StopAllEffects();
    RemoveActor(hero);
    PurgeRemovedActors();
}

TEST(SoundErrorTest, ResultsAreNamedInTheReport)
{
    EXPECT_EQ(FormatSoundError(SoundResult::BadFormat, ".\\Wave.cpp", 120),
              "DirectSound Error DSERR_BADFORMAT\nin file .\\Wave.cpp at line 120");
    EXPECT_EQ(SoundResultName(SoundResult::OtherAppHasPriority), "DSERR_OTHERAPPHASPRIO");
    EXPECT_EQ(SoundResultName(SoundResult::Unknown), "Unknown Error");
    EXPECT_EQ(SoundResultName(SoundResultFromAudio(plat::AudioResult::OutOfMemory)), "DSERR_OUTOFMEMORY");
}

} // namespace
