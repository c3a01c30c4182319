#include "lessons/HandDemos.h"

// The demonstrations keep no lists yet: nothing to clear.
void ClearHandAnimationLists()
{
}

void ResetPendingObjects()
{
}
