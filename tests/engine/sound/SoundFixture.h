// A fresh sound module over the headless mixer, with its data in a temporary current folder.
#pragma once

#include "engine/sound/Wave.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"
#include "tests/engine/sound/WaveFixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace test {

class SoundFixture : public ::testing::Test {
protected:
    SoundFixture() : m_folder(m_dir.Path()) {}

    void SetUp() override
    {
        ForgetSound();
        s_log.clear();
        m_previousSink = plat::SetLogSink(&CaptureLog);
    }

    void TearDown() override
    {
        plat::SetLogSink(m_previousSink);
        ForgetSound();
    }

    static void ForgetSound()
    {
        SetSoundOn(true);
        ShutdownSound();
        SetSoundOn(false);
        SetSoundPlacement(nullptr);
        plat::headless::ResetAudio();
    }

    // Starts sound as start-up does.
    bool StartSound()
    {
        const bool started = InitSound();
        SetSoundOn(started);
        return started;
    }

    void WriteEffect(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        m_dir.Write("data/sfx/" + name, bytes);
    }

    static void CaptureLog(std::string_view text) { s_log += text; }

    static inline std::string s_log;
    TempDir m_dir;

private:
    ScopedCurrentFolder m_folder;
    plat::LogSink m_previousSink = nullptr;
};

// The left and right output at frame.
inline std::pair<int, int> FrameAt(const std::vector<std::int16_t>& mix, std::size_t frame)
{
    return {mix[2 * frame], mix[2 * frame + 1]};
}

} // namespace test
