// The hand animations and demonstrations of the physical lesson: their new-game clean-up.
#pragma once

void ClearHandAnimationLists();
// Empties the acting hand's work and deletes the lesson's pending objects.
void ResetPendingObjects();
