#include "engine/sound/SoundError.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<SoundResult, std::string_view>, 15> s_ResultNames = {{
    {SoundResult::Allocated, "DSERR_ALLOCATED"},
    {SoundResult::ControlUnavailable, "DSERR_CONTROLUNAVAIL"},
    {SoundResult::InvalidParam, "DSERR_INVALIDPARAM"},
    {SoundResult::InvalidCall, "DSERR_INVALIDCALL"},
    {SoundResult::Generic, "DSERR_GENERIC"},
    {SoundResult::PriorityLevelNeeded, "DSERR_PRIOLEVELNEEDED"},
    {SoundResult::OutOfMemory, "DSERR_OUTOFMEMORY"},
    {SoundResult::BadFormat, "DSERR_BADFORMAT"},
    {SoundResult::Unsupported, "DSERR_UNSUPPORTED"},
    {SoundResult::NoDriver, "DSERR_NODRIVER"},
    {SoundResult::AlreadyInitialized, "DSERR_ALREADYINITIALIZED"},
    {SoundResult::NoAggregation, "DSERR_NOAGGREGATION"},
    {SoundResult::BufferLost, "DSERR_BUFFERLOST"},
    {SoundResult::OtherAppHasPriority, "DSERR_OTHERAPPHASPRIO"},
    {SoundResult::Uninitialized, "DSERR_UNINITIALIZED"},
}};

constexpr std::array<std::pair<plat::AudioResult, SoundResult>, 7> s_AudioResults = {{
    {plat::AudioResult::Ok, SoundResult::Ok},
    {plat::AudioResult::NoDriver, SoundResult::NoDriver},
    {plat::AudioResult::Uninitialized, SoundResult::Uninitialized},
    {plat::AudioResult::InvalidParam, SoundResult::InvalidParam},
    {plat::AudioResult::InvalidCall, SoundResult::InvalidCall},
    {plat::AudioResult::BadFormat, SoundResult::BadFormat},
    {plat::AudioResult::OutOfMemory, SoundResult::OutOfMemory},
}};

} // namespace

SoundResult SoundResultFromAudio(plat::AudioResult result)
{
    for (const auto& [audio, sound] : s_AudioResults)
        if (audio == result)
            return sound;
    return SoundResult::Unknown;
}

std::string_view SoundResultName(SoundResult result)
{
    for (const auto& [code, name] : s_ResultNames)
        if (code == result)
            return name;
    return "Unknown Error";
}

std::string FormatSoundError(SoundResult result, std::string_view source, int line)
{
    std::string text = "DirectSound Error ";
    text += SoundResultName(result);
    text += "\nin file ";
    text += source;
    text += " at line ";
    text += std::to_string(line);
    return text;
}

void ReportSoundError(SoundResult result, std::string_view source, int line)
{
    plat::OutputDebugStringA(FormatSoundError(result, source, line) + "\n");
}

bool CheckSoundCall(plat::AudioResult result, int line)
{
    if (result == plat::AudioResult::Ok)
        return true;
    ReportSoundError(SoundResultFromAudio(result), SOUND_SOURCE_NAME, line);
    return false;
}
