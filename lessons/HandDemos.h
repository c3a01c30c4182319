// The hand animations and demonstrations of the physical lesson. Until they exist they are idle unless a test
// says otherwise, and their new-game clean-up has nothing to clear.
#pragma once

void ClearHandAnimationLists();
// Empties the acting hand's work and deletes the lesson's pending objects.
void ResetPendingObjects();
// True when their busy flag is clear and their queues are empty.
bool AreHandDemosIdle();
void SetHandDemosIdle(bool idle);
// True when the lesson flag is clear and the CPU's list of cards to reveal is empty.
bool CpuListEmpty();
void SetCpuListEmpty(bool empty);
