#include "lessons/OnlineTurnServices.h"

#include "cards/TableReset.h"
#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PhaseStops.h"
#include "rules/GameQueries.h"

#include <string>

bool OffersInstantWindow(int side, int step)
{
    if (!PhaseStop::Get(side, step))
        return false;
    return s_GameMode == 3 || HasUsableAbility(0) || (FindCardActorByState(0) & 16) != 0;
}

const char16_t* KeyText(std::u16string_view key)
{
    static std::u16string fallback;
    const char16_t* const text = GetString(key);
    if (text != nullptr)
        return text;
    fallback = std::u16string(key);
    return fallback.c_str();
}

int ShowKeyPrompt(std::u16string_view key, int kind)
{
    GameDisplay* const display = GetGameDisplay();
    return display != nullptr ? display->ShowMessagePrompt(KeyText(key), kind) : 0;
}

bool ShowOnlineWindow(int& handle, const char16_t* text, int width, int height, int buttons)
{
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return false;
    const auto [id, answer] = display->GetLastButtonEvent();
    if (buttons != 0 && handle >= 0 && id == handle && answer != 0) {
        handle = -1;
        return true;
    }
    handle = display->AddMessageWindow(0, 100, text, width, height, nullptr, false, 0, 0, buttons, u"psok",
                                       u"psokmo", nullptr, 30, 0, 0);
    return false;
}

int FramesPerSecond()
{
    const int fps = static_cast<int>(s_FramesPerSecond);
    return fps > 0 ? fps : 1;
}

const char16_t* LandNameKey(int colourIndex)
{
    static constexpr const char16_t* KEYS[] = {u"STR_aSwamp", u"STR_aMountain", u"STR_aForest", u"STR_anIsland",
                                               u"STR_aPlains", u"STR_aland"};
    return KEYS[colourIndex >= 0 && colourIndex < 5 ? colourIndex : 5];
}

void ReturnToMenusAfterGame()
{
    ResetTable(0);
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    display->m_SceneTag = 0;
    display->SetScreen(2, false);
    display->SetReturnScreen(1);
}
