// The toolkit's manager of screens and windows. Until the toolkit exists it takes no input and draws nothing;
// it only remembers what the program tells it.
#pragma once

#include "platform/Platform.h"

class GUI_Manager {
public:
    void SetHWnd(bool hasWindow) { m_bHasWindow = hasWindow; }
    bool HasWindow() const { return m_bHasWindow; }
    // Per frame.
    void Update() { ++m_Updates; }
    // Offers a window message; true when the toolkit took it. interfacesOnly limits it to the screens.
    bool HandleWindowMessage(const plat::Event& event, bool interfacesOnly);
    // Sends a synthetic mouse move so that hover states follow the pointer after reactivation.
    void RefreshMouse() { ++m_MouseRefreshes; }
    // Empties every screen (scene loads).
    void Clear() {}
    int GetUpdateCount() const { return m_Updates; }
    int GetMouseRefreshCount() const { return m_MouseRefreshes; }
    int GetMessageCount() const { return m_Messages; }

private:
    bool m_bHasWindow = false;
    int m_Updates = 0;
    int m_MouseRefreshes = 0;
    int m_Messages = 0;
};

// Created on first use; GUI_System::Shutdown deletes it.
GUI_Manager* GetGUIManager();
void DeleteGUIManager();
