// The learner's target prompt: in the physical lesson one message box that says what kind of target to pick, with
// its voice clip; in the online lesson the message field with its Cancel button.
#pragma once

class CardActor;
class Messagebox;

// The one physical prompt, or null; the box is reused while it exists.
Messagebox* GetTargetPrompt();
// The prompt exists and is registered with the display.
bool IsTargetPromptOpen();
// Builds (or reuses) the prompt for the source's spell or ability, shows it and starts its voice.
void OpenTargetPrompt(CardActor* source, bool isAbility);
// The string key of the prompt's text; voice (when given) gets the clip, or null for a key without one.
const char16_t* GetTargetPromptKey(const CardActor* source, bool isAbility, const char16_t** voice);
// Hides the prompt and keeps it: the next interactive choice shows it again.
void CloseTargetPrompt();
// Unregisters the prompt from the display and the toolkit, then deletes it.
void DeleteTargetPrompt();
// A button of the physical prompt was pressed, or the online Cancel was clicked on its last showing.
bool TakeTargetPromptButton();
// The basic game refused a hostile pick: the prompt shows the key's text with a Cancel button.
void ShowTargetRefusal(const char16_t* key);
// The online message field shows the key's text with its Cancel button.
void ShowOnlineTargetPrompt(const char16_t* key);
// The reject sound, once per click.
void RejectTargetClick();
int GetTargetRejectCount();
// The card actor lying under the edges of a dropped card (never the card itself), or null.
CardActor* FindCardUnderCardEdge(const CardActor* card);
