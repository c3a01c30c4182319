#include "app/MainLoop.h"

#include "app/Application.h"
#include "app/Console.h"
#include "cards/CardDatabase.h"
#include "cards/CardWindows.h"
#include "cards/LifeToken.h"
#include "cards/PlayerHud.h"
#include "cards/TableInput.h"
#include "rules/PlayerState.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/Particles.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gui/GUI_Manager.h"
#include "gui/GameWindowRegistry.h"
#include "gui/Messagebox.h"
#include "gui/SpriteList.h"
#include "lessons/LessonFlow.h"
#include "rules/SpellStack.h"
#include "screens/ScreenSwitch.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>
#include <array>
#include <cmath>
#include <exception>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int SPLASH_SCREEN = 11;
constexpr int MAIN_SCREEN = 1;
constexpr char16_t SPLASH_VOICE[] = u"vo_phys\\basic_splash_1a.wav";
constexpr char16_t CTRL_U = 21;
constexpr char16_t CONSOLE_TOGGLE_CHAR = 96;
constexpr int POPUP_DRAG_BAR_HEIGHT = 22;
// What the loop is doing, kept cheaply at every step and put into words only when an exception ends the run.
enum class LoopWork { Driver, Event, SceneLoad, FrameTick, Waiting };
struct LoopActivity {
    LoopWork work = LoopWork::Driver;
    int number = 0;
    const char* step = "";  // the frame tick's step
};
LoopActivity s_Activity;

void SetActivity(LoopWork work, int number)
{
    s_Activity = {work, number, ""};
}

void SetFrameStep(const char* step)
{
    s_Activity.step = step;
}

std::string DescribeActivity()
{
    const std::string number = std::to_string(s_Activity.number);
    switch (s_Activity.work) {
    case LoopWork::Event:
        return "handling an event of type " + number;
    case LoopWork::SceneLoad:
        return "loading the scene of game mode " + number;
    case LoopWork::FrameTick:
        if (*s_Activity.step != 0)
            return "the step " + std::string(s_Activity.step) + " of the tick of frame " + number;
        return "the tick of frame " + number;
    case LoopWork::Waiting:
        return "waiting for an event";
    case LoopWork::Driver:
        break;
    }
    return "the run's driver at frame " + number;
}

constexpr std::array<std::u16string_view, 5> LEVEL_SCRIPTS = {
    u"", u"level01_u.cfg", u"level02_u.cfg", u"level03_u.cfg", u"level04_u.cfg"};

// Slot -> key; an empty key leaves the slot empty.
constexpr std::array<std::u16string_view, PHASE_NAME_COUNT> PHYSICAL_PHASES = {
    u"PHYS_PHASE_Untap", u"", u"PHYS_PHASE_Draw", u"PHYS_PHASE_Main", u"PHYS_PHASE_Combat", u"", u"", u"", u"",
    u"", u"PHYS_PHASE_Main", u"PHYS_PHASE_EOT"};
constexpr std::array<std::u16string_view, PHASE_NAME_COUNT> ONLINE_PHASES = {
    u"ONL_PHASE_Untap", u"ONL_PHASE_Upkeep", u"ONL_PHASE_Draw", u"ONL_PHASE_Main", u"ONL_PHASE_Combat",
    u"ONL_PHASE_BeginCombat", u"ONL_PHASE_DeclareAttackers", u"ONL_PHASE_DeclareBlockers",
    u"ONL_PHASE_CombatDamage", u"ONL_PHASE_EndCombat", u"ONL_PHASE_Main", u"ONL_PHASE_EndTurn"};

constexpr std::array<std::u16string_view, FRAME_TEXTURE_COUNT> PLAYER_AREA_FRAME_NAMES = {
    u"fr_tl", u"fr_tr", u"fr_bl", u"fr_br", u"fr_tm", u"fr_bm", u"fr_sml", u"fr_smr", u"gbottile"};

bool IsMouseEvent(plat::EventType type)
{
    return type == plat::EventType::MouseMove || type == plat::EventType::ButtonDown ||
           type == plat::EventType::ButtonUp || type == plat::EventType::DoubleClick ||
           type == plat::EventType::Wheel;
}

bool RasterExists()
{
    return GetRaster()->IsInitialised();
}

bool PressWaits()
{
    return MouseState.leftClicked != 0 || MouseState.rightClicked != 0;
}

void RefreshScreenRect()
{
    GetRaster()->GetScreenRect(s_ScreenRect);
}

// The toolkit sees every event first; while the quit warning is up only it and the screens may take the mouse.
// The cursor follows the window under the mouse.
void UpdateCursorAt(int x, int y)
{
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    display->UpdateCursor(x, y, x >= 0 && y >= 0 && x < width && y < height);
}

void OfferToToolkit(const plat::Event& event)
{
    GUI_Manager* const manager = GetGUIManager();
    if (Messagebox* const box = GetQuitWarningBox()) {
        GUI_InputEvent input;
        if (IsMouseEvent(event.type) && !manager->HandleWindowMessage(event, true) &&
            GUI_Manager::TranslateMouseMessage(event, input))
            box->HandleInput(input);
        return;
    }
    if (!IsQuitPromptOpen())
        manager->HandleWindowMessage(event, false);
}

void OnButtonDown(int button)
{
    switch (button) {
    case plat::BUTTON_LEFT:
        plat::SetMouseCapture(true);
        MouseState.leftClicked = 1;
        MouseState.leftHeld = 1;
        break;
    case plat::BUTTON_RIGHT:
        plat::SetMouseCapture(true);
        MouseState.rightClicked = 1;
        MouseState.rightHeld = 1;
        break;
    case plat::BUTTON_MIDDLE:
        plat::SetMouseCapture(true);
        MouseState.middleClicked = 1;
        MouseState.middleHeld = 1;
        break;
    default:
        break;
    }
}

// A release keeps the capture while the other of left and right is held; the middle release keeps it.
void OnButtonUp(int button)
{
    switch (button) {
    case plat::BUTTON_LEFT:
        if (MouseState.rightHeld == 0)
            plat::SetMouseCapture(false);
        MouseState.leftHeld = 0;
        break;
    case plat::BUTTON_RIGHT:
        if (MouseState.leftHeld == 0)
            plat::SetMouseCapture(false);
        MouseState.rightHeld = 0;
        break;
    case plat::BUTTON_MIDDLE:
        MouseState.middleHeld = 0;
        break;
    default:
        break;
    }
}

void OnChar(char16_t ch)
{
    if (ch == CTRL_U) {
        if (IsOnlineLesson())
            RequestPaymentUndo();
        return;
    }
    if (!s_bConsoleEnabled)
        return;
    if (ch == CONSOLE_TOGGLE_CHAR) {
        s_bConsoleOpen = !s_bConsoleOpen;
        if (!RasterExists())
            return;
        // A closed console leaves the screen at once.
        if (!s_bConsoleOpen)
            EraseConsole();
        GetRaster()->Invalidate();
        return;
    }
    if (s_bConsoleOpen)
        QueueConsoleChar(ch);
}

// The open console's editing keys: the window gives them as keys, never as characters.
void OnKeyDown(int key)
{
    if (!s_bConsoleEnabled || !s_bConsoleOpen)
        return;
    constexpr std::array<std::pair<int, ConsoleCode>, 7> EDITING_KEYS = {{
        {plat::KEY_END, CONSOLE_END},
        {plat::KEY_HOME, CONSOLE_HOME},
        {plat::KEY_LEFT, CONSOLE_LEFT},
        {plat::KEY_UP, CONSOLE_HISTORY_BACK},
        {plat::KEY_RIGHT, CONSOLE_RIGHT},
        {plat::KEY_DOWN, CONSOLE_HISTORY_FORWARD},
        {plat::KEY_DELETE, CONSOLE_DELETE},
    }};
    for (const auto& [code, edit] : EDITING_KEYS) {
        if (code == key)
            QueueConsoleKey(edit);
    }
}

void OnSize(const plat::Event& event)
{
    s_ClientWidth = event.width;
    s_ClientHeight = event.height;
    if (s_bWinMax == 0 && event.sizeType != SIZE_MAXIMIZED)
        s_WindowRect = plat::GetWindowRect();
    PopupRect& saved = GetSavedPopupRect();
    if (event.sizeType == SIZE_MINIMIZED) {
        SavePopupRect();
    } else if (saved.right != 0) {
        ResetHover();
        RestorePopupRect({saved.left, saved.top, saved.right, saved.top + POPUP_DRAG_BAR_HEIGHT});
        if (RasterExists())
            RefreshScreenRect();
        RefreshMousePosition();
        s_WindowRect = plat::GetWindowRect();
        saved.right = 0;
    } else if (RasterExists()) {
        ResetHover();
        RefreshScreenRect();
    }
    s_bWinMax = event.sizeType == SIZE_MAXIMIZED ? 1 : 0;
}

void OnActivate(int active)
{
    s_bAppActive = active;
    // The loop neither refills the stream nor settles the voices while inactive: the mixer waits with it.
    plat::AudioPauseOutput(active == 0);
    if (s_bSceneReady == 0)
        return;
    if (active == 0) {
        MouseState.leftHeld = 0;
        MouseState.rightHeld = 0;
        plat::SetMouseCapture(false);
        GetRaster()->HandleActivate(0);
        StopVoiceQueue();
    } else {
        GetRaster()->HandleActivate(1);
        GetGUIManager()->RefreshMouse();
    }
}

// The scene switch of an idle pass: card data again after a language change, the scene, the title and the
// first screen.
void SwitchScene()
{
    LanguageManager* const language = GetLanguageManager();
    if (language->HasChanged()) {
        language->ClearChanged();
        ReleaseCardOverlays();
        LoadCardDatabase();
    }
    LoadScene();
    plat::SetWindowTitle(language->GetStartupMessage(MSG_APP_TITLE));
    RefreshScreenRect();
    RefreshMousePosition();
    RegistrySettings* const settings = GetRegistrySettings();
    GameDisplay* const display = GetGameDisplay();
    if (settings->GetInt(u"launchmode") == 0) {
        display->SetScreen(SPLASH_SCREEN, false);
        QueueVoice(SPLASH_VOICE, false);
        display->SetReturnScreen(MAIN_SCREEN);
    } else {
        display->SetScreen(display->GetScreen(), false);
    }
    if (s_GameMode > 0)
        settings->SetInt(u"launchmode", 1);
}

void CopyPhaseName(std::array<char16_t, PHASE_NAME_CAPACITY>& slot, std::u16string_view key)
{
    slot.fill(0);
    if (key.empty())
        return;
    const char16_t* const text = GetString(key);
    if (text == nullptr)
        return;
    const std::u16string_view value(text);
    std::copy_n(value.begin(), std::min<std::size_t>(value.size(), PHASE_NAME_CAPACITY - 1), slot.begin());
}

} // namespace

void ResetMainLoopState()
{
    MouseState = MouseRecord{};
    s_GameMode = -1;
    s_RequestedGameMode = 0;
    s_bAppActive = 1;
    plat::AudioPauseOutput(false);
    s_bSceneReady = 0;
    s_FrameStep = 1.0f;
    s_FrameStepInt = 1;
    s_FramesPerSecond = 0.0f;
    s_MaxFramesPerSecond = DEFAULT_MAX_FRAMES_PER_SECOND;
    s_FrameCounter = 0;
    s_LastTickFrame = 0;
    s_ScreenRect = RasterRect{};
    s_ClientWidth = 0;
    s_ClientHeight = 0;
    s_PresentFlag = 1;
}

int MainWndProc(const plat::Event& event)
{
    if (s_bShuttingDown)
        return 0;
    OfferToToolkit(event);
    switch (event.type) {
    case plat::EventType::MouseMove:
        MouseState.x = event.x;
        MouseState.y = event.y;
        UpdateCursorAt(event.x, event.y);
        break;
    case plat::EventType::ButtonDown:
    case plat::EventType::DoubleClick:  // the window class asks for no double clicks: a second press
        OnButtonDown(event.button);
        break;
    case plat::EventType::ButtonUp:
        OnButtonUp(event.button);
        break;
    case plat::EventType::Wheel:
        MouseState.wheel = event.wheel;
        break;
    case plat::EventType::Char:
        OnChar(event.ch);
        break;
    case plat::EventType::KeyDown:
        OnKeyDown(event.key);
        break;
    case plat::EventType::Quit:
        // Closing the window destroys it, and its destruction ends the loop.
        PostQuitMessage(0);
        return 0;
    case plat::EventType::Move:
        if (s_bWinMax == 0)
            s_RestoreRect = s_WindowRect;
        s_WindowRect = plat::GetWindowRect();
        break;
    case plat::EventType::Size:
        OnSize(event);
        return 0;
    case plat::EventType::Activate:
        OnActivate(event.active);
        return 0;
    case plat::EventType::Paint:
        if (RasterExists())
            GetRaster()->Invalidate();
        return 0;
    default:
        break;
    }
    return 0;
}

float ComputeFrameStep(float framesPerSecond)
{
    if (!(framesPerSecond > 0.0f) || !std::isfinite(framesPerSecond))
        return 1.0f;
    const float step = 60.0f / framesPerSecond;
    return std::isfinite(step) && step >= 1.0f ? step : 1.0f;
}

void FrameTick()
{
    s_FrameStep = ComputeFrameStep(s_FramesPerSecond);
    // A tiny measured rate gives a huge step: the whole step must still fit the int.
    s_FrameStepInt = s_FrameStep >= static_cast<float>(std::numeric_limits<int>::max())
                         ? std::numeric_limits<int>::max()
                         : std::max(static_cast<int>(s_FrameStep), 1);
    SetFrameStep("PurgeRemovedActors");
    PurgeRemovedActors();
    // Screens a switch dropped inside a handler are gone once the input is dispatched.
    FlushDroppedScreens();
    GameDisplay* const display = GetGameDisplay();
    SetFrameStep("GameDisplay::BeginFrame");
    display->BeginFrame();
    SetFrameStep("UpdateVoices");
    UpdateVoices();
    RefreshScreenRect();
    RefreshMousePosition();
    UpdatePopupDrag();
    if (s_GameMode == s_RequestedGameMode) {
        SetFrameStep("GUI_Manager::Update");
        GetGUIManager()->Update();
        SetFrameStep("SpriteList::UpdateAll");
        GetSpriteList()->UpdateAll();
        // The cards and the turn drivers read the press against the card under the mouse; the frame's own picking
        // comes after them, so a press that came with the move onto a card would find the card left behind.
        if (PressWaits() && FindActorByName(u"camera") != nullptr && GetTableInput().pickingReady != 0)
            UpdateCardUnderCursor();
        SetFrameStep("UpdateActors");
        UpdateActors();
        SetFrameStep("UpdateParticles");
        UpdateParticles();
        SetFrameStep("UpdateHandCards");
        UpdateHandCards();
        SetFrameStep("SpellStack::Update");
        GetSpellStack().Update();
        SetFrameStep("UpdateWindowBindings");
        UpdateWindowBindings();
        SetFrameStep("the table's drawing");
        if (FindActorByName(u"camera") != nullptr) {
            if (!UpdateCardZoom())
                UpdateCardUnderCursor();
            if (GetSpellStack().GetCount() != 0)
                GetSpellStack().Draw();
            DrawCardPreview();
            if (!IsOnlineLesson())
                ExplainTurnStep();
            GetSpriteList()->DrawAll();
        }
        SetFrameStep("UpdateLibraryDraw");
        UpdateLibraryDraw();
        FlushActorRemovals();
    }
    if (s_bConsoleEnabled && s_bConsoleOpen) {
        SetFrameStep("UpdateConsole");
        UpdateConsole();
        // Nothing else asks for a redraw while the console is typed into: it would show only after an expose.
        GetRaster()->Invalidate();
    }
    SetFrameStep("GameDisplay::UpdateMessageDialogs");
    display->DrawStandbyPrompt();
    display->UpdateMessageDialogs();
    SetFrameStep("GameDisplay::DrawFrame");
    display->DrawFrame();
    SetFrameStep("GameDisplay::CheckMessageButtonClick");
    display->CheckMessageButtonClick();
    SetFrameStep("GameDisplay::Present");
    display->Present(s_PresentFlag != 0);
    SetFrameStep("");
    s_PresentFlag = 0;
    s_LastTickFrame = s_FrameCounter;
    ++s_FrameCounter;
    MouseState.wheel = 0;
    MouseState.leftClicked = 0;
    MouseState.rightClicked = 0;
    MouseState.middleClicked = 0;
    MouseState.clickConsumed = 0;
}

void LoadScene()
{
    GameDisplay* const display = GetGameDisplay();
    display->ReleaseAll();
    GetGUIManager()->Clear();
    display->ResetColorSelect();
    ResetPrivateHeap();
    LoadStringTables();
    InitScriptCommands();
    display->InitDisplay(false);
    if (!display->IsInitialised())
        return;  // the display reported it and asked to quit
    LoadLargeCardSymbols();
    s_bSceneReady = 1;
    SetScriptSections(true, true);
    const int mode = s_RequestedGameMode;
    GetRaster()->SetClearAfterPresent(mode >= 1);
    ReleaseCardOverlays();
    if (mode != 0)
        LoadSmallCardSymbols();
    if (mode >= 1 && mode < static_cast<int>(LEVEL_SCRIPTS.size()))
        RunLevelScript(LEVEL_SCRIPTS[static_cast<std::size_t>(mode)]);
    if (mode != 0)
        ReleaseSmallCardAssets();
    // The display zeroes the tag at every load; a game's actors run only while it is 1.
    display->m_SceneTag = mode >= 1 && mode <= 4 ? 1 : 0;
    if (mode != 0)
        LoadCardFrames();
    s_GameMode = mode;

    TableSceneFields& fields = GetTableSceneFields();
    if (mode == 1 || mode == 2) {
        CreateLifeTokens();
        fields.manaBarImages = {GetTextureByName(u"manabar1"), GetTextureByName(u"manabar2")};
    } else if (mode == 3 || mode == 4) {
        fields.manaBarImages = {-1, -1};
    }
    if (mode <= 0)
        display->LoadColorSelectImages();
    else
        LoadTableGraphics();
    const bool online = IsOnlineLesson();
    FillPhaseNames(online);
    if (online)
        LoadPlayerAreaGraphics();
    std::array<int, FRAME_TEXTURE_COUNT> frame{};
    for (std::size_t i = 0; i < PLAYER_AREA_FRAME_NAMES.size(); ++i) {
        frame[i] = GetTextureByName(PLAYER_AREA_FRAME_NAMES[i]);
    }
    GetGameDisplay()->SetMessageFrameTextures(frame);
    fields.avatarImages[1] = GetTextureByName(u"av1_0");
    fields.avatarImages[0] = GetTextureByName(u"av0_0");
    if (mode == 3 || mode == 4) {
        // The portraits size the online players' panels: the layout follows them.
        GameDisplay* const display = GetGameDisplay();
        for (int player = 0; player < 2; ++player) {
            display->SetAvatarImage(fields.avatarImages[static_cast<std::size_t>(player)], player);
            // A life change the last game left running would play on in this one.
            GetHudLifeAnimation(player) = HudLifeAnimation{};
            // The panels show the starting life at once, as the physical lessons do, not a count up from zero.
            if (PlayerState* const record = GetPlayerState(player)) {
                record->SetLife(STARTING_LIFE, true);
                record->SetDisplayedLife(STARTING_LIFE);
            }
        }
        display->m_RelayoutRequested = true;
        display->m_LayoutDone = false;
    }

    DestroyAllCardWindows();
    ClearTableEffectWords();
    RestartCameraClock();
    ResetHover();
    // A new game lights no step of the phase bar until its first turn begins.
    GetGameDisplay()->m_CurrentPhase = -1;
    ResetOnlineLesson(1);
    if (mode != 0) {
        ClearGameLog();
        GetSpellStack().Reset(online ? 0 : 1);
        GetSpellStack().OpenWindow();
    }
    ClearPerGameWords();
    GetRaster()->SetActive(true);
}

void FillPhaseNames(bool online)
{
    // The phase bar draws the display's names.
    const auto& keys = online ? ONLINE_PHASES : PHYSICAL_PHASES;
    GameDisplay& display = *GetGameDisplay();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        CopyPhaseName(display.m_PhaseNames[i], keys[i]);
    }
}

void RefreshMousePosition()
{
    plat::GetCursorPos(MouseState.x, MouseState.y);
}

void GetGUICursorPos(int& x, int& y)
{
    x = MouseState.x;
    y = MouseState.y;
}

LoopPass MainLoopPass()
{
    if (IsQuitRequested())
        return LoopPass::Quit;
    if (plat::TakeRaiseRequest()) {
        // A second copy was started: this one comes to the front instead.
        plat::ShowMainWindow(true);
        plat::RaiseMainWindow();
    }
    plat::Event event;
    if (plat::PollEvent(event)) {
        SetActivity(LoopWork::Event, static_cast<int>(event.type));
        MainWndProc(event);
        return LoopPass::Dispatched;
    }
    if (s_bAppActive == 0)
        return LoopPass::Idle;
    SetActivity(LoopWork::FrameTick, s_FrameCounter);
    UpdateStream();
    if (s_RequestedGameMode != s_GameMode) {
        SetActivity(LoopWork::SceneLoad, s_RequestedGameMode);
        SwitchScene();
    }
    if (IsQuitRequested() || !GetRaster()->IsReady())
        return LoopPass::Idle;
    SetActivity(LoopWork::FrameTick, s_FrameCounter);
    FrameTick();
    return LoopPass::Ticked;
}

namespace {

// One pass with what drives it; false once the quit request ended the loop.
bool DrivenPass(MainLoopDriver* driver)
{
    SetActivity(LoopWork::Driver, s_FrameCounter);
    if (driver != nullptr)
        driver->BeforePass(s_FrameCounter);
    const int frame = s_FrameCounter;
    const LoopPass pass = MainLoopPass();
    if (pass == LoopPass::Quit)
        return false;
    SetActivity(LoopWork::Driver, frame);
    if (pass == LoopPass::Ticked && driver != nullptr)
        driver->AfterTick(frame);
    if (pass == LoopPass::Idle && s_bAppActive == 0) {
        SetActivity(LoopWork::Waiting, 0);
        if (driver != nullptr) {
            if (!driver->Wait())
                PostQuitMessage(0);
        } else {
            plat::Event event;
            if (plat::WaitEvent(event)) {
                SetActivity(LoopWork::Event, static_cast<int>(event.type));
                MainWndProc(event);
            } else {
                PostQuitMessage(0);  // nothing can wake the loop any more
            }
        }
    }
    return true;
}

} // namespace

// An exception that reaches the loop ends the run as a quit request would: the shutdown that follows still saves
// the settings and statistics.
void RunMainLoop(MainLoopDriver* driver)
{
    try {
        while (DrivenPass(driver)) {
        }
    } catch (const std::exception& error) {
        plat::OutputDebugStringA("Tessel: stopped by an exception (" + DescribeException(error) + ") in " +
                                 DescribeActivity() + "\n");
        PostQuitMessage(EXCEPTION_EXIT_CODE);
    }
}

std::string DescribeException(const std::exception& error)
{
    const char* const mangled = typeid(error).name();
    int status = 0;
    char* const demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string type = status == 0 && demangled != nullptr ? demangled : mangled;
    std::free(demangled);
    return type + ": " + error.what();
}
