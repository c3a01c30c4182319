// A screen of 50 skinned windows and buttons drawn through the toolkit each frame, against the raster drawing
// the very same textured rectangles itself. Compare the pair of one run: Gui_DrawScreen against
// Raster_SamePrimitives; the difference is what the toolkit's walk of windows and pieces costs.
#include "engine/raster/Raster.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr int WINDOWS = 25;
constexpr int BUTTONS = 25;
constexpr int PIECE = 8;

std::vector<std::uint16_t> s_Pixels(PIECE * PIECE, 0x3DEF);

int MakePieceTexture(std::u16string_view)
{
    return GetRaster()->CreateTexture(PIECE, PIECE, s_Pixels.data(), 16, TEXTURE_KIND_SURFACE);
}

void ReleasePieceTexture(int texture)
{
    GetRaster()->ReleaseTexture(texture);
}

void NoCursor(int& x, int& y)
{
    x = y = -1;
}

// Nine pieces for windows and for each button look, as a skin file in a folder of its own.
std::string WriteSkin()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessel-gui-bench";
    std::filesystem::create_directories(folder);
    std::u16string text = u"GSKNV1.0\n";
    const char16_t* const modes[SKIN_PIECE_COUNT] = {u" 0 0", u" 1 0", u" 0 0", u" 0 1", u" 1 1",
                                                      u" 0 1", u" 0 0", u" 1 0", u" 0 0"};
    for (int piece = 0; piece < SKIN_PIECE_COUNT; ++piece) {
        text += std::u16string(WINDOW_PIECE_KEYS[piece]) + u" p.bmp" + modes[piece] + u"\n";
        for (int look = 0; look < LOOK_COUNT; ++look)
            text += std::u16string(BUTTON_PIECE_KEYS[look][piece]) + u" p.bmp" + modes[piece] + u"\n";
    }
    std::ofstream file(folder / "bench.skn", std::ios::binary);
    file.put(static_cast<char>(0xFF));
    file.put(static_cast<char>(0xFE));
    for (const char16_t unit : text) {
        file.put(static_cast<char>(unit & 0xFF));
        file.put(static_cast<char>(unit >> 8));
    }
    return folder.string();
}

struct Scene {
    std::unique_ptr<GUI_Interface> screen;
    std::vector<GUI_ImageElement> pieces;  // every piece the screen draws, for the raster's own run
};

std::unique_ptr<Scene> s_scene;

Scene& StartScene()
{
    if (s_scene)
        return *s_scene;
    plat::Init(plat::BackendKind::Headless);
    plat::headless::SetDesktopMode(plat::DisplayMode{W, H, 16, 60, 0xF800, 0x07E0, 0x001F});
    plat::WindowDesc desc;
    desc.width = W;
    desc.height = H;
    plat::CreateMainWindow(desc);
    Raster* const raster = GetRaster();
    raster->Init(W, H, 1024.0f, 768.0f, u"bench", 20000.0f, 0, false);
    raster->SetActive(true);
    GUI_System::Init();
    GUI_System::GetManager()->SetHWnd(true);
    const std::u16string folder = plat::FromUtf8(WriteSkin());
    GUI_System::SetDataDirectory(folder.c_str());
    GUI_System::SetLoadBitmapFunction(MakePieceTexture);
    GUI_System::SetReleaseTextureFunction(ReleasePieceTexture);
    GUI_System::SetGetCursorPosFunction(NoCursor);

    s_scene = std::make_unique<Scene>();
    s_scene->screen = std::make_unique<GUI_Interface>();
    for (int i = 0; i < WINDOWS + BUTTONS; ++i) {
        const int x = (i % 10) * 78 + 10;
        const int y = (i / 10) * 110 + 20;
        GUI_Window* const window = i < WINDOWS ? new GUI_Window(GUI_KIND_WINDOW) : new GUI_Button();
        window->SetRect(x, y, x + 70, y + 100, true);
        window->SetSkin(u"bench.skn", true, false);
        s_scene->screen->AddWindow(window);
        for (const SkinPieceSlot& slot : window->GetPieces()) {
            if (slot.element)
                s_scene->pieces.push_back(*slot.element);
        }
    }
    GUI_System::GetManager()->AddInterface(s_scene->screen.get());
    return *s_scene;
}

void Gui_DrawScreen(benchmark::State& state)
{
    StartScene();
    Raster* const raster = GetRaster();
    for (auto _ : state) {
        raster->BeginFrame();
        GUI_System::GetManager()->Draw();
        raster->Invalidate();
        raster->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * (WINDOWS + BUTTONS));
}
BENCHMARK(Gui_DrawScreen);

void Raster_SamePrimitives(benchmark::State& state)
{
    const Scene& scene = StartScene();
    Raster* const raster = GetRaster();
    for (auto _ : state) {
        raster->BeginFrame();
        for (const GUI_ImageElement& piece : scene.pieces)
            piece.Draw();
        raster->Invalidate();
        raster->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * (WINDOWS + BUTTONS));
}
BENCHMARK(Raster_SamePrimitives);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The screen goes before the raster and the manager it releases its textures and skins through.
    if (s_scene) {
        GUI_System::GetManager()->RemoveAllInterfaces();
        s_scene.reset();
        GUI_System::Shutdown();
    }
    return 0;
}
