#include "engine/sound/HintRegistry.h"

#include "engine/sound/VoiceQueue.h"

#include <memory>
#include <new>

namespace {

std::unique_ptr<HintRegistry> s_pHintRegistry;

} // namespace

bool HintRegistry::PlayVoiceLimited(std::u16string_view name, int maxTimes, bool stopFirst)
{
    if (maxTimes == 0)
        return false;
    auto it = m_PlayCounts.find(name);
    if (it == m_PlayCounts.end())
        it = m_PlayCounts.emplace(std::u16string(name), 0).first;
    if (maxTimes > 0 && it->second >= maxTimes) {
        if (stopFirst)
            StopVoiceQueue();
        return false;
    }
    ++it->second;
    if (stopFirst)
        StopVoiceQueue();
    const std::u16string path(name);
    QueueVoice(path.c_str(), true);
    return true;
}

void HintRegistry::StopVoices()
{
    StopVoiceQueue();
}

void HintRegistry::ClearPlayCounts()
{
    m_PlayCounts.clear();
}

HintRegistry* GetHintRegistry()
{
    if (!s_pHintRegistry)
        s_pHintRegistry.reset(new (std::nothrow) HintRegistry);
    return s_pHintRegistry.get();
}

void DeleteHintRegistry()
{
    s_pHintRegistry.reset();
}

void ClearHintPlayCounts()
{
    if (s_pHintRegistry)
        s_pHintRegistry->ClearPlayCounts();
}
