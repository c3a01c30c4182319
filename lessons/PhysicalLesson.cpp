// Placeholder until the physical lesson exists: a drop is not handled.
#include "lessons/PhysicalLesson.h"

CardActor* g_CounteredCard = nullptr;

void HandleCardDropPhysical(CardActor* /*card*/)
{
}
