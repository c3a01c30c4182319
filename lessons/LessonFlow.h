// What the lesson flows offer the engine's loop. Until the lessons exist they keep only the words the engine
// sets and clears.
#pragma once

#include "gamestate/LessonState.h"
#include "lessons/Advice.h"
#include "lessons/LessonBox.h"

class CardActor;

// Closes the lesson box and the other lesson dialogs (shutdown).
void CloseAllLessonDialogs();
// Resets the online lesson's counters and once-only flags (every scene load).
void ResetOnlineLesson(int flag);
// The physical lesson's per-frame explanation of the turn step under the mouse.
void ExplainTurnStep();
// Clears the per-game words of the lesson flows and of the spell stack's prompt (every scene load).
void ClearPerGameWords();
// Whether a clicked land is the one the basic lesson's current step expects.
bool IsCardTheExpectedLand(const CardActor* card);
// The physical lesson's block prompt is up.
bool IsBlockPromptUp();
// The learner tapped a land (the lesson starts the colour choice of its extra mana).
void NotifyLandTapped(CardActor* card);
// After a layout change: the opponent's balloon goes back to its place by the new layout.
void PositionOpponentBalloon();
