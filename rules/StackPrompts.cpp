// Placeholder until the stack window exists.
#include "rules/StackPrompts.h"

void DrawStackWindow()
{
}

StackArea GetStackArea()
{
    return StackArea();
}

void PlaceStackWindow()
{
}
