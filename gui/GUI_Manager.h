// The toolkit's one manager: the registry of top-level windows outside any screen (message boxes, dialogs,
// message windows), the screens with the active one, the hovered window, the mouse capture, the skin cache and
// whether the main window exists. It turns the window's mouse events into toolkit events and routes them, runs
// the per-frame update and draw of the screens, and fans out device loss and resize. It owns none of the
// windows and screens it lists.
#pragma once

#include "gui/GUI_Event.h"
#include "gui/GUI_Skin.h"
#include "platform/Platform.h"

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class GUI_Interface;
class GUI_Window;

class GUI_Manager {
public:
    using ChangedCallback = void (*)();

    GUI_Manager() = default;
    ~GUI_Manager();
    GUI_Manager(const GUI_Manager&) = delete;
    GUI_Manager& operator=(const GUI_Manager&) = delete;

    // ---- Main window ----
    void SetHWnd(bool hasMainWindow) { m_bHasMainWindow = hasMainWindow; }
    bool GetHWnd() const { return m_bHasMainWindow; }

    // ---- Windows ----
    void RegisterWindow(GUI_Window* window, bool marked = false);
    bool UnregisterWindow(GUI_Window* window);
    void UnregisterMarkedWindows();
    bool IsRegistered(const GUI_Window* window, bool recursive = false) const;
    void BringToFront(GUI_Window* window);
    void Clear();
    GUI_Window* GetWindowAt(int x, int y, const std::set<GUI_Window*>* excluded = nullptr);
    void InvalidateWindow(GUI_Window* window);
    void OnWindowRemoved(GUI_Window* window);
    // A window's destructor: every reference to it goes, without notifying it.
    void OnWindowDestroyed(GUI_Window* window);
    // A window whose own handler is running is deleted after the dispatch (or at the next Update).
    void DeleteWindowLater(GUI_Window* window);
    // True while an event is being dispatched (a handler may be on the stack).
    bool IsDispatching() const { return m_DispatchDepth > 0; }
    void SetChanged() { m_bWindowsChanged = true; }
    bool HasChanged() const { return m_bWindowsChanged; }
    void SetChangedCallback(ChangedCallback callback) { m_ChangedCallback = callback; }
    void CallChangedCallback();
    const std::vector<GUI_Window*>& GetWindows() const { return m_Windows; }

    // ---- Screens ----
    void AddInterface(GUI_Interface* screen);
    bool RemoveInterface(GUI_Interface* screen, bool now);
    void RemoveAllInterfaces();
    bool HasInterface(const GUI_Interface* screen) const;
    void SetActiveInterface(GUI_Interface* screen);
    GUI_Interface* GetActiveInterface() const { return m_pActiveInterface; }
    const std::vector<GUI_Interface*>& GetInterfaces() const { return m_Interfaces; }

    // ---- Input ----
    // Offers a window event; true when the toolkit handled it. interfacesOnly keeps it from registered windows.
    bool HandleWindowMessage(const plat::Event& event, bool interfacesOnly);
    // The toolkit event of a platform mouse event; false for events that are not the toolkit's mouse events.
    static bool TranslateMouseMessage(const plat::Event& event, GUI_InputEvent& out);
    bool DispatchEvent(const GUI_InputEvent& event, bool interfacesOnly = false);
    void SetCapture(GUI_Window* window);
    void SetCaptureInterface(GUI_Interface* screen);
    void ReleaseCapture();
    GUI_Window* GetCaptureWindow() const;
    GUI_Interface* GetCaptureInterface() const { return m_pCaptureInterface; }
    // A synthetic move at the cursor with the keys held now, so that hover states follow a change.
    void RefreshMouse();
    void GetCursorPos(int& x, int& y) const;
    GUI_Window* GetHoverWindow() const { return m_pHoverWindow; }
    void ClearHoverWindow();

    // ---- Frame, skins, devices ----
    void Update();
    void Draw();
    GUI_Skin* GetSkin(std::u16string_view fileName);
    GUI_Skin* FindSkin(std::u16string_view fileName) const;
    bool ReleaseSkin(GUI_Skin* skin);
    std::size_t GetSkinCount() const { return m_Skins.size(); }
    void OnDeviceLost();
    void ReloadTextures();
    void Resize(int width, int height);

    // An interface's destructor.
    void OnInterfaceDestroyed(GUI_Interface* screen);

private:
    bool LiesIn(const GUI_Window* window, const GUI_Window* container) const;
    bool LiesIn(const GUI_Window* window, const GUI_Interface* screen) const;
    void FlushDeletions();

    std::vector<GUI_Window*> m_Windows;
    std::set<GUI_Window*> m_Registered;
    std::set<GUI_Window*> m_Marked;
    GUI_Window* m_pHoverWindow = nullptr;
    GUI_Window* m_pCaptureWindow = nullptr;
    GUI_Interface* m_pCaptureInterface = nullptr;
    bool m_bHasMainWindow = false;
    std::map<std::u16string, std::unique_ptr<GUI_Skin>, WStringOrder> m_Skins;
    GUI_Interface* m_pActiveInterface = nullptr;
    std::vector<GUI_Interface*> m_Interfaces;
    std::deque<GUI_Interface*> m_RemovalQueue;
    bool m_bWindowsChanged = true;
    ChangedCallback m_ChangedCallback = nullptr;
    std::vector<GUI_Window*> m_DeleteLater;
    int m_DispatchDepth = 0;
};

// Created on first use; GUI_System::Shutdown deletes it.
GUI_Manager* GetGUIManager();
void DeleteGUIManager();
