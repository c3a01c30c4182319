// What the lesson flows offer the engine's loop. Until the lessons exist they keep only the words the engine
// sets and clears.
#pragma once

// Closes the lesson box and the other lesson dialogs (shutdown).
void CloseAllLessonDialogs();
// Resets the online lesson's counters and once-only flags (every scene load).
void ResetOnlineLesson(int flag);
// The physical lesson's per-frame explanation of the turn step under the mouse.
void ExplainTurnStep();
// Clears the per-game words of the lesson flows and of the spell stack's prompt (every scene load).
void ClearPerGameWords();
// Ctrl+U in the online lesson: the player asks to undo the payment in progress.
void RequestPaymentUndo();
bool TakePaymentUndoRequest();
// The lesson's can-play-now flag: the human may act out of turn (an instant on the stack).
void SetCanPlayNowFlag(int flag);
int GetCanPlayNowFlag();
// The online advisor's current advice number.
int GetOnlineAdviceNumber();
