#include "gui/GUI_Manager.h"

#include <memory>

namespace {

std::unique_ptr<GUI_Manager> s_pManager;

} // namespace

bool GUI_Manager::HandleWindowMessage(const plat::Event& /*event*/, bool /*interfacesOnly*/)
{
    ++m_Messages;
    return false;
}

GUI_Manager* GetGUIManager()
{
    if (!s_pManager)
        s_pManager = std::make_unique<GUI_Manager>();
    return s_pManager.get();
}

void DeleteGUIManager()
{
    s_pManager.reset();
}
