// The prompts a paused resolution hands over to: library searches and looks, draws and discards. Until they exist
// a started prompt ends the resolution at once.
#pragma once

// A tutor or spy resolution.
void StartLibraryPrompt(int effectType);
// The human draws or discards.
void StartDrawDiscardPrompt();
// The online message field shows a prompt text.
bool IsOnlinePromptShowing();
