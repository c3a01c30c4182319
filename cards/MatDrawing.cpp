// The per-frame drawing of the mat, the screen frame and the GUI screens, and the display's small drawing helpers.
#include "cards/CardWindows.h"
#include "cards/PlayerHud.h"
#include "cards/TableDrawing.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

constexpr float DEPTH_BACKDROP = 19999.0f;
constexpr float DEPTH_PHASE_BACKGROUND = 19990.0f;
constexpr float DEPTH_PANELS = 19980.0f;
constexpr float DEPTH_CARD_PLATE = 19900.0f;
constexpr float DEPTH_TURN_GLOW = 1000.0f;
constexpr float DEPTH_GRAVE_LIST = 500.0f;
constexpr float DEPTH_GRAVE_FRAME = 400.0f;
constexpr int TEXT_DEPTH_DEFAULT = 19999;

float F(int value)
{
    return static_cast<float>(value);
}

bool GateOrFinished(int gate)
{
    return IsIntroFinished() || IntroGate(gate);
}

// The physical lesson sets the game-begun byte when its intro is finished.
bool IsGameBegun()
{
    return IsIntroFinished();
}

int TextureWidth(int texture)
{
    const Raster* const raster = GetRaster();
    return raster != nullptr && texture >= 0 ? raster->GetTextureWidth(texture) : 0;
}

int TextureHeight(int texture)
{
    const Raster* const raster = GetRaster();
    return raster != nullptr && texture >= 0 ? raster->GetTextureHeight(texture) : 0;
}

bool Contains(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

bool TakeClickInside(const RasterRect& rect)
{
    if (MouseState.leftClicked == 0 || !Contains(rect, MouseState.x, MouseState.y))
        return false;
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
    return true;
}

void Tile(int texture, int left, int top, int right, int bottom, float depth, std::uint32_t flags = 0)
{
    if (texture >= 0)
        GetRaster()->DrawTextureTiled(texture, F(left), F(top), F(right), F(bottom), depth, flags);
}

void Stretch(int texture, const RasterRect& r, float depth, std::uint32_t flags = 0,
             const RasterRect* source = nullptr)
{
    if (texture >= 0)
        GetRaster()->DrawTextureEx(texture, F(r.left), F(r.top), F(r.right), F(r.bottom), depth, flags, source);
}

void Into(int texture, const RasterRect& r, float depth, std::uint32_t flags = 0)
{
    if (texture >= 0)
        GetRaster()->DrawTexture(texture, F(r.left), F(r.top), F(r.right), F(r.bottom), depth, flags);
}

enum class ZoneRule { A, B, C };

// Rule A knows kinds 2, 4 and 8; rule B also stretches kind 1; rule C never tiles.
void DrawZone(const GameDisplay& display, int zone, ZoneRule rule, float depth)
{
    const int image = display.GetZoneImage(zone);
    const int kind = display.GetZoneKind(zone);
    if (image == -1 || kind == 0)
        return;
    const RasterRect& r = display.GetZoneRectByIndex(zone);
    if (rule == ZoneRule::C) {
        if (kind == 1)
            Stretch(image, r, depth);
        else
            Into(image, r, depth, kind == 8 ? PRIM_COLOR_KEY : 0);
        return;
    }
    switch (kind) {
    case 1:
        if (rule == ZoneRule::B)
            Stretch(image, r, depth);
        break;
    case 2:
        Tile(image, r.left, r.top, r.right, r.bottom, depth);
        break;
    case 4:
        Into(image, r, depth);
        break;
    case 8:
        Into(image, r, depth, PRIM_COLOR_KEY);
        break;
    default:
        break;
    }
}

int LibraryLeft(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? std::max(record->m_LibraryCount - record->m_NextDrawIndex, 0) : 0;
}

void DrawLibraryPiles(GameDisplay& display)
{
    const RasterRect& playerMat = display.GetZoneRectByIndex(1);
    const RasterRect& opponentMat = display.GetZoneRectByIndex(0);
    const int human = LibraryLeft(PLAYER_HUMAN);
    if (IntroGate(13) && human > 0)
        display.DrawPile(human, playerMat.left + 137, playerMat.top + 11, DEPTH_BACKDROP, -1);
    const int cpu = LibraryLeft(PLAYER_CPU);
    if (IntroGate(14) && cpu > 0)
        display.DrawPile(cpu, opponentMat.left + 80, opponentMat.top + 9, DEPTH_BACKDROP, -1);
}

void DrawOnlineStatusPanel(const GameDisplay& display)
{
    const RasterRect& zone = display.GetZoneRectByIndex(7);
    const bool allGates = IntroGate(20) && IntroGate(21) && IntroGate(22) && IntroGate(23);
    if (!IsIntroFinished() && !allGates) {
        int stage = 0;
        if (IntroGate(22))
            stage = 3;
        else if (IntroGate(21))
            stage = 2;
        else if (IntroGate(20))
            stage = 1;
        Stretch(display.m_ManaStatus[static_cast<std::size_t>(stage)], zone, DEPTH_BACKDROP);
        return;
    }
    if (display.GetZoneImage(7) != -1)
        Stretch(display.GetZoneImage(7), zone, DEPTH_BACKDROP);
}

void DrawTurnGlow(const GameDisplay& display)
{
    const RasterRect& status7 = display.GetZoneRectByIndex(7);
    const RasterRect& panel3 = display.GetZoneRectByIndex(3);
    const RasterRect& panel2 = display.GetZoneRectByIndex(2);
    const RasterRect& status6 = display.GetZoneRectByIndex(6);
    if (!s_CpuTurn) {
        if (s_HumanTurn && GateOrFinished(15)) {
            const RasterRect side{status7.left, status7.top, status7.right, panel3.bottom};
            Stretch(display.GetZoneImage(5), side, DEPTH_TURN_GLOW, PRIM_COLOR_KEY);
        }
    } else if (GateOrFinished(15)) {
        const RasterRect side{panel2.left, panel2.top, status6.right, status6.bottom};
        Stretch(display.GetZoneImage(4), side, DEPTH_TURN_GLOW, PRIM_COLOR_KEY);
    }
}

void DrawMarginStrip(const GameDisplay& display, std::u16string_view name, int zone)
{
    const int image = GetTextureByName(name);
    const RasterRect& half = display.GetZoneRectByIndex(zone);
    const int width = TextureWidth(image);
    const RasterRect source{width - half.left, 0, width, TextureHeight(image)};
    Stretch(image, RasterRect{0, half.top, half.left, half.bottom}, DEPTH_BACKDROP, 0, &source);
}

void DrawPhysicalTable(GameDisplay& display)
{
    const RasterRect& panel2 = display.GetZoneRectByIndex(2);
    const int opponentBg = GetTextureByName(u"opponentbg");
    display.m_OpponentBackgroundRect = RasterRect{panel2.right, panel2.top, panel2.right + TextureWidth(opponentBg),
                                                  panel2.top + TextureHeight(opponentBg)};
    // The CPU's hand of card backs and its count lie on that background.
    display.m_CpuHandRect = display.m_OpponentBackgroundRect;
    int phaseImage = -1;
    if (IntroGate(15))
        phaseImage = GetTextureByName(s_CpuTurn ? u"phasebg_silver" : u"phasebg_gold");
    else if (IntroGate(8))
        phaseImage = GetTextureByName(u"phasebg_gold");
    Stretch(phaseImage, display.m_PhaseBackground, DEPTH_PHASE_BACKGROUND);
    if (IntroGate(15) || IntroGate(9)) {
        display.DrawTexture(opponentBg, F(panel2.left), F(panel2.top), DEPTH_BACKDROP, 1, 0);
        display.DrawTexture(GetTextureByName(u"cardbg"), F(display.m_PreviewRect.left - 5),
                            F(display.m_PreviewRect.top - 6), DEPTH_CARD_PLATE, 0, 0);
    }
    const RasterRect& bottom = display.GetZoneRectByIndex(37);
    Tile(GetTextureByName(u"gbottile"), bottom.left, bottom.top, bottom.right, bottom.bottom, DEPTH_BACKDROP);
    if (!s_CpuTurn) {
        display.SetStatusPanelImage(GetTextureByName(u"manabar1"), 1, false);
        display.SetStatusPanelImage(GetTextureByName(u"manabarG2"), 0, false);
    } else {
        if (IntroGate(15))
            display.DrawFrameAroundRect(panel2, DEPTH_PANELS, display.MakeColor(0, 255, 0, 255), false, 2);
        display.SetStatusPanelImage(GetTextureByName(u"manabarG1"), 1, false);
        display.SetStatusPanelImage(GetTextureByName(u"manabar2"), 0, false);
    }
    if (!(IntroGate(9) && IntroGate(8))) {
        DrawMarginStrip(display, u"BG_silver", 12);
        DrawMarginStrip(display, u"BG_gold", 13);
    }
}

void DrawTableZones(const GameDisplay& display, bool online)
{
    if (display.m_SceneTag == 0) {
        for (int zone = 42; zone <= 53; ++zone)
            DrawZone(display, zone, ZoneRule::B, DEPTH_BACKDROP);
        return;
    }
    for (int zone = online ? 10 : 12; zone <= 35; ++zone) {
        if (zone != 15) {
            DrawZone(display, zone, ZoneRule::B, DEPTH_BACKDROP);
            continue;
        }
        if (!GateOrFinished(25))
            continue;
        // On the CPU's turn the caption takes the image of zone 16.
        if (IsGameBegun() && !s_HumanTurn) {
            const RasterRect& r = display.GetZoneRectByIndex(15);
            Tile(display.GetZoneImage(16), r.left, r.top, r.right, r.bottom, DEPTH_BACKDROP);
        } else {
            DrawZone(display, zone, ZoneRule::B, DEPTH_BACKDROP);
        }
    }
}

void PhysicalGraveyardClicks(const GameDisplay& display)
{
    GUI_Manager* const manager = GetGUIManager();
    const auto tryPile = [&](const RasterRect& pile, int player) {
        if (MouseState.leftClicked == 0 || !Contains(pile, MouseState.x, MouseState.y))
            return;
        if (manager != nullptr && manager->GetWindowAt(MouseState.x, MouseState.y) != nullptr)
            return;
        MouseState.leftClicked = 0;
        MouseState.clickConsumed = 1;
        ToggleGraveyardDialog(player);
    };
    RasterRect pile;
    display.GetOpponentGraveyardRect(pile, true);
    tryPile(pile, PLAYER_CPU);
    display.GetPlayerGraveyardRect(pile, true);
    tryPile(pile, PLAYER_HUMAN);
}

// Online the lists are the display's open bytes; a dialog over a pile keeps its own clicks.
void OnlineGraveyardClicks(GameDisplay& display)
{
    GUI_Manager* const manager = GetGUIManager();
    if (manager != nullptr && manager->GetWindowAt(MouseState.x, MouseState.y) != nullptr)
        return;
    const float s = display.m_MatScale;
    const auto tryPile = [&](int player, MatPoint at) {
        const RasterRect hot{at.x, at.y, static_cast<int>(F(at.x) + 40.0f * s), static_cast<int>(F(at.y) + 50.0f * s)};
        // The same open byte hides the owner's table cards and lays out the list's cascade.
        if (TakeClickInside(hot))
            ToggleGraveyardDialog(player);
    };
    tryPile(PLAYER_CPU, display.m_PilePoints[5]);
    tryPile(PLAYER_HUMAN, display.m_PilePoints[2]);
}

void DrawOnlineGraveyardList(GameDisplay& display, int player, int firstZone)
{
    const RasterRect& z = display.GetZoneRectByIndex(firstZone);
    const int l = z.left;
    const int t = z.top;
    const int r = z.right;
    const int b = z.bottom;
    const auto image = [&](int offset) { return display.GetZoneImage(firstZone + offset); };
    Tile(image(0), l, t, r, b, DEPTH_GRAVE_LIST);
    Tile(image(1), l, t, r, t + 22, DEPTH_GRAVE_FRAME);
    Tile(image(2), l, b - 11, r, b, DEPTH_GRAVE_FRAME);
    Tile(image(3), l, t, l + 11, b, DEPTH_GRAVE_FRAME);
    Tile(image(4), r - 11, t, r, b, DEPTH_GRAVE_FRAME);
    Into(image(5), RasterRect{l, t, l + 23, t + 41}, DEPTH_GRAVE_FRAME, PRIM_COLOR_KEY);
    Into(image(6), RasterRect{r - 23, t, r, t + 41}, DEPTH_GRAVE_FRAME, PRIM_COLOR_KEY);
    Into(image(7), RasterRect{l, b - 11, l + 14, b}, DEPTH_GRAVE_FRAME);
    Into(image(8), RasterRect{r - 14, b - 11, r, b}, DEPTH_GRAVE_FRAME);
    const RasterRect close{r - 43, t, r - 23, t + 20};
    Raster* const raster = GetRaster();
    raster->SetDepth(400);
    const bool over = Contains(close, MouseState.x, MouseState.y);
    raster->DrawText(u"X", close, 4, 2, over ? 255u : 159u, true);
    if (over && TakeClickInside(close))
        CloseGraveyardDialog(player);
    raster->SetDepth(TEXT_DEPTH_DEFAULT);
}

} // namespace

bool IsStackRowShown()
{
    return GateOrFinished(24);
}

void GameDisplay::DrawMatAndHud()
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    if (m_RelayoutRequested) {
        if (!m_LayoutDone) {
            LayoutPlayMat();
            raster->Invalidate();
            m_LayoutDone = true;
            m_TableLaidOut = true;
        } else {
            m_RelayoutRequested = false;
            m_LayoutDone = false;
        }
    }
    if (m_SceneTag == 1 && s_bAppActive != 0)
        raster->Invalidate();
    GUI_Manager* const manager = GetGUIManager();
    if (manager != nullptr)
        manager->Draw();

    // The menu screens draw themselves; without one the display draws the page of the current id.
    if (m_ScreenId < 5 && m_SceneTag == 0 && manager != nullptr && manager->GetInterfaces().empty())
        UpdateColorSelect();
    if (!(m_ScreenId < 5 && m_SceneTag == 0)) {
        DrawMenuBackdrop();
        const bool online = IsOnlineLesson();
        for (int zone = 36; zone <= 41; ++zone)
            DrawZone(*this, zone, ZoneRule::A, DEPTH_BACKDROP);
        if (m_SceneTag != 0 && IsPhysicalLesson() && GateOrFinished(17)) {
            const RasterRect& panel = GetZoneRectByIndex(2);
            Tile(GetTextureByName(u"gbottile"), m_PhaseBackground.left, panel.top, m_PhaseBackground.right,
                 m_PreviewRect.top - 6, DEPTH_BACKDROP);
            // A 2-pixel rule under the opponent's panel.
            DrawFrameRect(m_PhaseBackground.left, panel.bottom + 1, m_PhaseBackground.right, panel.bottom + 3,
                          DEPTH_PANELS, MakeColor(0, 0, 0, 255), true, 0);
        }
        if (m_SceneTag != 0 && online) {
            const bool stackRow = IsStackRowShown();
            const RasterRect& hand = GetZoneRectByIndex(9);
            const RasterRect& stack = GetZoneRectByIndex(8);
            if (GetZoneImage(9) != 0)
                Tile(GetZoneImage(9), hand.left, hand.top, hand.right, stackRow ? hand.bottom : stack.bottom,
                     DEPTH_BACKDROP);
            if (stackRow)
                DrawZone(*this, 8, ZoneRule::B, DEPTH_BACKDROP);
        }
        DrawTableZones(*this, online);
        if (!IsIntroRunning() || IntroGate(12))
            DrawZone(*this, 0, ZoneRule::A, DEPTH_BACKDROP);
        if (!IsIntroRunning() || IntroGate(11))
            DrawZone(*this, 1, ZoneRule::A, DEPTH_BACKDROP);
        if (!online)
            DrawLibraryPiles(*this);
        if (GateOrFinished(17))
            DrawZone(*this, 2, ZoneRule::C, DEPTH_PANELS);
        if (GateOrFinished(16))
            DrawZone(*this, 3, ZoneRule::C, DEPTH_PANELS);
        if (GetZoneImage(6) != -1 && GateOrFinished(26))
            Stretch(GetZoneImage(6), GetZoneRectByIndex(6), DEPTH_BACKDROP);
        if (online)
            DrawOnlineStatusPanel(*this);
        // The physical panels lie over the CPU's hand backs and the learner's lands: no portrait belongs there.
        if (m_SceneTag == 1 && online) {
            for (int player = 0; player < 2; ++player) {
                const auto p = static_cast<std::size_t>(player);
                const RasterRect& panel = GetZoneRectByIndex(player == 0 ? 3 : 2);
                // The panel takes the portrait's size times the mat scale: the portrait is scaled with it, as
                // drawn unscaled the small layout would show only its top-left part.
                if (m_AvatarImages[p] >= 0)
                    Stretch(m_AvatarImages[p], panel, 0.0f, PRIM_COLOR_KEY);
                // The heartbeat of a life gain beats over the portrait, queued after it at the same depth.
                if (m_AvatarImages[p] >= 0 && m_AvatarOverlays[p] >= 0)
                    Stretch(m_AvatarOverlays[p], panel, 0.0f, PRIM_COLOR_KEY);
            }
        }
        if (online)
            DrawTurnGlow(*this);
        if (!online && m_SceneTag != 0)
            DrawPhysicalTable(*this);
        if (IsGameBegun() && m_SceneTag == 1) {
            if (online) {
                OnlineGraveyardClicks(*this);
                if (m_GraveyardOpen[PLAYER_CPU])
                    DrawOnlineGraveyardList(*this, PLAYER_CPU, 18);
                if (m_GraveyardOpen[PLAYER_HUMAN])
                    DrawOnlineGraveyardList(*this, PLAYER_HUMAN, 27);
            } else {
                PhysicalGraveyardClicks(*this);
            }
        }
        UpdateCornerButtons();
        UpdateColorSelect();
        DrawPhaseBar();
        if (m_SceneTag != 0)
            DrawPlayerHud();
    }
    if (m_QuitButton != nullptr)
        m_QuitButton->Draw();
}

void GameDisplay::DrawPile(int count, int x, int y, float depth, int image)
{
    const int raise = (count + 3) / 5;
    RasterRect pile{x, y, x + TextureWidth(m_SmallCardBack), y + TextureHeight(m_SmallCardBack)};
    Into(m_StackEdge, RasterRect{pile.left, pile.bottom - 8, pile.right, pile.bottom}, depth);
    pile.top -= raise;
    pile.bottom -= raise;
    Into(image >= 0 ? image : m_SmallCardBack, pile, depth);
}

void GameDisplay::GetHandAreaRect(RasterRect& rect) const
{
    // Online the hand has a row of its own.
    const int top = IsOnlineLesson() ? GetZoneRectByIndex(9).top : GetZoneRectByIndex(41).bottom;
    rect = RasterRect{GetZoneRectByIndex(13).left, top, s_ClientWidth, s_ClientHeight};
}

void GameDisplay::DrawLabelBox(const RasterRect& rect) const
{
    const RasterRect box{rect.left - 4, rect.top - 2, rect.right + 4, rect.bottom + 2};
    DrawFrameAroundRect(box, 1.0f, MakeColor(255, 255, 224, 255), true, 0);
    DrawFrameAroundRect(box, 1.0f, MakeColor(128, 128, 96, 255), false, 1);
}

void GameDisplay::DrawFrameRect(int left, int top, int right, int bottom, float depth, std::uint16_t colour,
                                bool filled, int thickness) const
{
    ::DrawFrameRect(F(left), F(top), F(right), F(bottom), depth, colour, filled, F(thickness));
}

void GameDisplay::DrawFrameAroundRect(const RasterRect& rect, float depth, std::uint16_t colour, bool filled,
                                      int thickness) const
{
    DrawFrameRect(rect.left, rect.top, rect.right, rect.bottom, depth, colour, filled, thickness);
}

std::uint16_t GameDisplay::MakeColor(int red, int green, int blue, int alpha) const
{
    const Raster* const raster = GetRaster();
    return raster != nullptr ? raster->MakeColor(red, green, blue, alpha) : 0;
}

void GameDisplay::SetStatusPanelImage(int texture, int which, bool reset)
{
    if (reset) {
        SetZoneImage(6, m_StatusPanelKept);
        SetZoneImage(7, m_StatusPanelKept);
        return;
    }
    SetZoneImage(which == 1 ? 6 : 7, texture);
}

void GameDisplay::SetQuitButtonDisabled(bool disabled)
{
    if (m_QuitButton != nullptr)
        m_QuitButton->SetDisabled(disabled);
}

void GameDisplay::SetAvatarImage(int image, int player)
{
    if (player < 0 || player > 1)
        return;
    m_AvatarImages[static_cast<std::size_t>(player)] = image;
    m_AvatarOverlays[static_cast<std::size_t>(player)] = -1;
    // Online avatars are authored at panel size: the panel takes the avatar's image and so its size. The
    // physical panels keep their own size, as they hold no portrait.
    if (IsOnlineLesson())
        SetZoneImage(player == 0 ? 3 : 2, image);
}

void GameDisplay::SetAvatarOverlay(int image, int player)
{
    if (player >= 0 && player <= 1)
        m_AvatarOverlays[static_cast<std::size_t>(player)] = image;
}
