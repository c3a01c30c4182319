// libFuzzer target over every reader of wave data: the effect header and slot loader, the stream reader and the
// stream itself, and the clip player's decoder. Any input must give a result, never a read outside a buffer.
#include "engine/sound/Wave.h"
#include "engine/sound/WaveFile.h"
#include "engine/sound/WaveHeader.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr int FUZZ_SLOT = 9;
constexpr std::size_t MIX_FRAMES = 256;
std::u16string s_Path;
std::filesystem::path s_Folder;

void RemoveFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(s_Folder, ignored);
}

void ExerciseFile(const std::uint8_t* data, std::size_t size)
{
    if (size >= EFFECT_HEADER_BYTES) {
        std::uint8_t header[EFFECT_HEADER_BYTES];
        std::copy_n(data, EFFECT_HEADER_BYTES, header);
        EffectHeader parsed;
        ParseEffectHeader(header, size, parsed);
    }
    if (!plat::WriteFileAtomic(s_Path, data, size))
        return;

    LoadEffect(s_Path, FUZZ_SLOT);
    PlayEffect(FUZZ_SLOT, 255, 0, 0, 0, nullptr);
    UpdateVoices();
    plat::headless::MixAudio(MIX_FRAMES);
    StopAllEffects();

    WaveFile wave;
    if (wave.Open(s_Path)) {
        std::uint8_t buffer[4096];
        while (wave.Read(buffer, sizeof buffer) != 0) {
        }
    }

    if (PlayStream(s_Path) == 0) {
        UpdateStream();
        UpdateStream();
        plat::headless::MixAudio(MIX_FRAMES);
        UpdateStream();
        StopStream(0);
    }

    plat::AudioStopClip();
    plat::AudioPlayClip(data, size);
    plat::headless::MixAudio(MIX_FRAMES);
    plat::AudioStopClip();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    // Quiet: every bad header is reported to the log.
    plat::SetLogSink([](std::string_view) {});
    std::random_device random;
    s_Folder = std::filesystem::temp_directory_path() / ("tessel-fuzz-wave-" + std::to_string(random()));
    std::filesystem::create_directories(s_Folder);
    std::atexit(&RemoveFolder);
    s_Path = plat::FromUtf8((s_Folder / "input.wav").string());
    SetSoundOn(InitSound());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExerciseFile(data, size);
    return 0;
}
