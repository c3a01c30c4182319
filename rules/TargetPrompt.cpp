// Placeholder until the target prompt dialog exists: it records what would be shown.
#include "rules/TargetPrompt.h"

#include "cards/CardActor.h"
#include "engine/sound/Wave.h"

namespace {

bool s_Shown = false;
bool s_ButtonPressed = false;
const char16_t* s_Key = nullptr;
int s_Rejects = 0;

} // namespace

bool IsTargetPromptShown()
{
    return s_Shown;
}

void OpenTargetPrompt(CardActor* /*source*/, bool /*isAbility*/)
{
    s_Shown = true;
    s_Key = nullptr;
}

void DeleteTargetPrompt()
{
    s_Shown = false;
    s_Key = nullptr;
}

bool TakeTargetPromptButton()
{
    const bool pressed = s_ButtonPressed;
    s_ButtonPressed = false;
    return pressed;
}

void PressTargetPromptButton()
{
    s_ButtonPressed = true;
}

void ShowTargetRefusal(const char16_t* key)
{
    s_Key = key;
}

void ShowOnlineTargetPrompt(const char16_t* key)
{
    s_Key = key;
}

const char16_t* GetTargetPromptKey()
{
    return s_Key;
}

void RejectTargetClick()
{
    ++s_Rejects;
    PlayStream(u"data\\sfx\\reject.wav");
}

int GetTargetRejectCount()
{
    return s_Rejects;
}
