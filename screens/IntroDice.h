// The dice that decide who begins: the physical intro's roll and the online coin toss keep their results here.
#pragma once

// The results of the last roll (1-6).
extern int s_HumanDieValue;
extern int s_CpuDieValue;

// The faces (0-5) of one physical-intro roll and the faces the dice start from.
struct IntroDiceFaces {
    int human = 0;
    int cpu = 0;
    int humanStart = 0;
    int cpuStart = 0;
};

// Basic game: drawn again until the CPU's face is higher, so the CPU always wins. Advanced game: drawn again until
// the faces differ. Stores the results in the two values.
IntroDiceFaces RollIntroDice(bool advanced);
// After the CPU won: in the basic game it always begins; in the advanced game when a fresh number is odd.
bool CpuBeginsAfterWinning(bool advanced);
