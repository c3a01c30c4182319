#include "rules/SpellStack.h"

namespace {

bool s_bActive = false;
int s_Side = 0;

} // namespace

namespace SpellStack {

void Reset(int side)
{
    s_Side = side;
}

void OpenWindow()
{
    s_bActive = true;
}

void Update()
{
}

void Draw()
{
}

int GetCount()
{
    return 0;
}

bool IsActive()
{
    return s_bActive;
}

void Shutdown()
{
    s_bActive = false;
}

} // namespace SpellStack
