#include "screens/OverlayInterface.h"

#include "gui/GUI_Window.h"

void OverlayInterface::CenterBox()
{
    GUI_Window* const box = FindWindow(u"winMessageBox", GUI_KIND_ANY);
    if (box == nullptr)
        return;
    int width = 0;
    int height = 0;
    GetScreenSize(width, height);
    box->MoveTo((width - box->GetWidth()) / 2, (height - box->GetHeight()) / 2, true);
}

void OverlayInterface::OnResize(int width, int height)
{
    if (GUI_Window* const backdrop = FindWindow(u"winBkg", GUI_KIND_ANY))
        backdrop->SetSize(width, height);
    CenterBox();
}

void OverlayInterface::Refresh()
{
    m_Result = -1;
    GameInterface::Refresh();
    CenterBox();
}

void OverlayInterface::OnAdded()
{
    m_Result = -1;
    GameInterface::OnAdded();
}

void OverlayInterface::OnActivate()
{
    m_Result = -1;
    GameInterface::OnActivate();
}
