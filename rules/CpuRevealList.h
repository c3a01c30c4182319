// The CPU's cards being shown to the learner before they are played; the CPU life token waits while any are.
#pragma once

bool IsCpuRevealListNotEmpty();
