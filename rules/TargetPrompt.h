// The learner's target prompt: the message box, the mouse pick on a card or a player's area, Cancel. Until the
// prompt exists the pick is the candidate the caller passes, and refusals and rejects only count.
#pragma once

class Actor;
class CardActor;

// The pick of this frame: the candidate card, a player actor, or null (no pick, or Cancel with aborted set).
Actor* RunTargetPrompt(CardActor* source, CardActor* candidate, bool isAbility, bool cancelPaymentOnAbort,
                       bool* aborted);
// A wrong pick: the reject sound, once per click.
void RejectTargetClick();
// The basic game refused a hostile pick: the prompt shows the key's text with a Cancel button.
void RefuseHostileTarget(const char16_t* key);
// A target was accepted: the prompt goes away.
void CloseTargetPromptAfterChoice();
int GetTargetRejectCount();
