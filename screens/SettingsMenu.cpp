#include "screens/SettingsMenu.h"

#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/PhaseStops.h"
#include "gamestate/SettingsMenu.h"
#include "gamestate/TableFlowState.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "rules/TableSelection.h"
#include "screens/SettingsMenuStops.h"

#include <array>
#include <string>

namespace {

constexpr int MENU_WIDTH = 580;
constexpr int MENU_HEIGHT = 480;
constexpr float MENU_DEPTH = 1.0f;

constexpr int EXPLANATION_CHANNEL = 5;
constexpr int EXPLANATION_PRIORITY = 100;
constexpr int EXPLANATION_WIDTH = 360;
constexpr int EXPLANATION_HEIGHT = 240;
constexpr int EXPLANATION_LEFT = 110;
constexpr int CLICK_EFFECT = 30;

// The grid of marks: one column per player, one 28-pixel row per step.
constexpr std::array<int, PHASE_STOP_PLAYERS> COLUMN_LEFT = {29, 187};
constexpr int MARK_SIZE = 28;
constexpr int GRID_TOP = 108;
constexpr int GRID_BOTTOM = 415;

// The zones of the table: the menu opens over the two halves of the play area, never over the players' panels.
constexpr int ZONE_UPPER_HALF = 12;
constexpr int ZONE_LOWER_HALF = 13;
constexpr std::array<int, 4> PANEL_ZONES = {2, 3, 6, 7};

enum MenuButton { BUTTON_NONE = 0, BUTTON_OK = 1, BUTTON_CANCEL = 2, BUTTON_DEFAULTS = 3 };

struct ButtonArea {
    int left;
    int top;
    int right;
    int bottom;
    MenuButton button;
};

// Tested in this order; bounds inclusive, relative to the panel.
constexpr std::array<ButtonArea, 4> BUTTON_AREAS = {{
    {287, 441, 367, 464, BUTTON_OK},
    {381, 441, 471, 464, BUTTON_CANCEL},
    {557, 3, 571, 16, BUTTON_CANCEL},
    {193, 441, 282, 464, BUTTON_DEFAULTS},
}};

bool Inside(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool& MenuOpen()
{
    return GetTableSelection().settingsMenuOpen;
}

RasterRect ScreenRect()
{
    RasterRect screen;
    if (Raster* const raster = GetRaster())
        raster->GetScreenRect(screen);
    return screen;
}

int ScreenWidth()
{
    return ScreenRect().Width();
}

int ScreenHeight()
{
    return ScreenRect().Height();
}

// Centred on the screen, moved right by half the play area's margin when the panel still fits.
void PlaceMenu(SettingsMenuState& menu)
{
    const int margin = GetGameDisplay()->GetZoneRectByIndex(ZONE_UPPER_HALF).left;
    menu.x = (ScreenWidth() - MENU_WIDTH) / 2 + margin / 2;
    if (menu.x + MENU_WIDTH > ScreenWidth())
        menu.x -= margin / 2;
    menu.y = (ScreenHeight() - MENU_HEIGHT) / 2;
}

void DrawSquare(int texture, int x, int y, int width, int height)
{
    GetRaster()->DrawTexture(texture, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + width),
                             static_cast<float>(y + height), MENU_DEPTH, 0);
}

// Message windows stand behind the panel's depth: the explanation's window is brought to it, and being drawn after
// the panel it shows in front.
void BringExplanationForward(GameDisplay& display)
{
    OldDialog* const dialog = display.GetMessageDialog(EXPLANATION_CHANNEL);
    dialog->SetDepth(MENU_DEPTH);
    if (OldButton* const ok = dialog->GetButtonA())
        ok->SetDepth(MENU_DEPTH);
}

// True while the explanation box stands in front of the menu (posted again this frame).
bool KeepExplanationUp(SettingsMenuState& menu)
{
    if (!menu.explaining)
        return false;
    GameDisplay* const display = GetGameDisplay();
    const auto [repliedId, clicked] = display->GetLastButtonEvent();
    if (menu.explanationBoxId >= 0 && repliedId == menu.explanationBoxId && clicked != 0) {
        menu.explanationBoxId = -1;
        menu.explaining = false;
        menu.placeExplanation = true;
        return false;
    }
    menu.explanationBoxId = display->AddMessageWindow(
        EXPLANATION_CHANNEL, EXPLANATION_PRIORITY, GetString(u"GSM_EXPLAIN_SETTINGS"), EXPLANATION_WIDTH,
        EXPLANATION_HEIGHT, nullptr, menu.placeExplanation, menu.x + EXPLANATION_LEFT,
        (ScreenHeight() - EXPLANATION_HEIGHT) / 2, 1, u"psok", u"psokmo", nullptr, CLICK_EFFECT, 0, 0);
    menu.placeExplanation = false;
    BringExplanationForward(*display);
    return true;
}

void RunOpenMenu(SettingsMenuState& menu)
{
    PlaceMenu(menu);
    DrawSquare(menu.panelTexture, menu.x, menu.y, MENU_WIDTH, MENU_HEIGHT);
    if (KeepExplanationUp(menu))
        return;
    HandlePhaseStopClicks();
    PhaseStopTable& stops = GetPhaseStops();
    switch (HitSettingsMenuButton()) {
    case BUTTON_OK:
        stops.inUse = stops.edited;
        MenuOpen() = false;
        break;
    case BUTTON_CANCEL:
        MenuOpen() = false;
        break;
    case BUTTON_DEFAULTS:
        SetDefaultPhaseStops(s_GameMode, false);
        break;
    default:
        break;
    }
}

// A right press on the bare play area opens the menu; the first openings of the basic game explain it first.
void OpenOnRightPress(SettingsMenuState& menu)
{
    if (GetTableInput().pointedCard != nullptr || MouseState.rightClicked == 0)
        return;
    const GameDisplay& display = *GetGameDisplay();
    const int x = MouseState.x;
    const int y = MouseState.y;
    if (!Inside(display.GetZoneRectByIndex(ZONE_UPPER_HALF), x, y) &&
        !Inside(display.GetZoneRectByIndex(ZONE_LOWER_HALF), x, y))
        return;
    for (const int zone : PANEL_ZONES) {
        if (Inside(display.GetZoneRectByIndex(zone), x, y))
            return;
    }
    MenuOpen() = IsOnlineLesson();
    MouseState.rightClicked = 0;
    if (MenuOpen() && menu.explanationsLeft > 0) {
        menu.explaining = true;
        --menu.explanationsLeft;
    }
}

std::u16string MarkTextureName(int player, int step)
{
    const std::string name = "gsm_button" + std::to_string(player) + "-" + std::to_string(step);
    return std::u16string(name.begin(), name.end());
}

} // namespace

void ShowSettingsExplanation()
{
    if (!GetTableFlow().gameStarted)
        return;
    SettingsMenuState& menu = GetSettingsMenu();
    if (!menu.setUp) {
        InitSettingsMenu();
        return;
    }
    if (IsPhysicalLesson())
        return;
    if (MenuOpen())
        RunOpenMenu(menu);
    else
        OpenOnRightPress(menu);
}

void InitSettingsMenu()
{
    SettingsMenuState& menu = GetSettingsMenu();
    if (s_GameMode == 3)
        menu.explanationsLeft = 2;
    menu.explaining = false;
    if (IsOnlineLesson()) {
        menu.panelTexture = GetTextureByName(u"gsm_menu");
        for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
            for (int step = 0; step < PHASE_STOP_STEPS; ++step)
                menu.markTextures[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)] =
                    GetTextureByName(MarkTextureName(player, step));
        }
    }
    SetDefaultPhaseStops(s_GameMode, true);
    menu.setUp = true;
}

void HandlePhaseStopClicks()
{
    const SettingsMenuState& menu = GetSettingsMenu();
    PhaseStopTable& stops = GetPhaseStops();
    if (MouseState.leftClicked != 0) {
        const int x = MouseState.x;
        const int y = MouseState.y;
        int player = -1;
        for (int column = 0; column < PHASE_STOP_PLAYERS && player < 0; ++column) {
            const int left = menu.x + COLUMN_LEFT[static_cast<std::size_t>(column)];
            if (x >= left && x <= left + MARK_SIZE)
                player = column;
        }
        if (player >= 0 && y >= menu.y + GRID_TOP && y <= menu.y + GRID_BOTTOM) {
            const int step = (y - menu.y - GRID_TOP) / MARK_SIZE;
            if (!IsPhaseStopLocked(player, step)) {
                std::uint8_t& mark = stops.edited[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)];
                mark = mark != 0 ? 0 : 1;
            }
            MouseState.leftClicked = 0;
        }
    }
    for (int player = 0; player < PHASE_STOP_PLAYERS; ++player) {
        for (int step = 0; step < PHASE_STOP_STEPS; ++step) {
            if (stops.edited[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)] == 0)
                continue;
            DrawSquare(menu.markTextures[static_cast<std::size_t>(player)][static_cast<std::size_t>(step)],
                       menu.x + COLUMN_LEFT[static_cast<std::size_t>(player)], menu.y + GRID_TOP + MARK_SIZE * step,
                       MARK_SIZE, MARK_SIZE);
        }
    }
}

int HitSettingsMenuButton()
{
    if (MouseState.leftClicked == 0)
        return BUTTON_NONE;
    const SettingsMenuState& menu = GetSettingsMenu();
    const int x = MouseState.x - menu.x;
    const int y = MouseState.y - menu.y;
    for (const ButtonArea& area : BUTTON_AREAS) {
        if (x >= area.left && x <= area.right && y >= area.top && y <= area.bottom) {
            MouseState.leftClicked = 0;
            return area.button;
        }
    }
    return BUTTON_NONE;
}
