#include "gui/Messagebox.h"

bool Messagebox::HandleInput(const plat::Event& /*event*/)
{
    return false;
}

Messagebox* GetQuitWarningBox()
{
    return nullptr;
}

void ShowQuitWarning()
{
}
