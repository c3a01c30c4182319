// Dorvane, the disc's launcher: one fixed window of picture buttons in two menus (the main menu and the
// language-pack menu) that installs, uninstalls and starts Tessel, runs language-pack installers and opens the
// disc folder. It runs from the disc folder (its current folder) and shares with Tessel only the settings
// store's InstallPath and InstallLang and the file names.
#pragma once

#include "launcher/LauncherButton.h"
#include "launcher/LauncherLanguage.h"
#include "launcher/LauncherStringTable.h"

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int LAUNCHER_WIDTH = 795;
constexpr int LAUNCHER_HEIGHT = 580;
constexpr int LAUNCHER_BUTTONS = 8;
constexpr char16_t LAUNCHER_TITLE[] = u"Dorvane";
// The most units of the data language's name the install prompt shows.
constexpr std::size_t LANGUAGE_NAME_MAX = 32;

enum LauncherMenu { MENU_MAIN = 0, MENU_LANGUAGE = 1 };
enum MainMenuButton { MAIN_INSTALL, MAIN_UNINSTALL, MAIN_PLAY, MAIN_LANGUAGE_PACKS, MAIN_BROWSE, MAIN_EXIT };
// Language-menu buttons 0-6 are the packs; 7 goes back.
constexpr int LANGUAGE_PACKS = 7;
constexpr int LANGUAGE_BACK = 7;

// The file on this platform of a program the menus name ("tessel.exe" is Tessel, ...).
std::u16string_view LauncherProgramFile(std::u16string_view name);
// The Chinese pack is offered from Windows 2000 on, or when the data language is Chinese.
bool ChinesePackOffered(bool windows2000OrLater, int dataLanguage);

class Launcher {
public:
    Launcher();
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Start-up up to the window; false when the launcher stops at once (another one runs, no window).
    bool Start();
    // The message loop: until the window is destroyed (or, headless, the events run out). The quit code.
    int Run();
    void HandleEvent(const plat::Event& event);
    // Draws what was invalidated and shows the frame.
    void Paint();

    bool IsRunning() const { return m_bRunning; }
    int GetMenuState() const { return m_MenuState; }
    bool IsInstalled() const { return m_bInstalled; }
    int GetHovered() const { return m_Hovered; }
    int GetPressed() const { return m_Pressed; }
    // Null for an empty slot.
    const LauncherButton* GetButton(int menu, int index) const;
    LauncherLanguages GetLanguages() const { return {m_UiLanguage, m_DataLanguage}; }
    const std::u16string& GetDiscFolder() const { return m_DiscFolder; }
    const std::u16string& GetDataLanguageFolder() const { return m_DataLanguageFolder; }
    const std::u16string& GetUninstallFolder() const { return m_UninstallFolder; }
    const std::vector<std::uint32_t>& GetFrame() const { return m_Frame; }

private:
    void CreateLauncherButtons();
    void EnterMenuState(int state);
    void ProbeInstallations();
    void ProbeLanguagePacks();
    void LauncherOnMouseMove(int x, int y);
    // Hovered and pressed forgotten and the stored pointer hit again, after the menu or the window changed.
    void HitStoredPointer();
    void LauncherPaintBackground(const LauncherRect& rect);
    void LauncherPaintButtons(const LauncherRect& rect);
    void OnLauncherButton(int index);
    void OnLanguagePack(int index);
    bool LauncherMessageBox(std::u16string_view text, bool ask) const;
    void ShowError(std::u16string_view text) const;
    void ShowStartFailure(std::u16string_view program) const;
    void DestroyLauncherWindow();
    void LauncherShutdown();

    LauncherBitmap LoadOwnBitmap(int id) const;
    LauncherBitmap LoadLibraryBitmap(int id) const;
    void Invalidate(const LauncherRect& rect);
    void InvalidateAll();
    void Blit(const RasterBitmap& bitmap, int left, int top, const LauncherRect& clip);
    LauncherButton* ButtonAt(int menu, int index);
    std::u16string Text(std::u16string_view key) const;

    std::u16string m_DiscFolder;
    std::u16string m_InstallPath;
    bool m_bInstalled = false;
    std::u16string m_UninstallFolder;
    std::u16string m_DataLanguageFolder;
    std::u16string m_ResourceFolder;
    int m_UiLanguage = LAUNCHER_ENGLISH;
    int m_DataLanguage = LAUNCHER_ENGLISH;
    std::u16string m_DataLanguageKey;

    LauncherBitmap m_Background;
    LauncherBitmap m_Title;
    int m_MenuState = MENU_MAIN;
    int m_MouseX = -1;
    int m_MouseY = -1;
    int m_Hovered = -1;
    int m_Pressed = -1;
    std::unique_ptr<LauncherButton> m_Buttons[2][LAUNCHER_BUTTONS];
    LauncherStringTable m_Strings;
    std::vector<std::uint8_t> m_ClickSound;

    // The client area as drawn, and the part of it to draw again.
    std::vector<std::uint32_t> m_Frame;
    std::vector<std::uint16_t> m_Present;
    LauncherRect m_Dirty;
    bool m_bRunning = false;
    bool m_bLocked = false;
};

// The program: start-up, the message loop, 0 at the end.
int RunLauncher();
