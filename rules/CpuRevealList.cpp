#include "rules/CpuRevealList.h"

// Until the CPU reveals its cards the list stays empty.
bool IsCpuRevealListNotEmpty()
{
    return false;
}
