// The CPU's choice of blockers against the human's attack, shared by both lessons' turn drivers.
#pragma once

// Which human attackers count toward the incoming power: the physical lesson takes any power but 0, the online
// lesson only power above 0.
enum class AttackerPower { NotZero, AboveZero };

// Assigns the CPU's blockers: the strongest attackers first, each to the first candidate that kills it and
// survives, survives, trades without a pump, or dies in a chump block or a pump block it can pay for. Every block
// lowers the incoming power, so later attackers see the CPU as safe again.
void ChooseCpuBlocks(AttackerPower counted);
