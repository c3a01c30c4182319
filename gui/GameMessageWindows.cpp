#include "gui/GameMessageWindows.h"

#include "engine/scene/GameDisplay.h"

#include <map>

namespace {

int s_NextMessageId = 0;
std::map<int, int> s_IdsByKey;

} // namespace

void UpdateMessageDialogs()
{
}

void CheckMessageButtonClick()
{
}

bool IsQuitPromptOpen()
{
    return false;
}

// Until the windows exist a request with a text is granted its key's id and nothing is shown.
int GameDisplay::AddMessageWindow(int key, int /*priority*/, std::u16string_view text, int /*width*/,
                                  int /*height*/, bool /*hasPosition*/, int /*x*/, int /*y*/, int /*buttonMode*/,
                                  std::u16string_view /*normalImage*/, std::u16string_view /*hoverImage*/,
                                  std::u16string_view /*rightHoverImage*/, int /*clickEffect*/, bool /*firstShow*/)
{
    if (text.empty())
        return -1;
    const auto [entry, added] = s_IdsByKey.try_emplace(key, s_NextMessageId);
    if (added)
        ++s_NextMessageId;
    return entry->second;
}

std::pair<int, int> GameDisplay::GetLastButtonEvent() const
{
    return m_LastButtonEvent;
}
