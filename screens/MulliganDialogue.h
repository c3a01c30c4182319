// The mulligan dialogue of the advanced game's intro (steps 43 to 68 of the physical intro, which runs them) and
// the CPU's rule for taking a mulligan.
#pragma once

// Never with a hand of 4 or fewer; otherwise the CPU keeps only when a land lies among the first k cards of its
// library order (k = its hand, one more when it does not begin) and two lands and two creatures lie among the
// first nine.
bool CpuTakesMulligan(const int* libraryIds, int libraryCount, int handSize, bool cpuFirst);
