// The learner's target prompt: the physical lesson's message box and the online message field with its Cancel
// button. Until the prompt dialog exists the prompt is a record of what would be shown, and its button is
// pressed through PressTargetPromptButton.
#pragma once

class CardActor;

// The physical prompt exists and is registered with the display.
bool IsTargetPromptShown();
void OpenTargetPrompt(CardActor* source, bool isAbility);
// Unregisters and deletes the prompt.
void DeleteTargetPrompt();
// Takes a press of one of the prompt's buttons (or the online Cancel) since the last call.
bool TakeTargetPromptButton();
// The prompt's button handler.
void PressTargetPromptButton();
// The basic game refused a hostile pick: the prompt shows the key's text with a Cancel button.
void ShowTargetRefusal(const char16_t* key);
// The online message field shows the key's text with its Cancel button.
void ShowOnlineTargetPrompt(const char16_t* key);
const char16_t* GetTargetPromptKey();
// The reject sound, once per click.
void RejectTargetClick();
int GetTargetRejectCount();
