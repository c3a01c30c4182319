#include "app/Application.h"

#include "app/Console.h"
#include "app/GameWiring.h"
#include "app/MainLoop.h"
#include "cards/CardDatabase.h"
#include "cards/FormattedTextLayout.h"
#include "cards/LifeToken.h"
#include "cards/TableScene.h"
#include "engine/core/DirectXProbe.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/Particles.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/SpriteList.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/LessonFlow.h"
#include "rules/CombatDamage.h"
#include "rules/SpellStack.h"
#include "screens/ScreenSwitch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <exception>

int s_ScreenWidth = 1280;
int s_ScreenHeight = 1024;
plat::Rect s_WindowRect;
plat::Rect s_RestoreRect;
int s_bWinMax = 0;
int s_GamesCompleted = 0;
int s_GamesWon = 0;
bool s_bSettingsLoaded = false;
int s_bSoundOn = 0;
bool s_bShuttingDown = false;
plat::DisplayMode s_DesktopMode;
bool s_bDisplayDeviceOpen = false;

namespace {

constexpr char16_t RASTER_LIBRARY_NAME[] = u"revova.dll";
constexpr char16_t GUI_DATA_FOLDER[] = u"data";
constexpr char16_t LAUNCH_VOICE[] = u"data\\sfx\\cs00170.wav";
constexpr std::array<std::u16string_view, 3> INTRO_MOVIES = {
    u"content_en\\quendral.exe", u"content_en\\pellmont.exe", u"content_en\\varrowcore.exe"};
constexpr char16_t INTRO_MOVIE_ARGUMENT[] = u"tessel.exe";
// The lowest highest-bit index of each colour mask.
constexpr int RED_MASK_MIN_BIT = 14;
constexpr int GREEN_MASK_MIN_BIT = 9;
constexpr int BLUE_MASK_MIN_BIT = 4;

bool s_bDesktopKnown = false;
bool s_bStartupRefused = false;
ShutdownStepObserver s_ShutdownObserver = nullptr;
std::string_view s_ShutdownStep;

void Step(std::string_view name)
{
    s_ShutdownStep = name;
    if (s_ShutdownObserver != nullptr)
        s_ShutdownObserver(name);
}

// A shutdown that throws has left the program half torn down: nothing more of it can run safely, and the run must
// not pass for a success.
void ShutdownOrExit()
{
    try {
        ShutdownApplication();
    } catch (const std::exception& error) {
        plat::OutputDebugStringA("Tessel: ended by an exception (" + DescribeException(error) +
                                 ") during the shutdown step " + std::string(s_ShutdownStep) + "\n");
        std::_Exit(EXCEPTION_EXIT_CODE);
    }
}

std::u16string StartupMessage(int n)
{
    return GetLanguageManager()->GetStartupMessage(n);
}

void StartupBox(int message, std::uint32_t flags = plat::MB_OK)
{
    plat::MessageBox(StartupMessage(message), StartupMessage(MSG_APP_TITLE), flags);
}

// A check that fails ends the run at the first turn of the loop; nobody asked for that quit.
void RefuseStartup(int message)
{
    StartupBox(message);
    s_bStartupRefused = true;
    PostQuitMessage(0);
}

void ResetApplicationState()
{
    s_ScreenWidth = 1280;
    s_ScreenHeight = 1024;
    s_WindowRect = {};
    s_RestoreRect = {};
    s_bWinMax = 0;
    s_GamesCompleted = 0;
    s_GamesWon = 0;
    s_bSettingsLoaded = false;
    s_bSoundOn = 0;
    s_bShuttingDown = false;
    s_DesktopMode = {};
    s_bDesktopKnown = false;
    s_bStartupRefused = false;
    s_bDisplayDeviceOpen = false;
    s_bConsoleEnabled = false;
    s_bConsoleOpen = false;
    ClearQuitRequest();
    ResetMainLoopState();
}

// A desktop outside the accepted modes looks for a 16-bit mode of its own size: first at its own refresh rate,
// then (above 60 Hz only) at any rate. Modes are never really switched; the request is what counts.
void CheckDisplayMode()
{
    s_bDesktopKnown = plat::GetDesktopMode(s_DesktopMode);
    if (!s_bDesktopKnown || IsAcceptedDesktop(s_DesktopMode))
        return;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 && s_DesktopMode.refreshHz <= MODE_SEARCH_REFRESH_HZ)
            return;
        plat::DisplayMode mode;
        for (int i = 0; plat::EnumDisplayMode(i, mode); ++i) {
            if (mode.bitsPerPixel == DESKTOP_BITS && mode.width == s_DesktopMode.width &&
                mode.height == s_DesktopMode.height && (pass == 1 || mode.refreshHz == s_DesktopMode.refreshHz)) {
                plat::ChangeDisplayMode(mode);
                return;
            }
        }
    }
}

// Files that can be read but yield nothing (another encoding, random bytes) are no language data either.
bool HasUsableLanguageData(int id)
{
    if (!HasLanguageData(id))
        return false;
    const std::u16string folder(LanguageDataFolder(id));
    return StringTableFileHasEntries(folder + std::u16string(STRING_TABLE_FILE_NAME)) &&
           CardFileHasEntries(folder + CARD_FILE_NAME);
}

// False when the language data cannot be found (the fatal box was shown).
bool SettleLanguage()
{
    RegistrySettings* const settings = GetRegistrySettings();
    LanguageManager* const language = GetLanguageManager();
    language->SetLanguage(settings->GetInt(u"language"), true);
    language->ClearChanged();
    if (HasUsableLanguageData(language->GetLanguageId()))
        return true;
    const int installed = LanguageIdFromName(settings->GetString(u"InstallLang", REGISTRY_PRODUCT_KEY));
    if (installed == language->GetLanguageId()) {
        ShowLanguageDataError();
        return false;
    }
    language->SetLanguage(installed, true);
    if (!HasUsableLanguageData(language->GetLanguageId())) {
        ShowLanguageDataError();
        return false;
    }
    settings->SetInt(u"language", language->GetLanguageId());
    if (settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY) > 0)
        settings->SetInt(u"showlangselect", 1);
    return true;
}

void ReadSettings()
{
    RegistrySettings* const settings = GetRegistrySettings();
    GameDisplay* const display = GetGameDisplay();
    display->m_Width = settings->GetInt(u"width");
    display->m_Height = settings->GetInt(u"height");
    s_GamesCompleted = settings->GetInt(u"gamescompleted");
    s_bConsoleEnabled = settings->GetInt(u"consoleenabled") != 0;
    s_GamesWon = settings->GetInt(u"gameswon");
    s_bWinMax = settings->GetInt(u"winmax");
    s_WindowRect = {settings->GetInt(u"winx1"), settings->GetInt(u"winy1"), settings->GetInt(u"winx2"),
                    settings->GetInt(u"winy2")};
    if (s_bWinMax != 0)
        s_RestoreRect = s_WindowRect;
    s_bSettingsLoaded = true;
}

// Failed checks ask to quit and let start-up run on: the loop ends at its first test.
void CheckScreenAndDevice()
{
    const plat::ScreenMetrics metrics = plat::GetScreenMetrics();
    if (metrics.width < DESKTOP_MIN_WIDTH || metrics.height < DESKTOP_MIN_HEIGHT)
        RefuseStartup(MSG_SCREEN_TOO_SMALL);
    std::uint32_t version = 0;
    std::uint32_t platform = 0;
    GetDXVersion(version, platform);
    if (version < DX_VERSION_REQUIRED) {
        if (plat::MessageBox(StartupMessage(MSG_DIRECTX_TOO_OLD), StartupMessage(MSG_APP_TITLE),
                             plat::MB_OKCANCEL) == plat::IDCANCEL)
            PostQuitMessage(0);
    }
}

void CheckDisplayDevice()
{
    if (!plat::DisplayDeviceAvailable()) {
        RefuseStartup(MSG_NO_DISPLAY_DEVICE);
        return;
    }
    s_bDisplayDeviceOpen = true;
    plat::DisplayMode mode;
    if (!plat::GetDesktopMode(mode)) {
        RefuseStartup(MSG_NO_DISPLAY_MODE);
        return;
    }
    if (mode.bitsPerPixel < DESKTOP_BITS) {
        RefuseStartup(MSG_DEPTH_TOO_LOW);
        s_bDisplayDeviceOpen = false;
        return;
    }
    if (!AreUsableColourMasks(mode.redMask, mode.greenMask, mode.blueMask)) {
        RefuseStartup(MSG_BAD_COLOUR_MASKS);
        s_bDisplayDeviceOpen = false;
    }
}

bool CreateWindow()
{
    const plat::ScreenMetrics metrics = plat::GetScreenMetrics();
    s_ScreenWidth = metrics.width;
    s_ScreenHeight = metrics.height;
    if (s_bWinMax == 0) {
        s_WindowRect = FitWindowRect(s_WindowRect, s_ScreenWidth, s_ScreenHeight);
    } else {
        s_WindowRect = {0, 0, s_ScreenWidth, s_ScreenHeight};
        s_bWinMax = 0;
    }
    plat::WindowDesc desc;
    desc.maximizeBox = s_ScreenHeight > SMALL_SCREEN_HEIGHT;
    if (!desc.maximizeBox)
        s_bWinMax = 0;
    desc.title = StartupMessage(MSG_APP_TITLE);
    desc.x = s_WindowRect.left;
    desc.y = s_WindowRect.top;
    desc.width = s_WindowRect.right - s_WindowRect.left;
    desc.height = s_WindowRect.bottom - s_WindowRect.top;
    desc.resizable = true;
    desc.maximized = false;
    desc.visible = false;
    return plat::CreateMainWindow(desc);
}

void BindToolkit()
{
    GUI_System::Init();
    GetGUIManager()->SetHWnd(plat::HasMainWindow());
    GUI_System::SetDataDirectory(GUI_DATA_FOLDER);
    GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
    GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    GUI_System::SetGetStringFunction(GetString);
    GUI_System::SetGetFormattedTextFunction(GetGUIFormattedText);
    GUI_System::SetDrawFormattedTextFunction(DrawGUIFormattedText);
    GUI_System::SetGetFormattedTextWidthFunction(GetGUIFormattedTextWidth);
    GUI_System::SetGetFormattedTextHeightFunction(GetGUIFormattedTextHeight);
    GUI_System::SetGetCursorPosFunction(GetGUICursorPos);
    GUI_System::SetResetFormattedTextFunction(ResetFormattedText);
    // A window appearing or going under a still mouse changes the cursor too.
    GetGUIManager()->SetChangedCallback([] {
        if (GameDisplay* const display = GetGameDisplay())
            display->UpdateCursorFromMouse();
    });
}

// The program posts itself one message and handles it before anything is shown.
void PumpOneMessage()
{
    plat::Event command;
    command.type = plat::EventType::Command;
    plat::PostEvent(command);
    plat::Event event;
    if (plat::PollEvent(event))
        MainWndProc(event);
}

void PlayIntroMovies(bool show)
{
    if (GetRegistrySettings()->GetInt(u"playmovies") != 0) {
        plat::ShowMainWindow(false);
        plat::ShowCursor(false);
        for (const std::u16string_view movie : INTRO_MOVIES) {
            plat::SpawnAndWait(movie, {INTRO_MOVIE_ARGUMENT});
        }
    }
    plat::ShowCursor(true);
    plat::ShowMainWindow(show);
}

// A created window gets its first size message at once; the client size the table lays itself out in comes
// from it.
void SendFirstSize()
{
    plat::Event size;
    size.type = plat::EventType::Size;
    plat::GetClientSize(size.width, size.height);
    size.sizeType = plat::IsWindowMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    MainWndProc(size);
}

void DeleteSingletons()
{
    DeleteLanguageManager();
    DeleteRegistrySettings();
    DeleteSpriteList();
}

} // namespace

int HighestBitIndex(std::uint32_t mask)
{
    for (int bit = 31; bit >= 0; --bit) {
        if ((mask >> bit) & 1u)
            return bit;
    }
    return -1;
}

bool IsAcceptedDesktop(const plat::DisplayMode& mode)
{
    return mode.width >= DESKTOP_MIN_WIDTH && mode.width <= DESKTOP_MAX_WIDTH && mode.height >= DESKTOP_MIN_HEIGHT &&
           mode.height <= DESKTOP_MAX_HEIGHT && mode.bitsPerPixel == DESKTOP_BITS;
}

bool AreUsableColourMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return HighestBitIndex(red) >= RED_MASK_MIN_BIT && HighestBitIndex(green) >= GREEN_MASK_MIN_BIT &&
           HighestBitIndex(blue) >= BLUE_MASK_MIN_BIT && red > green && red > blue && green > blue;
}

plat::Rect FitWindowRect(plat::Rect rect, int screenWidth, int screenHeight)
{
    // An empty or inverted rectangle says nothing about where the window was: it takes the first-run default.
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return {DefaultSettingValue(u"winx1", screenWidth, screenHeight),
                DefaultSettingValue(u"winy1", screenWidth, screenHeight),
                DefaultSettingValue(u"winx2", screenWidth, screenHeight),
                DefaultSettingValue(u"winy2", screenWidth, screenHeight)};
    }
    // Hand-edited extremes must not overflow: the sizes are computed in 64 bits.
    const auto fit = [](int& low, int& high, int extent) {
        const std::int64_t size = std::min<std::int64_t>(std::int64_t{high} - low, extent);
        const std::int64_t start = std::clamp<std::int64_t>(low, 0, std::max<std::int64_t>(extent - size, 0));
        low = static_cast<int>(start);
        high = static_cast<int>(start + size);
    };
    fit(rect.left, rect.right, screenWidth);
    fit(rect.top, rect.bottom, screenHeight);
    return rect;
}

void ShowLanguageDataError()
{
    LanguageManager* const language = GetLanguageManager();
    const std::u16string caption = FormatString(
        u"%0 (%1)", {language->GetStartupMessage(MSG_APP_TITLE), language->GetDataFolder()});
    plat::MessageBox(language->GetStartupMessage(MSG_NO_LANGUAGE_DATA), caption, plat::MB_ICONERROR);
}

int RunApplication(const ApplicationOptions& options)
{
    ResetApplicationState();
    BindGameToEngine();
    if (options.singleInstance && !plat::AcquireInstanceLock(APPLICATION_INSTANCE_NAME)) {
        plat::RequestRaiseRunningInstance(APPLICATION_INSTANCE_NAME);
        s_bStartupRefused = true;
        return 0;
    }
    CheckDisplayMode();
    s_bSceneReady = 0;
    GetGameDisplay()->m_RasterName = RASTER_LIBRARY_NAME;
    if (!SettleLanguage()) {
        s_bStartupRefused = true;
        DeleteSingletons();
        plat::ReleaseInstanceLock();
        return 0;
    }
    SetStringLookupHook(GetString);
    CreatePrivateHeap();
    InitScriptCommands();
    LoadStringTables();
    GetLanguageManager()->ClearChanged();
    ReadSettings();
    CheckScreenAndDevice();
    s_GameMode = -1;
    s_RequestedGameMode = 0;
    CheckDisplayDevice();
    if (!CreateWindow()) {
        plat::OutputDebugStringA("Tessel: the main window could not be created\n");
        PostQuitMessage(1);
    }
    BindToolkit();
    PumpOneMessage();
    PlayIntroMovies(options.show);
    SendFirstSize();
    const plat::Rect rect = plat::GetWindowRect();
    GetGameDisplay()->m_Width = rect.right - rect.left;
    GetGameDisplay()->m_Height = rect.bottom - rect.top;
    BindRaster();
    InitCardOverlayTable();
    LoadCardDatabase();
    InitConsole();
    ClearParticles();
    RegistrySettings* const settings = GetRegistrySettings();
    if (settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY) > 0)
        settings->SetInt(u"launchmode", 1);
    s_bSoundOn = InitSound() ? 1 : 0;
    SetSoundOn(s_bSoundOn != 0);
    ResetVoiceQueue();
    if (settings->GetInt(u"launchmode") == 1)
        QueueVoice(LAUNCH_VOICE, true);
    if (options.seed)
        plat::SeedRand(*options.seed);

    RunMainLoop(options.driver);
    ShutdownOrExit();
    return QuitExitCode();
}

void SaveSettings()
{
    if (!s_bSettingsLoaded)
        return;
    const GameDisplay* const display = GetGameDisplay();
    if (s_bWinMax != 0)
        s_WindowRect = s_RestoreRect;
    // One replace: an interrupted save leaves the old settings or the new ones, never half a window rectangle.
    GetRegistrySettings()->SetInts({{u"language", GetLanguageManager()->GetLanguageId()},
                                    {u"playmovies", 0},
                                    {u"width", display->m_Width},
                                    {u"height", display->m_Height},
                                    {u"gamescompleted", s_GamesCompleted},
                                    {u"gameswon", s_GamesWon},
                                    {u"winmax", s_bWinMax},
                                    {u"winx1", s_WindowRect.left},
                                    {u"winy1", s_WindowRect.top},
                                    {u"winx2", s_WindowRect.right},
                                    {u"winy2", s_WindowRect.bottom}});
}

// The language manager, the settings and the sprite list go last: the steps before them reach them through
// their create-on-first-use accessors.
void ShutdownApplication()
{
    Step("SaveSettings");
    SaveSettings();
    Step("DestroyIntro");
    DestroyIntro();
    Step("SpellStack::Shutdown");
    GetSpellStack().Shutdown();
    Step("ClearCombatDamageRecords");
    ClearCombatDamageRecords();
    Step("CloseAllLessonDialogs");
    // The lesson box, the CPU's turn balloon and the lists are file statics: left alive, they would unregister
    // themselves from the display after it has gone.
    CloseAllLessonDialogs();
    DeleteOnlineAdviceBox();
    Step("ResetCpuPhysicalTurn");
    ResetCpuPhysicalTurn();
    // So are the life tokens, with their box and their actors: a later life change must not reach them.
    Step("DestroyLifeTokens");
    DestroyLifeTokens();
    Step("DeleteAllScreens");
    DeleteAllScreens();
    Step("GUI_System::Shutdown");
    GUI_System::Shutdown();
    Step("DeleteHintRegistry");
    DeleteHintRegistry();
    Step("ReleaseCardOverlays");
    ReleaseCardOverlays();
    Step("ClearStringTables");
    ClearStringTables();
    // Actors hold textures and sounds: they go before the display and the sound.
    Step("DestroyAllActors");
    DestroyAllActors();
    PurgeRemovedActors();
    // The lesson keeps the player actors: a later run must not read the freed ones.
    SetPlayerActors(nullptr, nullptr);
    Step("GameDisplay::Shutdown");
    GetGameDisplay()->Shutdown();
    Step("UnbindRaster");
    UnbindRaster();
    Step("DestroyPrivateHeap");
    DestroyPrivateHeap();
    Step("ShutdownSound");
    StopAllEffects();
    ShutdownSound();
    Step("ReleaseDisplayDevice");
    s_bDisplayDeviceOpen = false;
    Step("DeleteSingletons");
    DeleteSingletons();
    s_bShuttingDown = true;
    Step("RestoreDisplayMode");
    if (s_bDesktopKnown)
        plat::ChangeDisplayMode(s_DesktopMode);
    plat::DestroyMainWindow();
    plat::ReleaseInstanceLock();
}

bool StartupRefusedTheRun()
{
    return s_bStartupRefused;
}

void SetShutdownStepObserver(ShutdownStepObserver observer)
{
    s_ShutdownObserver = observer;
}
