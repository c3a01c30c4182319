#include "gui/GUI_Manager.h"

#include "engine/raster/Raster.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_System.h"
#include "gui/GUI_Window.h"

#include <algorithm>

namespace {

std::unique_ptr<GUI_Manager> s_pManager;

std::uint32_t ToolkitKeys(std::uint32_t held)
{
    std::uint32_t keys = 0;
    if (held & plat::MK_CONTROL)
        keys |= GUI_KEY_CTRL;
    if (held & plat::MK_SHIFT)
        keys |= GUI_KEY_SHIFT;
    if (held & plat::MK_LBUTTON)
        keys |= GUI_KEY_LBUTTON;
    if (held & plat::MK_MBUTTON)
        keys |= GUI_KEY_MBUTTON;
    if (held & plat::MK_RBUTTON)
        keys |= GUI_KEY_RBUTTON;
    return keys;
}

// Down, up codes by button; a double click comes as a second press.
int ButtonCode(int button, bool up)
{
    switch (button) {
    case plat::BUTTON_LEFT:
        return up ? GUI_MOUSE_LEFT_UP : GUI_MOUSE_LEFT_DOWN;
    case plat::BUTTON_MIDDLE:
        return up ? GUI_MOUSE_MIDDLE_UP : GUI_MOUSE_MIDDLE_DOWN;
    case plat::BUTTON_RIGHT:
        return up ? GUI_MOUSE_RIGHT_UP : GUI_MOUSE_RIGHT_DOWN;
    default:
        return -1;
    }
}

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <typename T>
void Erase(std::vector<T*>& list, const T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

} // namespace

GUI_Manager::~GUI_Manager()
{
    FlushDeletions();
}

// ---- Windows ------------------------------------------------------------------------------------------------------

void GUI_Manager::RegisterWindow(GUI_Window* window, bool marked)
{
    TESSEL_ASSERT(window != NULL);
    if (window == nullptr)
        return;
    if (m_Registered.insert(window).second)
        m_Windows.push_back(window);
    if (marked)
        m_Marked.insert(window);
}

bool GUI_Manager::UnregisterWindow(GUI_Window* window)
{
    TESSEL_ASSERT(window != NULL);
    if (window == nullptr)
        return false;
    m_Marked.erase(window);
    if (m_Registered.count(window) != 0) {
        m_Registered.erase(window);
        if (!Contains(m_Windows, window)) {
            TESSEL_ASSERT(false);
            return false;
        }
        Erase(m_Windows, window);
        OnWindowRemoved(window);
        return true;
    }
    for (GUI_Window* const registered : std::vector<GUI_Window*>(m_Windows)) {
        if (registered->RemoveChild(window))
            return true;
    }
    return false;
}

void GUI_Manager::UnregisterMarkedWindows()
{
    bool releasedCapture = false;
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        if (m_Marked.count(window) == 0)
            continue;
        Erase(m_Windows, window);
        m_Registered.erase(window);
        if (LiesIn(m_pHoverWindow, window))
            m_pHoverWindow = nullptr;
        if (LiesIn(m_pCaptureWindow, window)) {
            m_pCaptureWindow = nullptr;
            releasedCapture = true;
        }
    }
    m_Marked.clear();
    // The platform must not keep a capture that no window holds any more.
    if (releasedCapture && m_pCaptureInterface == nullptr)
        plat::SetMouseCapture(false);
}

bool GUI_Manager::IsRegistered(const GUI_Window* window, bool recursive) const
{
    if (m_Registered.count(const_cast<GUI_Window*>(window)) != 0)
        return true;
    if (!recursive || window == nullptr)
        return false;
    for (const GUI_Window* const registered : m_Windows) {
        if (registered->IsAncestorOf(window, true))
            return true;
    }
    return false;
}

void GUI_Manager::BringToFront(GUI_Window* window)
{
    TESSEL_ASSERT(window != NULL);
    if (window == nullptr || m_Registered.count(window) == 0)
        return;
    Erase(m_Windows, window);
    m_Windows.push_back(window);
}

void GUI_Manager::Clear()
{
    m_Windows.clear();
    m_Registered.clear();
    m_pHoverWindow = nullptr;
    m_pCaptureWindow = nullptr;
    m_pCaptureInterface = nullptr;
}

GUI_Window* GUI_Manager::GetWindowAt(int x, int y, const std::set<GUI_Window*>* excluded)
{
    if (!m_bHasMainWindow)
        return nullptr;
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    if (x < 0 || y < 0 || x >= width || y >= height)
        return nullptr;
    for (auto it = m_Windows.rbegin(); it != m_Windows.rend(); ++it) {
        if (excluded != nullptr && excluded->count(*it) != 0)
            continue;
        if (GUI_Window* const hit = (*it)->FindWindowAt(x, y, true, excluded))
            return hit;
    }
    for (GUI_Interface* const screen : m_Interfaces) {
        if (GUI_Window* const hit = screen->FindWindowAt(x, y, true, excluded))
            return hit;
    }
    return nullptr;
}

void GUI_Manager::InvalidateWindow(GUI_Window* window)
{
    TESSEL_ASSERT(window != NULL);
    if (window == nullptr || !m_bHasMainWindow)
        return;
    if (window->GetParent() != nullptr || window->GetInterface() != nullptr)
        GetRaster()->Invalidate();
}

bool GUI_Manager::LiesIn(const GUI_Window* window, const GUI_Window* container) const
{
    return window != nullptr && container != nullptr && (window == container || container->IsAncestorOf(window, true));
}

bool GUI_Manager::LiesIn(const GUI_Window* window, const GUI_Interface* screen) const
{
    return window != nullptr && screen != nullptr && screen->ContainsWindow(window, true);
}

void GUI_Manager::OnWindowRemoved(GUI_Window* window)
{
    if (LiesIn(m_pHoverWindow, window))
        m_pHoverWindow = nullptr;
    if (LiesIn(m_pCaptureWindow, window))
        m_pCaptureWindow = nullptr;
    m_bWindowsChanged = true;
}

void GUI_Manager::OnWindowDestroyed(GUI_Window* window)
{
    if (m_pHoverWindow == window)
        m_pHoverWindow = nullptr;
    if (m_pCaptureWindow == window) {
        m_pCaptureWindow = nullptr;
        plat::SetMouseCapture(false);
    }
    if (m_Registered.erase(window) != 0)
        Erase(m_Windows, window);
    m_Marked.erase(window);
    Erase(m_DeleteLater, window);
    m_bWindowsChanged = true;
}

void GUI_Manager::DeleteWindowLater(GUI_Window* window)
{
    if (window != nullptr && !Contains(m_DeleteLater, window))
        m_DeleteLater.push_back(window);
}

void GUI_Manager::FlushDeletions()
{
    while (!m_DeleteLater.empty()) {
        GUI_Window* const window = m_DeleteLater.back();
        m_DeleteLater.pop_back();
        delete window;
    }
}

void GUI_Manager::CallChangedCallback()
{
    if (m_ChangedCallback != nullptr)
        m_ChangedCallback();
}

// ---- Screens ------------------------------------------------------------------------------------------------------

void GUI_Manager::AddInterface(GUI_Interface* screen)
{
    TESSEL_ASSERT(screen != NULL);
    if (screen == nullptr || HasInterface(screen))
        return;
    m_Interfaces.push_back(screen);
    screen->OnAdded();
    GetRaster()->Invalidate();
}

bool GUI_Manager::RemoveInterface(GUI_Interface* screen, bool now)
{
    TESSEL_ASSERT(screen != NULL);
    if (screen == nullptr)
        return false;
    if (screen == m_pCaptureInterface) {
        if (LiesIn(m_pHoverWindow, screen))
            m_pHoverWindow = nullptr;
        m_pCaptureInterface = nullptr;
    }
    if (screen == m_pActiveInterface) {
        if (LiesIn(m_pHoverWindow, screen))
            m_pHoverWindow = nullptr;
        SetActiveInterface(nullptr);
    }
    if (!HasInterface(screen))
        return false;
    if (!now) {
        m_RemovalQueue.push_back(screen);
        return true;
    }
    if (LiesIn(m_pHoverWindow, screen))
        m_pHoverWindow = nullptr;
    Erase(m_Interfaces, screen);
    screen->OnRemoved();
    return true;
}

void GUI_Manager::RemoveAllInterfaces()
{
    m_Interfaces.clear();
    m_RemovalQueue.clear();
    m_pHoverWindow = nullptr;
    m_pCaptureWindow = nullptr;
    m_pCaptureInterface = nullptr;
    // An active overlay of a dropped screen would keep taking the input.
    m_pActiveInterface = nullptr;
}

bool GUI_Manager::HasInterface(const GUI_Interface* screen) const
{
    return Contains(m_Interfaces, screen);
}

void GUI_Manager::SetActiveInterface(GUI_Interface* screen)
{
    if (screen == m_pActiveInterface)
        return;
    ClearHoverWindow();
    GUI_Interface* const old = m_pActiveInterface;
    if (old != nullptr)
        old->OnDeactivate();
    m_pActiveInterface = screen;
    RefreshMouse();
    if (screen != nullptr)
        screen->OnActivate();
}

void GUI_Manager::OnInterfaceDestroyed(GUI_Interface* screen)
{
    if (m_pCaptureInterface == screen)
        m_pCaptureInterface = nullptr;
    if (m_pActiveInterface == screen)
        m_pActiveInterface = nullptr;
    Erase(m_Interfaces, screen);
    m_RemovalQueue.erase(std::remove(m_RemovalQueue.begin(), m_RemovalQueue.end(), screen), m_RemovalQueue.end());
}

// ---- Input --------------------------------------------------------------------------------------------------------

bool GUI_Manager::TranslateMouseMessage(const plat::Event& event, GUI_InputEvent& out)
{
    out = GUI_InputEvent{};
    out.type = GUI_EVENT_MOUSE;
    out.x = event.x;
    out.y = event.y;
    out.keys = ToolkitKeys(event.keyState);
    switch (event.type) {
    case plat::EventType::MouseMove:
        out.code = GUI_MOUSE_MOVE;
        return true;
    case plat::EventType::ButtonDown:
    case plat::EventType::DoubleClick:
        out.code = ButtonCode(event.button, false);
        return out.code >= 0;
    case plat::EventType::ButtonUp:
        out.code = ButtonCode(event.button, true);
        return out.code >= 0;
    default:
        return false;
    }
}

bool GUI_Manager::HandleWindowMessage(const plat::Event& event, bool interfacesOnly)
{
    if (event.type == plat::EventType::Activate) {
        if (m_pCaptureWindow != nullptr || m_pCaptureInterface != nullptr)
            ReleaseCapture();
        return false;
    }
    GUI_InputEvent input;
    if (!TranslateMouseMessage(event, input))
        return false;
    return DispatchEvent(input, interfacesOnly);
}

bool GUI_Manager::DispatchEvent(const GUI_InputEvent& event, bool interfacesOnly)
{
    ++m_DispatchDepth;
    bool handled = false;
    if (event.IsMove()) {
        GUI_Window* const found = GetWindowAt(event.x, event.y);
        if (found != m_pHoverWindow) {
            if (m_pHoverWindow != nullptr)
                m_pHoverWindow->OnMouseLeave();
            m_pHoverWindow = found;
            if (found != nullptr && (m_pActiveInterface == nullptr || m_pActiveInterface->ContainsWindow(found, true)))
                found->OnMouseEnter();
        }
    }
    if (m_pCaptureWindow != nullptr) {
        handled = m_pCaptureWindow->HandleInput(event);
    } else if (m_pCaptureInterface != nullptr) {
        handled = m_pCaptureInterface->HandleInput(event);
    } else if (m_pActiveInterface != nullptr) {
        handled = m_pActiveInterface->HandleInput(event);
    } else {
        for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
            if (HasInterface(screen) && screen->HandleInput(event)) {
                handled = true;
                break;
            }
        }
        if (!handled && !interfacesOnly) {
            const std::vector<GUI_Window*> windows(m_Windows);
            for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
                if (m_Registered.count(*it) != 0 && (*it)->HandleInput(event)) {
                    handled = true;
                    break;
                }
            }
        }
    }
    if (--m_DispatchDepth == 0)
        FlushDeletions();
    return handled;
}

void GUI_Manager::SetCapture(GUI_Window* window)
{
    ReleaseCapture();
    m_pCaptureWindow = window;
    m_pCaptureInterface = nullptr;
    plat::SetMouseCapture(true);
}

void GUI_Manager::SetCaptureInterface(GUI_Interface* screen)
{
    ReleaseCapture();
    m_pCaptureInterface = screen;
    m_pCaptureWindow = nullptr;
    plat::SetMouseCapture(true);
}

void GUI_Manager::ReleaseCapture()
{
    if (m_pCaptureWindow != nullptr || m_pCaptureInterface != nullptr) {
        GUI_Window* const window = m_pCaptureWindow;
        GUI_Interface* const screen = m_pCaptureInterface;
        m_pCaptureWindow = nullptr;
        m_pCaptureInterface = nullptr;
        if (window != nullptr)
            window->OnCaptureLost();
        // A screen's captured window loses the capture with the screen.
        if (screen != nullptr)
            screen->ReleaseCapture();
    }
    plat::SetMouseCapture(false);
}

GUI_Window* GUI_Manager::GetCaptureWindow() const
{
    if (m_pCaptureInterface != nullptr)
        return m_pCaptureInterface->GetCaptureWindow();
    return m_pCaptureWindow;
}

void GUI_Manager::RefreshMouse()
{
    if (!m_bHasMainWindow)
        return;
    plat::Event move;
    move.type = plat::EventType::MouseMove;
    GetCursorPos(move.x, move.y);
    move.keyState = plat::GetHeldKeys();
    HandleWindowMessage(move, false);
}

void GUI_Manager::GetCursorPos(int& x, int& y) const
{
    plat::GetCursorPos(x, y);
}

void GUI_Manager::ClearHoverWindow()
{
    GUI_Window* const window = m_pHoverWindow;
    m_pHoverWindow = nullptr;
    if (window != nullptr)
        window->OnMouseLeave();
}

// ---- Frame, skins, devices ----------------------------------------------------------------------------------------

void GUI_Manager::Update()
{
    while (!m_RemovalQueue.empty()) {
        GUI_Interface* const screen = m_RemovalQueue.front();
        m_RemovalQueue.pop_front();
        RemoveInterface(screen, true);
    }
    for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
        if (HasInterface(screen))
            screen->Update();
    }
    if (m_bWindowsChanged) {
        CallChangedCallback();
        m_bWindowsChanged = false;
    }
    FlushDeletions();
}

void GUI_Manager::Draw()
{
    for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
        if (HasInterface(screen))
            screen->Draw();
    }
}

GUI_Skin* GUI_Manager::FindSkin(std::u16string_view fileName) const
{
    const auto it = m_Skins.find(fileName);
    return it != m_Skins.end() ? it->second.get() : nullptr;
}

GUI_Skin* GUI_Manager::GetSkin(std::u16string_view fileName)
{
    if (GUI_Skin* const cached = FindSkin(fileName)) {
        ++cached->m_RefCount;
        return cached;
    }
    auto skin = std::make_unique<GUI_Skin>();
    if (!skin->ReadSkin(GUI_System::JoinPath(GUI_System::GetDataDirectory(), fileName)))
        return nullptr;
    skin->m_RefCount = 1;
    GUI_Skin* const out = skin.get();
    m_Skins.emplace(std::u16string(fileName), std::move(skin));
    return out;
}

bool GUI_Manager::ReleaseSkin(GUI_Skin* skin)
{
    if (skin == nullptr)
        return false;
    for (auto it = m_Skins.begin(); it != m_Skins.end(); ++it) {
        if (it->second.get() != skin)
            continue;
        if (skin->m_RefCount > 1)
            --skin->m_RefCount;
        else
            m_Skins.erase(it);
        return true;
    }
    return false;
}

void GUI_Manager::OnDeviceLost()
{
    for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
        if (HasInterface(screen))
            screen->OnDeviceLost();
    }
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        if (m_Registered.count(window) != 0)
            window->OnDeviceLost();
    }
}

void GUI_Manager::ReloadTextures()
{
    for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
        if (HasInterface(screen))
            screen->ReloadTextures();
    }
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        if (m_Registered.count(window) != 0)
            window->ReloadTextures();
    }
}

void GUI_Manager::Resize(int width, int height)
{
    for (GUI_Interface* const screen : std::vector<GUI_Interface*>(m_Interfaces)) {
        screen->OnResize(width, height);
    }
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
