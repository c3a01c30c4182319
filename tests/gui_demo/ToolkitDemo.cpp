// gui_toolkit_demo: a program of its own that shows one screen loaded from a compiled .GUI file, plus a scroll
// bar the program owns and places, for the toolkit's end-to-end tests. It is not part of the shipped program.
//   gui_toolkit_demo --data FOLDER --layout GUI\Interfaces\X.GUI [--headless --script FILE]
// Every command a button posts is printed as "command <name>"; the text button named "quit" ends the run; at the
// end "position <n>" gives the scroll bar's position. Headless, the script's events arrive by frame (16 ms a
// frame) and its "save" lines save frames.
#include "engine/scene/GameDisplay.h"
#include "engine/core/PrivateHeap.h"
#include "engine/raster/Raster.h"
#include "app/ScriptedRun.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_ScrollBar.h"
#include "gui/GUI_System.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;
constexpr std::uint32_t FRAME_MS = 16;
constexpr int MAX_FRAMES = 100000;

struct Options {
    std::string data;
    std::string layout;
    std::string script;
    bool headless = false;
};

bool s_bQuit = false;

void CursorPos(int& x, int& y)
{
    plat::GetCursorPos(x, y);
}

// The screen: prints its buttons' commands and offers every event to the scroll bar first.
class DemoScreen : public GUI_Interface {
public:
    bool HandleInput(const GUI_InputEvent& event) override
    {
        if (m_pBar != nullptr && m_pBar->HandleInput(event))
            return true;
        if (event.type == GUI_EVENT_COMMAND && event.sender != nullptr) {
            std::printf("command %s\n", plat::ToUtf8(event.sender->GetName()).c_str());
            std::fflush(stdout);
            if (event.sender->GetName() == u"quit")
                s_bQuit = true;
            return true;
        }
        return GUI_Interface::HandleInput(event);
    }

    GUI_Button* AddPart(std::u16string_view name, std::u16string_view image, int l, int t, int r, int b)
    {
        auto* part = new GUI_Button();
        part->SetName(name);
        part->SetBorderMode(BORDER_NONE);
        // Every look shows the part's one image, stretched over the part.
        for (const ButtonLook look : {LOOK_UP, LOOK_DOWN, LOOK_MOUSEOVER, LOOK_DISABLED}) {
            part->GetLook(look).modeH = part->GetLook(look).modeV = SIZE_MODE_STRETCH;
            part->GetLook(look).backgroundAlpha = false;
        }
        part->SetUpImage(image, true);
        part->SetDownImage(image, true);
        part->SetMouseOverImage(image, true);
        part->SetRect(l, t, r, b, true);
        part->SaveDesignRect();
        AddWindow(part);
        return part;
    }

    // A bar at the screen's right edge: arrows at both ends of the track, the thumb between them.
    void BuildScrollBar()
    {
        GUI_Button* const track = AddPart(u"track", u"bar\\track.bmp", 600, 40, 620, 440);
        GUI_Button* const up = AddPart(u"up", u"bar\\arrow.bmp", 600, 40, 620, 60);
        GUI_Button* const down = AddPart(u"down", u"bar\\arrow.bmp", 600, 420, 620, 440);
        GUI_Button* const thumb = AddPart(u"thumb", u"bar\\thumb.bmp", 602, 60, 618, 90);
        m_pBar = std::make_unique<GUI_ScrollBar>(up, down, track, thumb);
        m_pBar->SetMaximum(20);
        m_pBar->SetPageStep(5);
        m_pBar->Layout();
    }

    void Update() override
    {
        GUI_Interface::Update();
        if (m_pBar != nullptr)
            m_pBar->Update();
    }

    std::unique_ptr<GUI_ScrollBar> m_pBar;
};

bool ParseOptions(int argc, char** argv, Options& out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--headless") {
            out.headless = true;
        } else if (i + 1 < argc && option == "--data") {
            out.data = argv[++i];
        } else if (i + 1 < argc && option == "--layout") {
            out.layout = argv[++i];
        } else if (i + 1 < argc && option == "--script") {
            out.script = argv[++i];
        } else {
            return false;
        }
    }
    return !out.data.empty() && !out.layout.empty();
}

void DrawFrame(GUI_Manager& manager)
{
    Raster* const raster = GetRaster();
    raster->BeginFrame();
    manager.Draw();
    raster->Invalidate();
    raster->EndFrame();
    raster->Present(true);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: gui_toolkit_demo --data FOLDER --layout FILE [--headless] [--script FILE]\n");
        return 2;
    }
    if (!plat::Init(options.headless ? plat::BackendKind::Headless : plat::BackendKind::Sdl)) {
        std::fprintf(stderr, "gui_toolkit_demo: no display\n");
        return 3;
    }
    EventScript script;
    if (!options.script.empty()) {
        std::vector<std::uint8_t> text;
        std::string error;
        if (!plat::ReadFileBytes(plat::FromUtf8(options.script), text) ||
            !ParseEventScript(std::string(text.begin(), text.end()), plat::GetCurrentFolder(), script, error)) {
            std::fprintf(stderr, "gui_toolkit_demo: %s\n", error.c_str());
            return 2;
        }
    }
    if (options.headless)
        plat::headless::SetDesktopMode(plat::DisplayMode{WINDOW_WIDTH, WINDOW_HEIGHT, 16, 60, 0xF800, 0x07E0, 0x001F});
    plat::WindowDesc desc;
    desc.title = u"Toolkit demo";
    desc.width = WINDOW_WIDTH;
    desc.height = WINDOW_HEIGHT;
    desc.resizable = false;
    if (!plat::CreateMainWindow(desc))
        return 3;
    CreatePrivateHeap();
    GetGameDisplay()->InitDisplay(false);
    GetRaster()->SetActive(true);
    GUI_System::Init();
    GUI_Manager& manager = *GUI_System::GetManager();
    manager.SetHWnd(true);
    const std::u16string data = plat::FromUtf8(options.data);
    GUI_System::SetDataDirectory(data.c_str());
    GUI_System::SetLanguageDirectory(data.c_str());
    GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
    GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    GUI_System::SetGetCursorPosFunction(CursorPos);

    auto screen = std::make_unique<DemoScreen>();
    if (!screen->LoadFromFile(plat::FromUtf8(options.layout))) {
        std::fprintf(stderr, "gui_toolkit_demo: %s cannot be loaded\n", options.layout.c_str());
        return 1;
    }
    screen->BuildScrollBar();
    manager.AddInterface(screen.get());

    std::size_t nextAction = 0;
    int exitCode = 0;
    for (int frame = 0; frame < MAX_FRAMES && !s_bQuit; ++frame) {
        std::vector<std::string> saves;
        while (options.headless && nextAction < script.actions.size() && script.actions[nextAction].frame <= frame) {
            const ScriptedAction& action = script.actions[nextAction++];
            if (action.save)
                saves.push_back(action.path);
            else
                plat::headless::QueueEvent(action.event);
        }
        plat::Event event;
        while (plat::PollEvent(event)) {
            if (event.type == plat::EventType::Quit)
                s_bQuit = true;
            manager.HandleWindowMessage(event, false);
        }
        manager.Update();
        DrawFrame(manager);
        for (const std::string& path : saves) {
            if (!plat::headless::SaveFrameBmp(plat::headless::LastFrame(), path))
                exitCode = 1;
        }
        if (options.headless) {
            plat::headless::AdvanceTime(FRAME_MS);
            if (nextAction >= script.actions.size())
                break;
        } else {
            plat::SleepMs(FRAME_MS);
        }
    }
    std::printf("position %d\n", screen->m_pBar->GetPosition());
    manager.RemoveAllInterfaces();
    screen.reset();
    GUI_System::Shutdown();
    GetGameDisplay()->Shutdown();
    DestroyPrivateHeap();
    plat::Shutdown();
    return exitCode;
}
