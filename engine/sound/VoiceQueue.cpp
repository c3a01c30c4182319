#include "engine/sound/VoiceQueue.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/UndecodableFile.h"
#include "platform/Platform.h"

#include <deque>
#include <string>
#include <vector>

namespace {

// A clip that cannot be read still holds the queue this long.
constexpr std::uint32_t VOICE_LENGTH_PADDING_MS = 100;
constexpr std::u16string_view INSTALL_DATA_PREFIX = u"data\\";

struct VoiceClip {
    std::u16string path;  // as resolved
    std::vector<std::uint8_t> data;
    std::uint32_t lengthMs = 0;
};

std::deque<VoiceClip> s_Clips;
// The first clip of the queue is the one playing once started.
bool s_bStarted = false;
std::uint32_t s_StartTime = 0;
bool s_bMuted = false;

bool StartsWithDataFolder(std::u16string_view path)
{
    if (path.size() < INSTALL_DATA_PREFIX.size())
        return false;
    for (std::size_t i = 0; i < INSTALL_DATA_PREFIX.size(); ++i) {
        char16_t ch = path[i];
        if (ch >= u'A' && ch <= u'Z')
            ch = static_cast<char16_t>(ch - u'A' + u'a');
        if (ch != INSTALL_DATA_PREFIX[i])
            return false;
    }
    return true;
}

std::u16string ResolveVoicePath(std::u16string_view path)
{
    std::u16string resolved;
    if (!StartsWithDataFolder(path)) {
        const LanguageManager* language = GetLanguageManager();
        if (language != nullptr)
            resolved = language->GetDataFolder();
    }
    resolved += path;
    if (resolved.size() > VOICE_PATH_CAPACITY)
        resolved.resize(VOICE_PATH_CAPACITY);
    return resolved;
}

void ClearQueue()
{
    s_Clips.clear();
    s_bStarted = false;
    s_StartTime = 0;
}

} // namespace

std::uint32_t EstimateVoiceLength(std::uint64_t size)
{
    const std::uint64_t ms = size * 1024 / 11250 + VOICE_LENGTH_PADDING_MS;
    return ms > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(ms);
}

void QueueVoice(const char16_t* path, bool clearFirst)
{
    if (s_bMuted || path == nullptr)
        return;
    const std::u16string resolved = ResolveVoicePath(path);
    if (clearFirst)
        StopVoiceQueue();
    if (s_Clips.size() >= VOICE_QUEUE_CAPACITY)
        return;
    VoiceClip clip;
    clip.path = resolved;
    if (!plat::ReadFileBytes(resolved, clip.data))
        clip.data.clear();
    else if (!plat::AudioCanPlayClip(clip.data.data(), clip.data.size()))
        ReportUndecodableFile(resolved, "a .wav voice clip");
    clip.lengthMs = EstimateVoiceLength(clip.data.size());
    s_Clips.push_back(std::move(clip));
}

void StopVoiceQueue()
{
    if (s_bMuted)
        return;
    plat::AudioStopClip();
    ClearQueue();
}

int GetCurrentVoice()
{
    if (s_Clips.empty() || !s_bStarted)
        return 0;
    return plat::TimeGetTime() - s_StartTime >= s_Clips.front().lengthMs ? 0 : 1;
}

void UpdateVoiceQueue()
{
    if (s_bMuted || s_Clips.empty() || GetCurrentVoice() != 0)
        return;
    const std::size_t next = s_bStarted ? 1 : 0;
    if (next >= s_Clips.size()) {
        // The last clip has played out.
        plat::AudioStopClip();
        ClearQueue();
        return;
    }
    const VoiceClip& clip = s_Clips[next];
    if (clip.data.empty()) {
        // No sound: the player just falls silent, which always succeeds.
        plat::AudioStopClip();
    } else if (!plat::AudioPlayClip(clip.data.data(), clip.data.size())) {
        // The player is busy; try again next frame.
        return;
    }
    s_StartTime = plat::TimeGetTime();
    if (s_bStarted)
        s_Clips.pop_front();
    s_bStarted = true;
}

void ResetVoiceQueue()
{
    ClearQueue();
}

void SetVoiceMuted(bool muted)
{
    s_bMuted = muted;
}

bool IsVoiceMuted()
{
    return s_bMuted;
}

std::size_t VoiceQueueLength()
{
    return s_Clips.size();
}

std::u16string GetQueuedVoicePath(std::size_t index)
{
    return index < s_Clips.size() ? s_Clips[index].path : std::u16string();
}
