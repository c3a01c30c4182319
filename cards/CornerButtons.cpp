// The display's own corner buttons: Back and Exit on the menus, the quit button with its warning in games.
#include "cards/CornerButtons.h"
#include "cards/TableReset.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Manager.h"

namespace {

constexpr int BUTTON_BACK = 0;
constexpr int BUTTON_EXIT = 2;
constexpr int BUTTON_QUIT = 4;
constexpr int STATE_PRESSED = 2;
constexpr int WARNING_WIDTH = 350;
constexpr int WARNING_HEIGHT = 200;

int s_WarningId = -1;
bool s_WarningFirstShow = true;

bool Contains(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

int LaunchMode()
{
    const RegistrySettings* const settings = GetRegistrySettings();
    return settings != nullptr ? settings->GetInt(u"launchmode") : 0;
}

void ResetHoverState(GameDisplay& display)
{
    (void)display;
    if (Raster* const raster = GetRaster())
        raster->Invalidate();
}

// 0 while unanswered, 2 No, anything else Yes.
int QuitWarningAnswer(GameDisplay& display)
{
    const auto [id, answer] = display.GetLastButtonEvent();
    if (s_WarningId >= 0 && id == s_WarningId && answer != 0) {
        s_WarningId = -1;
        return answer;
    }
    // Centred on the client area.
    const int x = (s_ClientWidth - WARNING_WIDTH) / 2;
    const int y = (s_ClientHeight - WARNING_HEIGHT) / 2;
    // A missing text still asks: an empty request would be refused and the quit button would do nothing.
    const char16_t* const text = GetString(u"QuitGameWarning");
    // Button mode 2 reads no library player: the first-show flag has no further use here.
    s_WarningId = display.AddMessageWindow(2, 1000, text != nullptr ? text : u"QuitGameWarning", WARNING_WIDTH,
                                           WARNING_HEIGHT, nullptr, true, x, y, 2, u"psyesno", u"psyesmo",
                                           u"psnomo", 30, 0, 0);
    s_WarningFirstShow = false;
    return 0;
}

} // namespace

// The display's quit flags are the only ones: the drivers, the intro and the coin toss wait on them.
bool IsQuitPromptPending()
{
    return GetGameDisplay()->m_bQuitPromptOpen;
}

void ClearQuitPrompt()
{
    GameDisplay& display = *GetGameDisplay();
    display.m_bQuitPromptOpen = false;
    display.m_bQuitConfirmed = false;
    s_WarningId = -1;
    s_WarningFirstShow = true;
}

void GameDisplay::UpdateCornerButtons()
{
    // Screen 3 is a page of its own, left as a splash page is left.
    if (m_ScreenId < 5 && m_ScreenId != 3 && !IsOnlineLesson())
        return;
    GUI_Manager* const manager = GetGUIManager();
    const bool underWindow = manager != nullptr && manager->GetWindowAt(MouseState.x, MouseState.y) != nullptr;
    for (std::size_t i = 0; i < m_CornerButtonRects.size(); ++i) {
        const bool over = !underWindow && Contains(m_CornerButtonRects[i], MouseState.x, MouseState.y);
        m_CornerButtonStates[i] = over ? (MouseState.leftHeld != 0 ? STATE_PRESSED : 1) : 0;
    }
    if (m_bQuitPromptOpen) {
        const int answer = QuitWarningAnswer(*this);
        if (answer == 0)
            return;
        MouseState.leftHeld = 0;
        s_WarningFirstShow = true;
        if (answer == 2) {
            m_bQuitPromptOpen = false;
            return;
        }
        m_CornerButtonStates[BUTTON_QUIT] = STATE_PRESSED;
        m_bQuitConfirmed = true;
    }
    if (m_CornerButtonStates[BUTTON_QUIT] == STATE_PRESSED && m_SceneTag == 1) {
        if (!m_bQuitPromptOpen) {
            m_bQuitPromptOpen = true;
        } else {
            ClearQuitPrompt();
            ResetTable(0);
            m_SceneTag = 0;
            ResetHoverState(*this);
        }
    }
    const int launchMode = LaunchMode();
    if (m_SceneTag == 0) {
        if (launchMode == 1 && m_CornerButtonStates[BUTTON_BACK] == STATE_PRESSED) {
            StopVoiceQueue();
            SetScreen(m_ReturnScreenId, false);
            SetReturnScreen(1);
            MouseState.leftHeld = 0;
            ResetHoverState(*this);
        }
        if (m_CornerButtonStates[BUTTON_EXIT] == STATE_PRESSED) {
            StopVoiceQueue();
            if (launchMode == 1) {
                SetScreen(1, false);
                SetReturnScreen(1);
            } else {
                PostQuitMessage(0);
            }
        }
        if (launchMode == 0)
            m_CornerButtonStates[BUTTON_BACK] = STATE_PRESSED;
        Raster* const raster = GetRaster();
        for (std::size_t i = 0; i < m_CornerButtonImages.size() && raster != nullptr; ++i) {
            const auto& images = m_CornerButtonImages[i];
            if (images[0] == -1)
                continue;
            const int image = images[static_cast<std::size_t>(m_CornerButtonStates[i])];
            const RasterRect& r = m_CornerButtonRects[i];
            raster->DrawTextureEx(image, static_cast<float>(r.left), static_cast<float>(r.top),
                                  static_cast<float>(r.right), static_cast<float>(r.bottom), 19999.0f,
                                  PRIM_COLOR_KEY);
        }
    }
}

void GameDisplay::PlaceCornerButtons()
{
    const Raster* const raster = GetRaster();
    const int image = m_CornerButtonImages[BUTTON_BACK][0];
    const int width = raster != nullptr && image >= 0 ? raster->GetTextureWidth(image) : 0;
    const int height = raster != nullptr && image >= 0 ? raster->GetTextureHeight(image) : 0;
    const RasterRect& column = GetZoneRectByIndex(44);
    m_CornerButtonRects[BUTTON_BACK] = RasterRect{column.left, column.top + 8, column.left + width, column.top + 8 + height};
    const int exitTop = m_CornerButtonRects[BUTTON_BACK].bottom + 3;
    m_CornerButtonRects[BUTTON_EXIT] = RasterRect{column.left, exitTop, column.left + width, exitTop + height};
    const bool game = m_SceneTag == 1;
    m_CornerButtonRects[3] = GetZoneRectByIndex(game ? 11 : 43);
    m_CornerButtonRects[BUTTON_QUIT] = GetZoneRectByIndex(game ? 10 : 42);
}
