// The sound module's error results and the text every failing mixer call is reported with.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <string_view>

enum class SoundResult {
    Ok,
    Allocated,
    ControlUnavailable,
    InvalidParam,
    InvalidCall,
    Generic,
    PriorityLevelNeeded,
    OutOfMemory,
    BadFormat,
    Unsupported,
    NoDriver,
    AlreadyInitialized,
    NoAggregation,
    BufferLost,
    OtherAppHasPriority,
    Uninitialized,
    Unknown
};

// The source name the reports carry.
inline constexpr char SOUND_SOURCE_NAME[] = ".\\Wave.cpp";

SoundResult SoundResultFromAudio(plat::AudioResult result);
// "DSERR_..." for the known results, "Unknown Error" otherwise.
std::string_view SoundResultName(SoundResult result);
// "DirectSound Error <name>\nin file <source> at line <line>".
std::string FormatSoundError(SoundResult result, std::string_view source, int line);
// Writes the formatted text to the debugger output.
void ReportSoundError(SoundResult result, std::string_view source, int line);
// Reports a failed mixer call with the caller's line; true when it succeeded.
bool CheckSoundCall(plat::AudioResult result, int line);
