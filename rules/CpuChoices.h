// Placeholder until the CPU's response exists: the CPU never responds.
#pragma once

// The CPU's answer to the spell on top of the stack.
void CpuRespond(bool respond);
