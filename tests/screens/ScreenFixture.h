// The menu screens on an 800x600 headless desktop: display, toolkit and a fresh registry, with the shipped layout
// sources compiled into a temporary data folder; helpers to click a named window as a person would.
#pragma once

#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/RegistrySettings.h"
#include "cards/FormattedTextLayout.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/GameBlock.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/GUI_Window.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "screens/ScreenSwitch.h"
#include "tests/TestSupport.h"
#include "tools/Diagnostics.h"
#include "tools/GuiLayoutCompiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace screentest {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

inline void CursorFromPlatform(int& x, int& y)
{
    plat::GetCursorPos(x, y);
}

class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() : m_folder(m_dir.Path()) {}

    void SetUp() override
    {
        DeleteRegistrySettings();
        plat::headless::SetDesktopMode(plat::DisplayMode{WIDTH, HEIGHT, 16, 60, 0xF800, 0x07E0, 0x001F});
        plat::headless::SetScreenMetrics({WIDTH, HEIGHT, WIDTH, HEIGHT});
        plat::WindowDesc desc;
        desc.width = WIDTH;
        desc.height = HEIGHT;
        plat::CreateMainWindow(desc);
        CreatePrivateHeap();
        GetGameDisplay()->InitDisplay(false);
        GetRaster()->SetActive(true);
        GUI_System::Init();
        GetGUIManager()->SetHWnd(true);
        GUI_System::SetDataDirectory(u"data");
        GUI_System::SetLanguageDirectory(u"data");
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        GUI_System::SetGetCursorPosFunction(CursorFromPlatform);
        GUI_System::SetGetStringFunction(GetString);
        GUI_System::SetGetFormattedTextFunction(GetGUIFormattedText);
        GUI_System::SetDrawFormattedTextFunction(DrawGUIFormattedText);
        GUI_System::SetResetFormattedTextFunction(ResetFormattedText);
        ResetVoiceQueue();
        s_ClientWidth = WIDTH;
        s_ClientHeight = HEIGHT;
        GetGameBlock().menuWords.fill(-1);
        CompileShippedLayouts();
        // The display's start showed the main menu before the layouts were there.
        DeleteAllScreens();
        GetGUIManager()->RemoveAllInterfaces();
    }

    void TearDown() override
    {
        DeleteAllScreens();
        GetGameDisplay()->m_ScreenId = 0;
        GetGameDisplay()->m_ReturnScreenId = 0;
        GetGameDisplay()->m_SceneTag = 0;
        MouseState = MouseRecord{};
        ResetVoiceQueue();
        GUI_System::Shutdown();
        GUI_System::ClearCallbacks();
        GetGameDisplay()->Shutdown();
        DestroyPrivateHeap();
        DeleteRegistrySettings();
    }

    // Every layout source of the data set, compiled to data/GUI/Interfaces/ of the test's folder.
    void CompileShippedLayouts()
    {
        const std::filesystem::path folder = std::filesystem::path(TESSEL_SOURCE_DIR) / "data/gui/interfaces";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (!name.ends_with(".gui.txt"))
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            WriteLayout(name.substr(0, name.size() - 8), text.str());
        }
    }

    // A layout source compiled into the data folder under its .GUI name; the compile must succeed.
    void WriteLayout(const std::string& name, const std::string& source)
    {
        std::vector<std::uint8_t> bytes;
        datac::Diagnostics diagnostics;
        ASSERT_TRUE(datac::CompileGuiLayout(source, name, bytes, diagnostics)) << name;
        m_dir.Write("data/GUI/Interfaces/" + name + ".GUI", bytes);
    }

    static GUI_Window* Find(std::u16string_view name)
    {
        for (GUI_Interface* const screen : GetGUIManager()->GetInterfaces()) {
            if (GUI_Window* const window = screen->FindWindow(name, GUI_KIND_ANY))
                return window;
        }
        return nullptr;
    }

    static void Mouse(int code, int x, int y, std::uint32_t keys)
    {
        plat::headless::SetCursorPos(x, y);
        GUI_InputEvent event;
        event.type = GUI_EVENT_MOUSE;
        event.code = code;
        event.x = x;
        event.y = y;
        event.keys = keys;
        GetGUIManager()->DispatchEvent(event);
    }

    // Moves onto the window's centre, presses and releases there, as the window procedure would report it.
    static void Click(std::u16string_view name)
    {
        GUI_Window* const window = Find(name);
        ASSERT_NE(window, nullptr) << plat::ToUtf8(name);
        const int x = (window->GetLeft() + window->GetRight()) / 2;
        const int y = (window->GetTop() + window->GetBottom()) / 2;
        Mouse(GUI_MOUSE_MOVE, x, y, 0);
        Mouse(GUI_MOUSE_LEFT_DOWN, x, y, GUI_KEY_LBUTTON);
        Mouse(GUI_MOUSE_LEFT_UP, x, y, 0);
    }

    // The manager's frame: update, then a draw (which runs a pending refresh).
    static void Frame()
    {
        GetGUIManager()->Update();
        FlushDroppedScreens();
        GetRaster()->BeginFrame();
        GetGUIManager()->Draw();
        GetRaster()->EndFrame();
    }

    static std::vector<std::string> QueuedVoices()
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < VoiceQueueLength(); ++i)
            out.push_back(plat::ToUtf8(GetQueuedVoicePath(i)));
        return out;
    }

    test::ScopedRegistry m_registry;
    test::TempDir m_dir;
    test::ScopedCurrentFolder m_folder;
};

} // namespace screentest
