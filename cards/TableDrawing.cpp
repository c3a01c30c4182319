// Placeholder until the table drawing exists: cards on the table keep their targets and are not drawn.
#include "cards/TableDrawing.h"

void DrawPhysicalTable()
{
}

void DrawOnlineTable()
{
}
