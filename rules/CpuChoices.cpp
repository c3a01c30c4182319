// Placeholder until the CPU's response exists.
#include "rules/CpuChoices.h"

void CpuRespond(bool /*respond*/)
{
}
