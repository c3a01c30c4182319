// The toolkit bound to a small headless scene: display, manager and host callbacks, with a temporary data
// folder for skins, layouts and images; and builders of skin files and layout streams.
#pragma once

#include "engine/scene/GameDisplay.h"
#include "engine/core/PrivateHeap.h"
#include "engine/raster/Raster.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/GUI_Window.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guitest {

constexpr int SCREEN_WIDTH = 320;
constexpr int SCREEN_HEIGHT = 240;

inline void CursorFromPlatform(int& x, int& y)
{
    plat::GetCursorPos(x, y);
}

class GuiFixture : public ::testing::Test {
protected:
    GuiFixture() : m_folder(m_dir.Path()) {}

    void SetUp() override
    {
        plat::headless::SetDesktopMode(plat::DisplayMode{SCREEN_WIDTH, SCREEN_HEIGHT, 16, 60, 0xF800, 0x07E0, 0x001F});
        plat::WindowDesc desc;
        desc.width = SCREEN_WIDTH;
        desc.height = SCREEN_HEIGHT;
        plat::CreateMainWindow(desc);
        CreatePrivateHeap();
        GetGameDisplay()->InitDisplay(false);
        GetRaster()->SetActive(true);
        GUI_System::Init();
        GetGUIManager()->SetHWnd(true);
        GUI_System::SetDataDirectory(u".");
        GUI_System::SetLanguageDirectory(u".");
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        GUI_System::SetGetCursorPosFunction(CursorFromPlatform);
    }

    void TearDown() override
    {
        GUI_System::Shutdown();
        GUI_System::ClearCallbacks();
        GUI_System::SetPixelHitTestEnabled(true);
        GetGameDisplay()->Shutdown();
        DestroyPrivateHeap();
    }

    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const { m_dir.Write(name, bytes); }
    // A skin file: "GSKN", "V1.0" and the lines given.
    void WriteSkin(const std::string& name, const std::string& lines, const std::string& version = "V1.0") const
    {
        m_dir.Write(name, test::Utf16Le("GSKN" + version + "\n" + lines));
    }
    // A solid image of the size and colour (0x00RRGGBB).
    void WriteImage(const std::string& name, int width, int height, std::uint32_t colour) const
    {
        m_dir.Write(name, test::SolidBmp(width, height, colour));
    }

    // Events as the window delivers them.
    static GUI_InputEvent Mouse(int code, int x, int y, std::uint32_t keys = 0)
    {
        GUI_InputEvent event;
        event.type = GUI_EVENT_MOUSE;
        event.code = code;
        event.x = x;
        event.y = y;
        event.keys = keys;
        return event;
    }
    // Moves the platform's pointer there and dispatches the move.
    static void MoveTo(int x, int y, std::uint32_t keys = 0)
    {
        plat::headless::SetCursorPos(x, y);
        GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, x, y, keys));
    }

    test::TempDir m_dir;
    test::ScopedCurrentFolder m_folder;
};

// A window that records what the toolkit did to it, in order, in a shared log.
class RecordingWindow : public GUI_Window {
public:
    RecordingWindow(std::vector<std::string>* log, std::string name, int l, int t, int r, int b)
        : GUI_Window(l, t, r, b), m_Log(log), m_Tag(std::move(name))
    {
        SetBorderMode(BORDER_NONE);
    }
    bool HandleInput(const GUI_InputEvent& event) override
    {
        m_Log->push_back("input " + m_Tag);
        return m_bTakes && GUI_Window::HandleInput(event);
    }
    void OnMouseEnter() override { m_Log->push_back("enter " + m_Tag); }
    void OnMouseLeave() override { m_Log->push_back("leave " + m_Tag); }
    void OnCaptureLost() override { m_Log->push_back("lost " + m_Tag); }

    std::vector<std::string>* m_Log;
    std::string m_Tag;
    bool m_bTakes = true;
};

} // namespace guitest
