// A screen: an ordered list of top-level windows that it owns, with its own hover and mouse capture, loaded from
// a layout file in GUI\Interfaces\. The menu screens derive from it; GUI_Manager lists the screens, updates and
// draws them every frame and routes input to them.
#pragma once

#include "gui/GUI_Event.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class GUI_Window;
class RecordWriter;

constexpr int GINT_VERSION = 11;

class GUI_Interface {
public:
    GUI_Interface() = default;
    GUI_Interface(const GUI_Interface&) = delete;
    GUI_Interface& operator=(const GUI_Interface&) = delete;

    // ---- Virtual operations, in slot order ----
    virtual ~GUI_Interface();
    virtual void Update();
    virtual void Draw();
    virtual bool HandleInput(const GUI_InputEvent& event);
    virtual bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths);
    virtual bool Save(RecordWriter& writer) const;
    virtual void OnLoaded() {}
    virtual void OnWindowAdded(GUI_Window* /*window*/) {}
    virtual void OnWindowRemoved(GUI_Window* window);
    virtual void OnMouseEnterWindow(GUI_Window* window);
    virtual void OnMouseLeaveWindow(GUI_Window* window);
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    virtual void OnAdded() { m_bRefreshPending = true; }
    virtual void OnRemoved() { m_bRefreshPending = true; }
    virtual void Refresh();
    virtual void OnDeviceLost();
    virtual void ReloadTextures();
    virtual void OnResize(int /*width*/, int /*height*/) {}

    void AddWindow(GUI_Window* window);
    bool RemoveWindow(GUI_Window* window);
    void DeleteAllWindows();
    GUI_Window* FindWindowAt(int x, int y, bool skipTransparent, const std::set<GUI_Window*>* excluded);
    GUI_Window* FindWindow(std::u16string_view name, std::uint32_t kind) const;
    bool ContainsWindow(const GUI_Window* window, bool recursive) const;
    void SetCapture(GUI_Window* window);
    void ReleaseCapture();
    GUI_Window* GetCaptureWindow() const { return m_pCaptureWindow; }
    GUI_Window* GetHoverWindow() const { return m_pHoverWindow; }
    void GetBounds(int& left, int& top, int& right, int& bottom) const;
    // A path relative to the data folder; false for a missing file or a stream that fails (logged with the path).
    bool LoadFromFile(std::u16string_view path);
    // The contents of a layout file. False for a stream that ends inside a chunk, holds no screen record or has
    // a window record that fails; the windows read before the fault stay. fault (when given) says which.
    bool ParseLayoutStream(const std::uint8_t* data, std::size_t size, std::string* fault = nullptr);
    bool IsHidden() const { return m_bHidden; }
    void SetHidden(bool hidden) { m_bHidden = hidden; }
    const std::vector<GUI_Window*>& GetWindows() const { return m_Windows; }
    int GetLoadedVersion() const { return m_LoadedVersion; }
    bool IsRefreshPending() const { return m_bRefreshPending; }

    // A window's destructor: every reference to it goes, without notifying it.
    void OnWindowDestroyed(GUI_Window* window);

private:
    std::vector<GUI_Window*> m_Windows;
    GUI_Window* m_pCaptureWindow = nullptr;
    bool m_bHidden = false;
    GUI_Window* m_pHoverWindow = nullptr;
    bool m_bRefreshPending = true;
    int m_LoadedVersion = -1;
};
