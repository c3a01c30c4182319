// The base of every menu screen and menu overlay: a toolkit screen loaded from a layout file that plays its
// buttons' click effect, remembers the rectangle each window was designed at and lays its windows out again for
// the window size by their anchor and stretch bytes.
#pragma once

#include "gui/GUI_Interface.h"

#include <string_view>

class GUI_Window;

// The click effect every menu button plays (loaded by the sound start-up).
constexpr int MENU_CLICK_EFFECT = 30;

class GameInterface : public GUI_Interface {
public:
    GameInterface() = default;
    ~GameInterface() override;

    bool HandleInput(const GUI_InputEvent& event) override;
    void OnLoaded() override;
    void OnWindowAdded(GUI_Window* window) override;
    void Refresh() override;
    void OnResize(int width, int height) override;

    // Union of the top-level windows' rectangles as loaded.
    int m_DesignLeft = 0;
    int m_DesignTop = 0;
    int m_DesignRight = 0;
    int m_DesignBottom = 0;

protected:
    // The sender's click effect at full volume (the handlers play it before they act).
    static void PlayClickEffect(const GUI_InputEvent& event);
    // A command event whose sender's name equals name without regard to case.
    static bool SenderIs(const GUI_InputEvent& event, std::u16string_view name);
    // A command event whose sender's name begins with prefix without regard to case.
    static bool SenderStartsWith(const GUI_InputEvent& event, std::u16string_view prefix);
    static bool IsCommand(const GUI_InputEvent& event);
    // Back to the return screen, which becomes the main menu.
    static void GoBack();
    // Every window, breadth-first: the top-level ones in list order, then their children by index.
    template <typename Visit>
    void ForEachWindow(Visit visit) const;
};

// The raster's screen size (0 by 0 without a raster).
void GetScreenSize(int& width, int& height);
