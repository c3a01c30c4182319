// The hand demonstrations of the physical lesson.
#pragma once

// True when their busy flag is clear and their queues are empty.
bool AreHandDemosIdle();
// Placeholder until the demonstrations exist: what AreHandDemosIdle answers.
void SetHandDemosIdle(bool idle);
// True when the lesson flag is clear and the CPU's list of cards to reveal is empty.
bool CpuListEmpty();
// Placeholder until the demonstrations exist: what CpuListEmpty answers.
void SetCpuListEmpty(bool empty);
