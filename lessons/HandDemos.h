// The hand animations and demonstrations of the physical lesson. Until they exist they are idle unless a test
// says otherwise, and their new-game clean-up has nothing to clear.
#pragma once

#include <cstdint>

class CardActor;

// The card the demonstration hand carries, where it started and the size it is drawn at while carried; no card
// while the hand carries none.
struct DemoCarry {
    CardActor* card = nullptr;
    int startX = 0;
    int startY = 0;
    int width = 0;
    int height = 0;
};
DemoCarry& GetDemoCarry();

void ClearHandAnimationLists();
// Empties the acting hand's work and deletes the lesson's pending objects.
void ResetPendingObjects();
// True when their busy flag is clear and their queues are empty.
bool AreHandDemosIdle();
void SetHandDemosIdle(bool idle);
// True when the lesson flag is clear and the CPU's list of cards to reveal is empty.
bool CpuListEmpty();
// One step of the demonstrations; until they exist, the CPU's untap step untaps its cards at once.
void StepHandDemos();
void ResetHandDemos();
// The pause between two of the CPU's taps played back on the table.
constexpr std::uint32_t CPU_TAP_PLAYBACK_MS = 250;

// The CPU-side hand animation plays back the sources the CPU tapped, in the set's order, one at a time: the card
// turns on the table and leaves the set. Until the hand itself is drawn nothing more is shown.
void StepCpuHandAnimation();
void ResetCpuHandAnimation();
void SetCpuListEmpty(bool empty);
