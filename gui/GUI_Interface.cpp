#include "gui/GUI_Interface.h"

#include "engine/core/TextHelpers.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/GUI_Window.h"
#include "gui/LayoutRecords.h"
#include "platform/Platform.h"

#include <algorithm>
#include <climits>
#include <memory>

GUI_Interface::~GUI_Interface()
{
    DeleteAllWindows();
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->OnInterfaceDestroyed(this);
}

void GUI_Interface::DeleteAllWindows()
{
    const std::vector<GUI_Window*> windows = std::move(m_Windows);
    m_Windows.clear();
    m_pCaptureWindow = nullptr;
    m_pHoverWindow = nullptr;
    for (GUI_Window* const window : windows) {
        window->SetInterface(nullptr);
        delete window;
    }
}

void GUI_Interface::Update()
{
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        if (std::find(m_Windows.begin(), m_Windows.end(), window) != m_Windows.end())
            window->Update();
    }
}

void GUI_Interface::Draw()
{
    if (m_bHidden)
        return;
    if (m_bRefreshPending) {
        m_bRefreshPending = false;
        Refresh();
    }
    for (GUI_Window* const window : m_Windows) {
        if (!window->IsHidden())
            window->Draw();
    }
}

bool GUI_Interface::HandleInput(const GUI_InputEvent& event)
{
    if (event.IsMove()) {
        GUI_Window* const found = FindWindowAt(event.x, event.y, true, nullptr);
        if (found != m_pHoverWindow) {
            GUI_Window* const old = m_pHoverWindow;
            m_pHoverWindow = found;
            OnMouseLeaveWindow(old);
            OnMouseEnterWindow(found);
        }
    }
    if (m_pCaptureWindow != nullptr)
        return m_pCaptureWindow->HandleInput(event);
    const std::vector<GUI_Window*> windows(m_Windows);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (std::find(m_Windows.begin(), m_Windows.end(), *it) == m_Windows.end() || (*it)->IsHidden())
            continue;
        if ((*it)->HandleInput(event))
            return true;
    }
    return false;
}

void GUI_Interface::OnWindowRemoved(GUI_Window* window)
{
    if (m_pCaptureWindow != nullptr && (m_pCaptureWindow == window || window->IsAncestorOf(m_pCaptureWindow, true)))
        ReleaseCapture();
    if (m_pHoverWindow != nullptr && (m_pHoverWindow == window || window->IsAncestorOf(m_pHoverWindow, true)))
        m_pHoverWindow = nullptr;
}

void GUI_Interface::OnWindowDestroyed(GUI_Window* window)
{
    if (m_pCaptureWindow == window) {
        m_pCaptureWindow = nullptr;
        if (GUI_Manager* const manager = GUI_System::GetManager()) {
            if (manager->GetCaptureInterface() == this)
                manager->ReleaseCapture();
        }
    }
    if (m_pHoverWindow == window)
        m_pHoverWindow = nullptr;
    m_Windows.erase(std::remove(m_Windows.begin(), m_Windows.end(), window), m_Windows.end());
}

void GUI_Interface::OnMouseEnterWindow(GUI_Window* window)
{
    if (window != nullptr)
        window->OnMouseEnter();
}

void GUI_Interface::OnMouseLeaveWindow(GUI_Window* window)
{
    if (window != nullptr)
        window->OnMouseLeave();
}

void GUI_Interface::Refresh()
{
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        window->Refresh();
    }
    if (GUI_Manager* const manager = GUI_System::GetManager()) {
        manager->RefreshMouse();
        manager->CallChangedCallback();
    }
}

void GUI_Interface::OnDeviceLost()
{
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        window->OnDeviceLost();
    }
}

void GUI_Interface::ReloadTextures()
{
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_Windows)) {
        window->ReloadTextures();
    }
}

void GUI_Interface::AddWindow(GUI_Window* window)
{
    if (window == nullptr)
        return;
    if (GUI_Interface* const old = window->GetInterface())
        old->RemoveWindow(window);
    if (window->GetParent() != nullptr)
        window->GetParent()->RemoveChild(window);
    m_Windows.push_back(window);
    window->SetInterface(this);
    OnWindowAdded(window);
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetChanged();
}

bool GUI_Interface::RemoveWindow(GUI_Window* window)
{
    const auto it = std::find(m_Windows.begin(), m_Windows.end(), window);
    if (it == m_Windows.end())
        return false;
    window->SetInterface(nullptr);
    m_Windows.erase(it);
    OnWindowRemoved(window);
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->OnWindowRemoved(window);
    return true;
}

GUI_Window* GUI_Interface::FindWindowAt(int x, int y, bool skipTransparent, const std::set<GUI_Window*>* excluded)
{
    for (auto it = m_Windows.rbegin(); it != m_Windows.rend(); ++it) {
        if (GUI_Window* const hit = (*it)->FindWindowAt(x, y, skipTransparent, excluded))
            return hit;
    }
    return nullptr;
}

GUI_Window* GUI_Interface::FindWindow(std::u16string_view name, std::uint32_t kind) const
{
    for (GUI_Window* const window : m_Windows) {
        if (EqualsNoCase(window->GetName(), name) && (kind == GUI_KIND_ANY || window->GetKind() == kind))
            return window;
        if (GUI_Window* const found = window->FindChild(name, kind))
            return found;
    }
    return nullptr;
}

bool GUI_Interface::ContainsWindow(const GUI_Window* window, bool recursive) const
{
    for (const GUI_Window* const listed : m_Windows) {
        if (listed == window || (recursive && window != nullptr && listed->IsAncestorOf(window, true)))
            return true;
    }
    return false;
}

void GUI_Interface::SetCapture(GUI_Window* window)
{
    if (m_pCaptureWindow != nullptr)
        ReleaseCapture();
    m_pCaptureWindow = window;
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetCaptureInterface(this);
}

void GUI_Interface::ReleaseCapture()
{
    GUI_Window* const window = m_pCaptureWindow;
    if (window == nullptr)
        return;
    m_pCaptureWindow = nullptr;
    if (GUI_Manager* const manager = GUI_System::GetManager()) {
        if (manager->GetCaptureInterface() == this)
            manager->ReleaseCapture();
    }
    window->OnCaptureLost();
}

void GUI_Interface::GetBounds(int& left, int& top, int& right, int& bottom) const
{
    left = top = INT_MAX;
    right = bottom = -INT_MAX;
    for (const GUI_Window* const window : m_Windows) {
        left = std::min(left, window->GetLeft());
        top = std::min(top, window->GetTop());
        right = std::max(right, window->GetRight());
        bottom = std::max(bottom, window->GetBottom());
    }
}

bool GUI_Interface::LoadFromFile(std::u16string_view path)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(GUI_System::JoinPath(GUI_System::GetDataDirectory(), path), bytes))
        return false;
    std::string fault;
    if (ParseLayoutStream(bytes.data(), bytes.size(), &fault))
        return true;
    plat::OutputDebugStringA("GUI: the layout " + plat::ToUtf8(path) + " " + fault + "; the screen is incomplete\n");
    return false;
}

// A cut file is refused, not taken for a shorter screen: a screen missing its last windows would show without a
// word why.
bool GUI_Interface::ParseLayoutStream(const std::uint8_t* data, std::size_t size, std::string* fault)
{
    const auto fail = [fault](const char* why) {
        if (fault != nullptr)
            *fault = why;
        return false;
    };
    RecordCursor cursor(data, size);
    RecordChunk chunk;
    bool sawScreen = false;
    while (cursor.Remaining() > 0) {
        if (!cursor.ReadChunk(chunk))
            return fail("ends inside a record");
        if (chunk.tag == TAG_GINT) {
            if (!Load(chunk.payload, chunk.size, chunk.VersionTenths()))
                return fail("has a screen record that cannot be read");
            sawScreen = true;
            m_LoadedVersion = chunk.VersionTenths();
            if (m_LoadedVersion > 10)
                break;
            continue;
        }
        if (!sawScreen)
            continue;
        std::unique_ptr<GUI_Window> window = CreateWindowForTag(chunk.tag);
        if (!window)
            continue;
        if (!window->Load(chunk.payload, chunk.size, chunk.VersionTenths()))
            return fail("has a window record that cannot be read");
        AddWindow(window.release());
    }
    if (!sawScreen)
        return fail("holds no screen record");
    OnLoaded();
    return true;
}

bool GUI_Interface::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    if (versionTenths < 11)
        return true;
    RecordCursor cursor(payload, size);
    std::uint32_t count = 0;
    if (!cursor.ReadU32(count))
        return false;
    RecordChunk chunk;
    for (std::uint32_t i = 0; i < count && cursor.ReadChunk(chunk); ++i) {
        std::unique_ptr<GUI_Window> window = CreateWindowForTag(chunk.tag);
        if (!window)
            continue;
        window->SetInterface(this);
        if (window->Load(chunk.payload, chunk.size, chunk.VersionTenths()))
            AddWindow(window.release());
        else
            window->SetInterface(nullptr);
    }
    return true;
}

bool GUI_Interface::Save(RecordWriter& writer) const
{
    writer.BeginRecord(TAG_GINT, GINT_VERSION);
    writer.WriteU32(static_cast<std::uint32_t>(m_Windows.size()));
    bool ok = true;
    for (const GUI_Window* const window : m_Windows) {
        if (!window->Save(writer)) {
            ok = false;
            break;
        }
    }
    writer.EndRecord();
    return ok && !writer.Failed();
}
