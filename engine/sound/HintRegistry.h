// Spoken hints that may be heard only a limited number of times: a play count per clip name in front of the
// voice queue. The counts are cleared whenever an actor enters state 0.
#pragma once

#include <map>
#include <string>
#include <string_view>

class HintRegistry {
public:
    // Queues the clip (replacing whatever was queued) unless maxTimes requests were already counted for it;
    // maxTimes 0 refuses at once, a negative maxTimes means no limit. stopFirst stops the queue even when the
    // request is refused. True when the clip was queued.
    bool PlayVoiceLimited(std::u16string_view name, int maxTimes, bool stopFirst);
    void StopVoices();
    void ClearPlayCounts();

private:
    // Names compare exactly, case included.
    std::map<std::u16string, int, std::less<>> m_PlayCounts;
};

// The one registry, created on first use; nullptr when it cannot be created.
HintRegistry* GetHintRegistry();
// At shutdown.
void DeleteHintRegistry();
// Empties every play count (an actor entering state 0); nothing when the registry was never created.
void ClearHintPlayCounts();
