#include "engine/core/LanguageManager.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "platform/Headless.h"
#include "tests/TestSupport.h"
#include "tests/engine/sound/WaveFixtures.h"

#include <gtest/gtest.h>

namespace {

using Sizes = std::vector<std::size_t>;

// Clips of 8-bit mono at 11025 Hz: a clip of n frames sounds for 4n output frames.
constexpr test::WaveSpec CLIP_SPEC = {1, 11025, 8};

class VoiceQueueTest : public ::testing::Test {
protected:
    VoiceQueueTest() : m_folder(m_dir.Path()) {}

    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }

    static void Forget()
    {
        SetVoiceMuted(false);
        ResetVoiceQueue();
        DeleteHintRegistry();
        plat::headless::ResetAudio();
        plat::headless::RecordStartedClips();
    }

    // Writes a clip of frames samples under data\vo\ and returns its size in bytes.
    std::size_t WriteClip(const std::string& name, int frames, const test::WaveSpec& format = CLIP_SPEC)
    {
        const std::vector<std::uint8_t> bytes = test::ConstantWave(format, 160, frames);
        m_dir.Write("data/vo/" + name, bytes);
        return bytes.size();
    }

    // Lets the playing clip sound to its end and its estimate run out.
    static void PlayOut(std::size_t bytes)
    {
        plat::headless::MixAudio(bytes * 4);
        plat::headless::AdvanceTime(EstimateVoiceLength(bytes));
    }

    test::TempDir m_dir;

private:
    test::ScopedCurrentFolder m_folder;
};

TEST_F(VoiceQueueTest, LengthEstimate)
{
    EXPECT_EQ(EstimateVoiceLength(112500), 10340u);
    EXPECT_EQ(EstimateVoiceLength(0), 100u);
    EXPECT_EQ(EstimateVoiceLength(11249), 1123u);
    // Sizes whose product with 1024 passes 32 bits.
    EXPECT_EQ(EstimateVoiceLength(5000000), 455211u);
}

TEST_F(VoiceQueueTest, ClipsPlayInOrderEachAfterThePreviousHasRunOut)
{
    const std::size_t a = WriteClip("a.wav", 1000);
    const std::size_t b = WriteClip("b.wav", 2000);
    const std::size_t c = WriteClip("c.wav", 3000);
    QueueVoice(u"data\\vo\\a.wav", false);
    QueueVoice(u"data\\vo\\b.wav", false);
    EXPECT_EQ(GetCurrentVoice(), 0);

    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a}));
    EXPECT_NE(GetCurrentVoice(), 0);
    // Queued while a plays: after the clips already waiting.
    QueueVoice(u"data\\vo\\c.wav", false);
    plat::headless::AdvanceTime(EstimateVoiceLength(a) - 1);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a}));

    PlayOut(a);
    EXPECT_EQ(GetCurrentVoice(), 0);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a, b}));
    EXPECT_EQ(VoiceQueueLength(), 2u);
    PlayOut(b);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a, b, c}));
    PlayOut(c);
    UpdateVoiceQueue();
    EXPECT_EQ(VoiceQueueLength(), 0u);
    EXPECT_EQ(GetCurrentVoice(), 0);
    EXPECT_EQ(plat::headless::StartedClips().size(), 3u);
}

TEST_F(VoiceQueueTest, ABusyPlayerIsTriedAgainNextFrame)
{
    const std::size_t a = WriteClip("a.wav", 100);
    QueueVoice(u"data\\vo\\a.wav", false);
    plat::headless::SetClipPlayerBusy(true);
    UpdateVoiceQueue();
    UpdateVoiceQueue();
    EXPECT_TRUE(plat::headless::StartedClips().empty());
    EXPECT_EQ(GetCurrentVoice(), 0);
    plat::headless::SetClipPlayerBusy(false);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a}));
}

TEST_F(VoiceQueueTest, AClipThatOutlastsItsEstimateHoldsTheNextBack)
{
    // At 4000 bytes a second the estimate (about 468 ms) is shorter than the second the clip sounds.
    const std::size_t slow = WriteClip("slow.wav", 4000, {1, 4000, 8});
    const std::size_t next = WriteClip("next.wav", 100);
    QueueVoice(u"data\\vo\\slow.wav", false);
    QueueVoice(u"data\\vo\\next.wav", false);
    UpdateVoiceQueue();
    plat::headless::AdvanceTime(EstimateVoiceLength(slow));
    plat::headless::MixAudio(plat::AUDIO_OUTPUT_RATE / 2);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{slow}));
    plat::headless::MixAudio(plat::AUDIO_OUTPUT_RATE / 2 + 10);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{slow, next}));
}

TEST_F(VoiceQueueTest, AMissingClipHoldsTheQueueForItsPadding)
{
    const std::size_t a = WriteClip("a.wav", 100);
    QueueVoice(u"data\\vo\\missing.wav", false);
    QueueVoice(u"data\\vo\\a.wav", false);
    UpdateVoiceQueue();
    EXPECT_NE(GetCurrentVoice(), 0);
    plat::headless::AdvanceTime(99);
    UpdateVoiceQueue();
    EXPECT_TRUE(plat::headless::StartedClips().empty());
    plat::headless::AdvanceTime(1);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{a}));
}

TEST_F(VoiceQueueTest, AClipThePlayerCannotDecodeDoesNotBlockTheQueue)
{
    m_dir.Write("data/vo/bad.wav", std::string_view("RIFF\x04\0\0\0WAVX", 12));
    const std::size_t a = WriteClip("a.wav", 100);
    const test::ScopedLog log;
    QueueVoice(u"data\\vo\\bad.wav", false);
    QueueVoice(u"data\\vo\\a.wav", false);
    QueueVoice(u"data\\vo\\bad.wav", false);
    // The clip that holds no sound is named once; the good one is not.
    EXPECT_EQ(log.Count("bad.wav cannot be decoded as a .wav voice clip"), 1) << log.Text();
    EXPECT_EQ(log.Count("cannot be decoded"), 1) << log.Text();
    UpdateVoiceQueue();
    plat::headless::AdvanceTime(EstimateVoiceLength(12));
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{0, a}));
}

TEST_F(VoiceQueueTest, AFullQueueDropsFurtherClipsAndClearFirstEmptiesIt)
{
    WriteClip("a.wav", 10);
    for (std::size_t i = 0; i < VOICE_QUEUE_CAPACITY + 3; ++i)
        QueueVoice(u"data\\vo\\a.wav", false);
    EXPECT_EQ(VoiceQueueLength(), VOICE_QUEUE_CAPACITY);
    QueueVoice(u"data\\vo\\a.wav", true);
    EXPECT_EQ(VoiceQueueLength(), 1u);
    QueueVoice(nullptr, true);
    EXPECT_EQ(VoiceQueueLength(), 1u);
}

TEST_F(VoiceQueueTest, StopEndsTheClipAndEmptiesTheQueue)
{
    WriteClip("a.wav", 1000);
    QueueVoice(u"data\\vo\\a.wav", false);
    QueueVoice(u"data\\vo\\a.wav", false);
    UpdateVoiceQueue();
    EXPECT_TRUE(plat::AudioClipPlaying());
    StopVoiceQueue();
    EXPECT_FALSE(plat::AudioClipPlaying());
    EXPECT_EQ(VoiceQueueLength(), 0u);
    EXPECT_EQ(GetCurrentVoice(), 0);
}

TEST_F(VoiceQueueTest, WhileMutedNothingIsQueuedPlayedOrStopped)
{
    WriteClip("a.wav", 1000);
    QueueVoice(u"data\\vo\\a.wav", false);
    SetVoiceMuted(true);
    QueueVoice(u"data\\vo\\a.wav", false);
    EXPECT_EQ(VoiceQueueLength(), 1u);
    UpdateVoiceQueue();
    EXPECT_TRUE(plat::headless::StartedClips().empty());
    StopVoiceQueue();
    EXPECT_EQ(VoiceQueueLength(), 1u);
    SetVoiceMuted(false);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips().size(), 1u);
}

TEST_F(VoiceQueueTest, PathsOutsideTheInstallDataFolderAreLookedUpInTheLanguageFolder)
{
    LanguageManager* language = GetLanguageManager();
    ASSERT_NE(language, nullptr);
    language->SetLanguage(LANG_GERMAN, false);
    std::string folder = plat::ToUtf8(language->GetDataFolder());
    std::replace(folder.begin(), folder.end(), '\\', '/');
    const std::vector<std::uint8_t> localized = test::ConstantWave(CLIP_SPEC, 160, 300);
    m_dir.Write(folder + "vo_phys/hint.wav", localized);
    const std::size_t install = WriteClip("a.wav", 100);

    QueueVoice(u"DATA\\vo\\a.wav", false);
    QueueVoice(u"vo_phys\\hint.wav", false);
    UpdateVoiceQueue();
    PlayOut(install);
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{install, localized.size()}));
    DeleteLanguageManager();
}

TEST_F(VoiceQueueTest, LimitedHintsStopAtTheirLimitUntilTheCountsAreCleared)
{
    const std::size_t hint = WriteClip("hint.wav", 1000);
    HintRegistry* hints = GetHintRegistry();
    ASSERT_NE(hints, nullptr);
    EXPECT_EQ(GetHintRegistry(), hints);

    EXPECT_TRUE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", 1, true));
    UpdateVoiceQueue();
    EXPECT_EQ(plat::headless::StartedClips(), (Sizes{hint}));
    // Refused, and stopFirst still stops what plays.
    EXPECT_FALSE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", 1, true));
    EXPECT_FALSE(plat::AudioClipPlaying());
    EXPECT_EQ(VoiceQueueLength(), 0u);
    // Names count by their exact spelling.
    EXPECT_TRUE(hints->PlayVoiceLimited(u"DATA\\vo\\hint.wav", 1, false));

    ClearHintPlayCounts();
    EXPECT_TRUE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", 1, false));
    EXPECT_FALSE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", 1, false));
}

TEST_F(VoiceQueueTest, HintLimitsOfNoneAndZero)
{
    WriteClip("hint.wav", 1000);
    HintRegistry* hints = GetHintRegistry();
    ASSERT_NE(hints, nullptr);
    QueueVoice(u"data\\vo\\hint.wav", false);
    QueueVoice(u"data\\vo\\hint.wav", false);
    // Zero refuses without stopping anything.
    EXPECT_FALSE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", 0, true));
    EXPECT_EQ(VoiceQueueLength(), 2u);
    // No limit always queues, replacing whatever was queued.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(hints->PlayVoiceLimited(u"data\\vo\\hint.wav", -1, false));
    EXPECT_EQ(VoiceQueueLength(), 1u);
    hints->StopVoices();
    EXPECT_EQ(VoiceQueueLength(), 0u);
}

} // namespace
