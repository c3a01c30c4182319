// Placeholder until the resolution prompts exist: the stack is handed back at once.
#include "rules/ResolutionPrompts.h"

#include "rules/SpellStack.h"

void StartLibraryPrompt(int /*effectType*/)
{
}

void StartDrawDiscardPrompt()
{
}

bool IsOnlinePromptShowing()
{
    return false;
}
