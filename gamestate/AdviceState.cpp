// Placeholder until the lesson's advice exists: advice is blocked only when set.
#include "gamestate/AdviceState.h"

#include "engine/scene/GameDisplay.h"

namespace {

bool s_AdviceBlocked = false;

} // namespace

bool IsAdviceBlocked()
{
    return s_AdviceBlocked;
}

void SetAdviceBlocked(bool blocked)
{
    s_AdviceBlocked = blocked;
}

bool IsLibraryHighlightWanted()
{
    const GameDisplay* const display = GetGameDisplay();
    return display != nullptr && display->m_LibraryHighlight && !IsAdviceBlocked();
}
