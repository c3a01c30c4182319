// The play mat's zones, piles, phase bar and card slots, computed from the client area.
#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/PhysQuitButton.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "platform/Platform.h"
#include "rules/PlayerState.h"
#include "rules/Usability.h"

#include "engine/scene/Actor.h"

#include <algorithm>
#include <cmath>

namespace {

enum Zone : int {
    Z_OPPONENT_MAT = 0,
    Z_PLAYER_MAT = 1,
    Z_OPPONENT_PANEL = 2,
    Z_PLAYER_PANEL = 3,
    Z_OPPONENT_PANEL_AREA = 4,
    Z_PLAYER_HALF_COPY = 5,
    Z_OPPONENT_STATUS = 6,
    Z_PLAYER_STATUS = 7,
    Z_STACK_ROW = 8,
    Z_HAND_ROW = 9,
    Z_CORNER_ONLINE = 10,
    Z_CORNER_DUEL = 11,
    Z_OPPONENT_HALF = 12,
    Z_PLAYER_HALF = 13,
    Z_SIDE_PANEL = 14,
    Z_PREVIEW_CAPTION = 15,
    Z_HAND_ROW_END = 17,
    Z_OPPONENT_FIELD = 18,
    Z_PLAYER_FIELD = 27,
    Z_TOP_STRIP = 36,
    Z_BOTTOM_STRIP = 37,
    Z_TOP_BORDER = 38,
    Z_LEFT_BORDER = 39,
    Z_RIGHT_BORDER = 40,
    Z_BOTTOM_BORDER = 41,
    Z_CORNER_ICON_1 = 42,
    Z_CORNER_ICON_2 = 43,
    Z_CONTROL_COLUMN = 44,
    Z_FRAME_INTERIOR = 45,
    Z_FRAME_TOP = 46,
    Z_FRAME_BOTTOM = 47,
    Z_FRAME_LEFT = 48,
    Z_FRAME_RIGHT = 49,
    Z_FRAME_TOP_LEFT = 50,
    Z_FRAME_TOP_RIGHT = 51,
    Z_FRAME_BOTTOM_LEFT = 52,
    Z_FRAME_BOTTOM_RIGHT = 53,
};

constexpr int MAT_WIDTH = 283;
constexpr int MAT_HEIGHT = 116;
constexpr int PREVIEW_WIDTH = 192;
// Keeps the life number off the portrait's frame.
constexpr int LIFE_INSET = 4;
constexpr int PREVIEW_HEIGHT = 276;
constexpr int PHYSICAL_PHASE_ICON_HEIGHT = 17;
constexpr float SLOT_DEPTH_LANDS = 500.0f;
constexpr float SLOT_DEPTH_PERMANENTS = 200.0f;

int Trunc(float value)
{
    return static_cast<int>(value);
}

RasterRect Rect(int left, int top, int right, int bottom)
{
    RasterRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

int TextureWidth(const GameDisplay& display, int texture)
{
    return texture > 0 ? display.GetTextureRecord(texture).width : 0;
}

int TextureHeight(const GameDisplay& display, int texture)
{
    return texture > 0 ? display.GetTextureRecord(texture).height : 0;
}

int CeilDiv(int a, int b)
{
    return b > 0 ? (a + b - 1) / b : 0;
}

// Shrinks a card keeping the ratio of the base size until the test accepts it; at the smallest size the test's
// answer no longer matters (the cards overlap).
template <typename Fits>
bool ShrinkToFit(int& width, int& height, Fits fits)
{
    const float ratio = static_cast<float>(BASE_CARD_WIDTH) / static_cast<float>(BASE_CARD_HEIGHT);
    width = BASE_CARD_WIDTH;
    height = BASE_CARD_HEIGHT;
    for (;;) {
        if (fits(width, height))
            return true;
        if (height <= MIN_CARD_HEIGHT || width <= MIN_CARD_WIDTH) {
            width = MIN_CARD_WIDTH;
            height = MIN_CARD_HEIGHT;
            return false;
        }
        --height;
        width = Trunc(static_cast<float>(height) * ratio);
    }
}

// Whether n permanents fit in rows of the area, each row after the first overlapping the one before.
bool RowsFit(int n, int areaWidth, int areaHeight, int height, int overlap, int indent)
{
    const int slotWidth = height + 2;
    const int rowPitch = height + 24;
    int used = 0;
    int placed = 0;
    for (int row = 0; placed < n; ++row) {
        used += row == 0 ? rowPitch : rowPitch - overlap;
        if (used > areaHeight)
            return false;
        const int capacity = (areaWidth - row * indent) / slotWidth;
        if (capacity <= 0)
            return false;
        placed += capacity;
    }
    return true;
}


// A mat that was laid out before carries its player's token along by its own displacement.
void MoveLifeTokenWithMat(int player, const MatZone& before, const RasterRect& after)
{
    LifeToken* const token = GetLifeToken(player);
    if (token == nullptr || before.kind == 0)
        return;
    const int dx = after.left - before.rect.left;
    const int dy = after.top - before.rect.top;
    if (dx != 0 || dy != 0)
        token->MoveBy(dx, dy);
}

} // namespace

const RasterRect& GameDisplay::GetZoneRectByIndex(int zone) const
{
    static const RasterRect s_none;
    return zone >= 0 && zone < ZONE_COUNT ? m_Zones[static_cast<std::size_t>(zone)].rect : s_none;
}

int GameDisplay::GetZoneKind(int zone) const
{
    return zone >= 0 && zone < ZONE_COUNT ? m_Zones[static_cast<std::size_t>(zone)].kind : 0;
}

int GameDisplay::GetZoneImage(int zone) const
{
    return zone >= 0 && zone < ZONE_COUNT ? m_ZoneImages[static_cast<std::size_t>(zone)] : -1;
}

void GameDisplay::SetZoneImage(int zone, int texture)
{
    if (zone >= 0 && zone < ZONE_COUNT)
        m_ZoneImages[static_cast<std::size_t>(zone)] = texture;
}

int GameDisplay::GetZoneImageWidth(int zone) const
{
    return TextureWidth(*this, GetZoneImage(zone));
}

int GameDisplay::GetZoneImageHeight(int zone) const
{
    return TextureHeight(*this, GetZoneImage(zone));
}

void GameDisplay::LayoutPlayMat()
{
    const int L = 0;
    const int T = 0;
    const int R = s_ClientWidth;
    const int B = s_ClientHeight;
    const bool online = IsOnlineLesson();
    const bool physical = IsPhysicalLesson();
    const auto W = [this](int zone) { return GetZoneImageWidth(zone); };
    const auto H = [this](int zone) { return GetZoneImageHeight(zone); };
    const auto set = [this](int zone, int left, int top, int right, int bottom, int kind) {
        m_Zones[static_cast<std::size_t>(zone)] = MatZone{kind, Rect(left, top, right, bottom)};
    };
    const auto z = [this](int zone) -> RasterRect& { return m_Zones[static_cast<std::size_t>(zone)].rect; };
    const int cornerKind = (m_SceneTag != 0 || m_ScreenId < 11) ? 4 : 0;

    // 1. The frame.
    set(Z_TOP_STRIP, L, T, R, ((m_ScreenId >= 5 && m_ScreenId <= 10) || online) ? T + H(Z_TOP_STRIP) - 2 : T, 2);
    const int stripTop = (online || m_SceneTag != 1) ? B - 10 : B - 60;
    set(Z_BOTTOM_STRIP, L, stripTop, R, B, stripTop == B - 60 ? 0 : 2);
    set(Z_TOP_BORDER, L, z(Z_TOP_STRIP).bottom, R, z(Z_TOP_STRIP).bottom + H(Z_TOP_BORDER), 2);
    set(Z_BOTTOM_BORDER, L, z(Z_BOTTOM_STRIP).top - H(Z_BOTTOM_BORDER), R, z(Z_BOTTOM_STRIP).top, 2);
    set(Z_LEFT_BORDER, L, z(Z_TOP_BORDER).bottom, L + W(Z_LEFT_BORDER), z(Z_BOTTOM_BORDER).top, 2);
    set(Z_RIGHT_BORDER, R - W(Z_RIGHT_BORDER), z(Z_TOP_BORDER).bottom, R, z(Z_BOTTOM_BORDER).top, 2);
    set(Z_CONTROL_COLUMN, z(Z_LEFT_BORDER).right, z(Z_TOP_BORDER).bottom, z(Z_LEFT_BORDER).right + 96,
        z(Z_BOTTOM_BORDER).top, 2);
    set(Z_CORNER_ICON_1, L + 6, z(Z_TOP_BORDER).bottom - H(Z_CORNER_ICON_1), L + 6 + W(Z_CORNER_ICON_1),
        z(Z_TOP_BORDER).bottom, cornerKind);
    set(Z_CORNER_ICON_2, z(Z_CORNER_ICON_1).right, z(Z_TOP_BORDER).top - H(Z_CORNER_ICON_2),
        z(Z_CORNER_ICON_1).right + W(Z_CORNER_ICON_2), z(Z_TOP_BORDER).top, cornerKind);
    const int frameLeft = z(Z_CONTROL_COLUMN).right;
    const int frameRight = z(Z_RIGHT_BORDER).left;
    set(Z_FRAME_TOP, frameLeft, z(Z_TOP_BORDER).bottom, frameRight, z(Z_TOP_BORDER).bottom + H(Z_FRAME_TOP), 2);
    set(Z_FRAME_BOTTOM, frameLeft, z(Z_BOTTOM_BORDER).top - H(Z_FRAME_BOTTOM), frameRight, z(Z_BOTTOM_BORDER).top,
        2);
    set(Z_FRAME_LEFT, frameLeft, z(Z_FRAME_TOP).bottom, frameLeft + W(Z_FRAME_LEFT), z(Z_FRAME_BOTTOM).top, 2);
    set(Z_FRAME_RIGHT, frameRight - W(Z_FRAME_RIGHT), z(Z_FRAME_TOP).bottom, frameRight, z(Z_FRAME_BOTTOM).top, 2);
    const RasterRect& fl = z(Z_FRAME_LEFT);
    const RasterRect& fr = z(Z_FRAME_RIGHT);
    set(Z_FRAME_TOP_LEFT, fl.left, z(Z_FRAME_TOP).top, fl.left + W(Z_FRAME_TOP_LEFT),
        z(Z_FRAME_TOP).top + H(Z_FRAME_TOP_LEFT), 8);
    set(Z_FRAME_TOP_RIGHT, fr.right - W(Z_FRAME_TOP_RIGHT), z(Z_FRAME_TOP).top, fr.right,
        z(Z_FRAME_TOP).top + H(Z_FRAME_TOP_RIGHT), 8);
    set(Z_FRAME_BOTTOM_LEFT, fl.left, z(Z_FRAME_BOTTOM).bottom - H(Z_FRAME_BOTTOM_LEFT),
        fl.left + W(Z_FRAME_BOTTOM_LEFT), z(Z_FRAME_BOTTOM).bottom, 4);
    set(Z_FRAME_BOTTOM_RIGHT, fr.right - W(Z_FRAME_BOTTOM_RIGHT), z(Z_FRAME_BOTTOM).bottom - H(Z_FRAME_BOTTOM_RIGHT),
        fr.right, z(Z_FRAME_BOTTOM).bottom, 4);
    set(Z_FRAME_INTERIOR, fl.right, z(Z_FRAME_TOP).bottom, fr.left, z(Z_FRAME_BOTTOM).top, 2);

    // 2. Rows of the table.
    const int clientHeight = B - T;
    m_StackHeight = clientHeight > 480 ? 115 + Trunc(0.18f * static_cast<float>(clientHeight - 480)) : 115;
    m_RowUnit = clientHeight > 480 ? 160 : 120;
    set(Z_SIDE_PANEL, z(Z_LEFT_BORDER).right, z(Z_TOP_BORDER).bottom, z(Z_LEFT_BORDER).right + (online ? 192 : 202),
        z(Z_LEFT_BORDER).bottom, online ? 2 : 0);
    set(Z_CORNER_ONLINE, L + 6, z(Z_TOP_BORDER).top - H(Z_CORNER_ONLINE), L + 6 + W(Z_CORNER_ONLINE),
        z(Z_TOP_BORDER).top, cornerKind);
    set(Z_CORNER_DUEL, z(Z_CORNER_ONLINE).right, z(Z_TOP_BORDER).bottom - H(Z_CORNER_DUEL),
        z(Z_CORNER_ONLINE).right + W(Z_CORNER_DUEL), z(Z_TOP_BORDER).bottom, cornerKind);
    {
        const int left = z(Z_SIDE_PANEL).right;
        set(Z_STACK_ROW, left, z(Z_BOTTOM_BORDER).top - Trunc(0.4f * static_cast<float>(m_RowUnit)),
            left + Trunc(0.74f * static_cast<float>(z(Z_RIGHT_BORDER).left - left)), z(Z_BOTTOM_BORDER).top, 2);
        const int handTop = z(Z_STACK_ROW).top - Trunc(0.6f * static_cast<float>(m_RowUnit));
        set(Z_HAND_ROW, left, handTop, z(Z_RIGHT_BORDER).left, handTop + 108, 2);
        z(Z_STACK_ROW).top = z(Z_HAND_ROW).bottom;
    }
    set(Z_HAND_ROW_END, z(Z_STACK_ROW).right + (online ? 0 : 5), z(Z_HAND_ROW).bottom, z(Z_HAND_ROW).right,
        z(Z_STACK_ROW).bottom, 2);
    {
        const RasterRect hand = z(Z_HAND_ROW);
        const int top = z(Z_TOP_BORDER).bottom;
        if (online) {
            set(Z_OPPONENT_HALF, hand.left, top, hand.right, top + (hand.top - top) / 2, 1);
            set(Z_PLAYER_HALF, hand.left, z(Z_OPPONENT_HALF).bottom, hand.right, hand.top, 1);
            m_Zones[Z_PLAYER_HALF_COPY] = MatZone{8, z(Z_PLAYER_HALF)};
            m_Zones[Z_OPPONENT_PANEL_AREA].kind = 8;
        } else {
            m_Zones[Z_HAND_ROW_END].kind = 0;
            m_Zones[Z_HAND_ROW].kind = 0;
            m_Zones[Z_STACK_ROW].kind = 0;
            set(Z_OPPONENT_HALF, hand.left, top, hand.right, top + (z(Z_BOTTOM_BORDER).top - top) / 2, 1);
            set(Z_PLAYER_HALF, hand.left, z(Z_OPPONENT_HALF).bottom, hand.right, z(Z_BOTTOM_BORDER).top, 1);
        }
    }

    // 3. Scale.
    if (clientHeight > 675) {
        m_LargeLayout = 2;
        m_MatScale = 1.0f;
    } else {
        m_LargeLayout = online ? 0 : 2;
        m_MatScale = online ? 0.7f : 1.0f;
    }
    const float s = m_MatScale;
    const auto scaled = [s](int size) { return Trunc(static_cast<float>(size) * s); };

    // 4. Panels.
    {
        const RasterRect opp = z(Z_OPPONENT_HALF);
        const RasterRect own = z(Z_PLAYER_HALF);
        const int panelLeft = online ? opp.left : z(Z_SIDE_PANEL).left;
        set(Z_OPPONENT_PANEL, panelLeft, opp.top, panelLeft + scaled(W(Z_OPPONENT_PANEL)),
            opp.top + scaled(H(Z_OPPONENT_PANEL)), online ? 1 : 4);
        set(Z_PLAYER_PANEL, own.left, own.bottom - scaled(H(Z_PLAYER_PANEL)), own.left + scaled(W(Z_PLAYER_PANEL)),
            own.bottom, online ? 1 : 0);
        set(Z_OPPONENT_STATUS, opp.left, z(Z_OPPONENT_PANEL).bottom,
            z(Z_OPPONENT_PANEL).left + scaled(W(Z_OPPONENT_STATUS)),
            z(Z_OPPONENT_PANEL).bottom + scaled(H(Z_OPPONENT_STATUS)), online ? 1 : 0);
        set(Z_PLAYER_STATUS, own.left, z(Z_PLAYER_PANEL).top - scaled(H(Z_PLAYER_STATUS)),
            z(Z_PLAYER_PANEL).left + scaled(W(Z_PLAYER_STATUS)), z(Z_PLAYER_PANEL).top, online ? 1 : 0);
        if (online) {
            const RasterRect& panel = z(Z_OPPONENT_PANEL);
            m_Zones[Z_OPPONENT_PANEL_AREA].rect =
                Rect(panel.left, panel.top, z(Z_OPPONENT_STATUS).right, z(Z_OPPONENT_STATUS).bottom);
        } else {
            RasterRect& status = z(Z_OPPONENT_STATUS);
            if (status.bottom > opp.bottom) {
                const int lift = status.bottom - opp.bottom;
                status.top -= lift;
                status.bottom -= lift;
            }
            z(Z_PLAYER_STATUS).top -= 12;
            z(Z_PLAYER_STATUS).bottom -= 12;
        }
        m_Zones[Z_OPPONENT_FIELD].rect = opp;
        m_Zones[Z_OPPONENT_FIELD].rect.left = z(Z_OPPONENT_STATUS).right;
        m_Zones[Z_PLAYER_FIELD].rect = own;
        m_Zones[Z_PLAYER_FIELD].rect.left = z(Z_PLAYER_STATUS).right;
        if (m_MatScale < 1.0f && opp.bottom - z(Z_OPPONENT_STATUS).bottom >= Trunc(H(Z_OPPONENT_STATUS) * 0.7f))
            m_Zones[Z_OPPONENT_FIELD].rect = opp;
    }

    // 5. Mats.
    if (s_GameMode > 0 && !online) {
        const RasterRect opp = z(Z_OPPONENT_HALF);
        const RasterRect own = z(Z_PLAYER_HALF);
        const MatZone oldPlayerMat = m_Zones[Z_PLAYER_MAT];
        const MatZone oldOpponentMat = m_Zones[Z_OPPONENT_MAT];
        set(Z_PLAYER_MAT, own.right - MAT_WIDTH, own.bottom - MAT_HEIGHT, own.right, own.bottom, 4);
        m_ZoneImages[Z_PLAYER_MAT] = GetTextureByName(u"playmat_gold");
        set(Z_OPPONENT_MAT, opp.right - MAT_WIDTH, opp.top, opp.right, opp.top + MAT_HEIGHT, 4);
        m_ZoneImages[Z_OPPONENT_MAT] = GetTextureByName(u"playmat_silver");
        // A token left behind by its mat would no longer stand on the cell of its life.
        MoveLifeTokenWithMat(PLAYER_HUMAN, oldPlayerMat, z(Z_PLAYER_MAT));
        MoveLifeTokenWithMat(PLAYER_CPU, oldOpponentMat, z(Z_OPPONENT_MAT));
    }

    // 7. The colour-selection frame.
    {
        const RasterRect& interior = z(Z_FRAME_INTERIOR);
        const int left = (interior.left + interior.right) / 2 - 311;
        const int top = (interior.top + interior.bottom) / 2 - 221;
        m_ColorSelectFrame = Rect(left, top, left + 622, top + 450);
        constexpr MatPoint SQUARES[6] = {{240, 3}, {433, 63}, {403, 263}, {80, 263}, {49, 63}, {240, 200}};
        for (std::size_t i = 0; i < 6; ++i)
            m_ColorSelectSquares[i] =
                Rect(left + SQUARES[i].x, top + SQUARES[i].y, left + SQUARES[i].x + 128, top + SQUARES[i].y + 128);
    }

    // 8. Preview, its caption, the card size and the hand slots.
    {
        const int left = z(Z_SIDE_PANEL).left + (online ? 0 : 5);
        const int top = online ? z(Z_SIDE_PANEL).top : z(Z_OPPONENT_PANEL).bottom + 6;
        m_PreviewRect = Rect(left, top, left + PREVIEW_WIDTH, top + PREVIEW_HEIGHT);
        set(Z_PREVIEW_CAPTION, left, m_PreviewRect.bottom + 5, m_PreviewRect.right, m_PreviewRect.bottom + 85,
            online ? 2 : 0);
        m_CardWidth = BASE_CARD_WIDTH;
        m_CardHeight = BASE_CARD_HEIGHT;
        // The online hand lies in its row; below the bottom border it would be all but hidden, as the online
        // hand never rises.
        const int handY = online ? z(Z_HAND_ROW).top + (z(Z_HAND_ROW).Height() - BASE_CARD_HEIGHT) / 2
                                 : z(Z_BOTTOM_BORDER).bottom;
        for (int i = 0; i < HAND_SLOT_COUNT; ++i)
            m_HandSlots[static_cast<std::size_t>(i)] = {z(Z_HAND_ROW).left + 71 * i + 5, handY};
    }

    // 9. Pile points and boxes.
    {
        const bool large = m_LargeLayout != 0;
        const int boxWidth = large ? 30 : 12;
        const int boxHeight = large ? 20 : 15;
        const float f = large ? 0.12f : 0.17f;
        const float g[3] = {large ? 0.09f : 0.07f, large ? 0.42f : 0.39f, large ? 0.77f : 0.73f};
        const float counterF = large ? 0.58f : 0.63f;
        const float counterG[6][2] = {{0.04f, 0.02f}, {0.2f, 0.19f},   {0.37f, 0.34f},
                                      {0.53f, 0.5f},  {0.69f, 0.67f}, {0.85f, 0.82f}};
        const int pileWidth = TextureWidth(*this, m_SmallCardBack);
        const int pileHeight = TextureHeight(*this, m_SmallCardBack);
        for (int player = 0; player < 2; ++player) {
            const RasterRect panel = z(player == 0 ? Z_PLAYER_STATUS : Z_OPPONENT_STATUS);
            const float pw = static_cast<float>(panel.Width());
            const float ph = static_cast<float>(panel.Height());
            auto& boxes = m_PileBoxes[static_cast<std::size_t>(player)];
            for (int i = 0; i < 3; ++i) {
                const int x = panel.left + Trunc(f * pw);
                const int y = panel.top + Trunc(g[i] * ph);
                boxes[static_cast<std::size_t>(i)] = Rect(x, y, x + boxWidth, y + boxHeight);
            }
            if (physical) {
                const RasterRect& mat = z(player == 0 ? Z_PLAYER_MAT : Z_OPPONENT_MAT);
                const MatPoint at = player == 0 ? MatPoint{mat.left + 137, mat.top + 11} : MatPoint{mat.left + 80, mat.top + 9};
                boxes[0] = Rect(at.x, at.y, at.x + pileWidth, at.y + pileHeight);
                boxes[2] = Rect(panel.left, panel.top + 40, panel.right, panel.bottom - 68);
            }
            for (int i = 0; i < 6; ++i) {
                const int x = panel.left + Trunc(counterF * pw);
                const int y = panel.top + Trunc(counterG[i][large ? 0 : 1] * ph);
                m_CounterBoxes[static_cast<std::size_t>(player)][static_cast<std::size_t>(i)] =
                    Rect(x, y, x + boxWidth, y + boxHeight);
            }
            // Each player's life is written in the lower right corner of its portrait.
            const RasterRect portrait = z(player == 0 ? Z_PLAYER_PANEL : Z_OPPONENT_PANEL);
            m_LifeRects[static_cast<std::size_t>(player)] =
                Rect(portrait.left + LIFE_INSET, portrait.top + LIFE_INSET, portrait.right - LIFE_INSET,
                     portrait.bottom - LIFE_INSET);
            MatPoint* const points = &m_PilePoints[static_cast<std::size_t>(player * 3)];
            points[0] = {boxes[0].left, boxes[0].top};
            points[1] = {panel.left, panel.top + Trunc(0.33f * ph)};
            if (physical) {
                const RasterRect& mat = z(player == 0 ? Z_PLAYER_MAT : Z_OPPONENT_MAT);
                points[2] = player == 0 ? MatPoint{mat.left + 209, mat.top + 10} : MatPoint{mat.left + 6, mat.top + 8};
            } else {
                points[2] = {panel.left, panel.top + Trunc(0.66f * ph)};
            }
        }
        if (physical) {
            m_Zones[Z_OPPONENT_FIELD].rect = z(Z_OPPONENT_HALF);
            m_Zones[Z_PLAYER_FIELD].rect = z(Z_PLAYER_HALF);
        }
        const int dieWidth = TextureWidth(*this, m_FirstDieFrame);
        const int dieHeight = TextureHeight(*this, m_FirstDieFrame);
        const int oppLeft = physical ? z(Z_OPPONENT_HALF).left : z(Z_OPPONENT_STATUS).right;
        const int ownLeft = physical ? z(Z_PLAYER_HALF).left : z(Z_PLAYER_STATUS).right;
        m_DieBoxes[1] = Rect(oppLeft, z(Z_OPPONENT_HALF).bottom - dieHeight, oppLeft + dieWidth,
                             z(Z_OPPONENT_HALF).bottom);
        m_DieBoxes[0] = Rect(ownLeft, z(Z_PLAYER_HALF).bottom - dieHeight, ownLeft + dieWidth, z(Z_PLAYER_HALF).bottom);
    }

    // 10. Card slots.
    if (online)
        PlaceTableCardsOnline();
    else if (s_GameMode > 0)
        PlaceTableCards();

    // 11. Phase bar.
    {
        int previousBottom = 0;
        const auto hide = [this, &previousBottom](int icon) {
            m_PhaseRects[static_cast<std::size_t>(icon)] = Rect(-1, previousBottom, -1, previousBottom);
        };
        const auto below = [this, &previousBottom](int icon, int width, int height) {
            const int left = m_PhaseRects[0].left;
            m_PhaseRects[static_cast<std::size_t>(icon)] = Rect(left, previousBottom, left + width, previousBottom + height);
            previousBottom += height;
        };
        if (online) {
            const int left = z(Z_PREVIEW_CAPTION).left + 5;
            const int top = z(Z_PREVIEW_CAPTION).bottom + 5;
            const int width = TextureWidth(*this, m_PhaseIcons[0]);
            const int height = TextureHeight(*this, m_PhaseIcons[0]);
            m_PhaseRects[0] = Rect(left, top, left + width, top + height);
            previousBottom = m_PhaseRects[0].bottom;
            for (int icon = 1; icon <= 3; ++icon)
                below(icon, width, TextureHeight(*this, m_PhaseIcons[static_cast<std::size_t>(icon)]));
            m_PhaseBarCondensed = z(Z_SIDE_PANEL).bottom - top < 11 * height;
            if (!m_PhaseBarCondensed) {
                hide(4);
                for (int icon = 5; icon <= 11; ++icon)
                    below(icon, width, TextureHeight(*this, m_PhaseIcons[static_cast<std::size_t>(icon)]));
            } else {
                below(4, width, TextureHeight(*this, m_PhaseIcons[4]));
                for (int icon = 5; icon <= 9; ++icon)
                    hide(icon);
                for (int icon = 10; icon <= 11; ++icon)
                    below(icon, width, TextureHeight(*this, m_PhaseIcons[static_cast<std::size_t>(icon)]));
            }
            m_PhaseBackground = RasterRect();
        } else {
            m_PhaseBarCondensed = true;
            const RasterRect& side = z(Z_SIDE_PANEL);
            m_PhaseBackground =
                Rect(side.left, side.bottom - TextureHeight(*this, m_PhaseBackgroundGold), side.right, side.bottom);
            const int top = m_PhaseBackground.top + 32;
            m_PhaseRects[0] =
                Rect(m_PhaseBackground.left + 18, top, m_PhaseBackground.right - 12, top + PHYSICAL_PHASE_ICON_HEIGHT);
            previousBottom = m_PhaseRects[0].bottom;
            const int width = m_PhaseRects[0].Width();
            for (const int icon : {1, 2, 3, 4}) {
                below(icon, width, PHYSICAL_PHASE_ICON_HEIGHT);
            }
            for (int icon = 5; icon <= 9; ++icon)
                hide(icon);
            for (const int icon : {10, 11})
                below(icon, width, PHYSICAL_PHASE_ICON_HEIGHT);
            if (s_GameMode > 0) {
                m_PreviewRect.bottom = m_PhaseBackground.top - 6;
                m_PreviewRect.top = m_PreviewRect.bottom - PREVIEW_HEIGHT;
            }
        }
    }

    // 12. The human's library cards rest on the library pile.
    RasterRect library;
    GetPlayerLibraryRect(library, true);
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == PLAYER_HUMAN && card->IsInLibrary() && !card->IsDragging()) {
            card->m_Position.x = static_cast<float>(library.left);
            card->m_Position.y = static_cast<float>(library.top);
            card->m_HomeX = library.left;
            card->m_HomeY = library.top;
        }
    }
    PlaceCornerButtons();
    PlacePhysQuitButton();
    // Cards and boxes placed against the old zones follow the new ones.
    ReplaceSpecialCardsAfterLayout();
}

// ---- Areas and piles ----------------------------------------------------------------------------------------

void GameDisplay::GetPlayAreaRect(RasterRect& rect) const
{
    const RasterRect& half = GetZoneRectByIndex(Z_PLAYER_HALF);
    if (IsOnlineLesson())
        rect = Rect(half.left + 5, half.top, half.right, half.bottom - 5);
    else
        rect = Rect(half.left + 5, half.top + 5, half.right, GetZoneRectByIndex(Z_PLAYER_MAT).top - 5);
}

void GameDisplay::GetPlayerLandArea(RasterRect& rect) const
{
    if (IsOnlineLesson()) {
        GetPlayAreaRect(rect);
        return;
    }
    const RasterRect& half = GetZoneRectByIndex(Z_PLAYER_HALF);
    const RasterRect& mat = GetZoneRectByIndex(Z_PLAYER_MAT);
    rect = Rect(half.left + 5, mat.top, mat.left, half.bottom - 1);
}

void GameDisplay::GetOpponentPlayArea(RasterRect& rect) const
{
    const RasterRect& half = GetZoneRectByIndex(Z_OPPONENT_HALF);
    if (IsOnlineLesson())
        rect = Rect(half.left + 5, half.top + 5, half.right, half.bottom);
    else
        rect = Rect(half.left + 5, GetZoneRectByIndex(Z_OPPONENT_MAT).bottom + 5, half.right, half.bottom - 5);
}

void GameDisplay::GetOpponentLandArea(RasterRect& rect) const
{
    if (IsOnlineLesson()) {
        GetOpponentPlayArea(rect);
        return;
    }
    const RasterRect& half = GetZoneRectByIndex(Z_OPPONENT_HALF);
    const RasterRect& mat = GetZoneRectByIndex(Z_OPPONENT_MAT);
    rect = Rect(half.left + 5, half.top + 2, mat.left, mat.bottom);
}

namespace {

int LibraryCount(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? std::max(record->m_LibraryCount - record->m_NextDrawIndex, 0) : 0;
}

int GraveyardCount(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? record->m_GraveyardCount : 0;
}

// A pile box at a point: the pile image's size on the physical table, a small box online.
RasterRect PileBox(const GameDisplay& display, MatPoint at, int count, bool raised)
{
    int width = 0;
    int height = 0;
    if (IsOnlineLesson()) {
        width = display.m_LargeLayout != 0 ? 30 : 12;
        height = display.m_LargeLayout != 0 ? 20 : 15;
    } else {
        width = TextureWidth(display, display.m_SmallCardBack);
        height = TextureHeight(display, display.m_SmallCardBack);
    }
    RasterRect rect = Rect(at.x, at.y, at.x + width, at.y + height);
    if (raised)
        rect.top -= (count + 3) / 5;
    return rect;
}

MatPoint OpponentMatPoint(const GameDisplay& display, int dx, int dy, MatPoint online)
{
    if (IsOnlineLesson())
        return online;
    const RasterRect& mat = display.GetZoneRectByIndex(Z_OPPONENT_MAT);
    return {mat.left + dx, mat.top + dy};
}

} // namespace

void GameDisplay::GetPlayerLibraryRect(RasterRect& rect, bool raised) const
{
    rect = PileBox(*this, m_PilePoints[0], LibraryCount(PLAYER_HUMAN), raised);
}

void GameDisplay::GetOpponentLibraryRect(RasterRect& rect, bool raised) const
{
    rect = PileBox(*this, OpponentMatPoint(*this, 80, 9, m_PilePoints[3]), LibraryCount(PLAYER_CPU), raised);
}

void GameDisplay::GetPlayerGraveyardRect(RasterRect& rect, bool raised) const
{
    rect = PileBox(*this, m_PilePoints[2], GraveyardCount(PLAYER_HUMAN), raised);
}

void GameDisplay::GetOpponentGraveyardRect(RasterRect& rect, bool raised) const
{
    rect = PileBox(*this, OpponentMatPoint(*this, 6, 8, m_PilePoints[5]), GraveyardCount(PLAYER_CPU), raised);
}

void GameDisplay::GetPermanentCardSize(int player, int& width, int& height) const
{
    const PlayerTableSlots& slots = m_TableSlots[player == PLAYER_CPU ? 1 : 0];
    width = slots.permanentWidth;
    height = slots.permanentHeight;
}

void GameDisplay::GetPileCardSize(int player, int& width, int& height) const
{
    const PlayerTableSlots& slots = m_TableSlots[player == PLAYER_CPU ? 1 : 0];
    if (IsOnlineLesson()) {
        width = slots.permanentWidth;
        height = slots.permanentHeight;
    } else {
        width = slots.pileWidth;
        height = slots.pileHeight;
    }
}

// ---- Card slots ------------------------------------------------------------------------------------------------

void GameDisplay::PlaceTableCards()
{
    for (int player = 0; player < 2; ++player) {
        PlayerTableSlots& slots = m_TableSlots[static_cast<std::size_t>(player)];
        slots.stepX = player == PLAYER_HUMAN ? 5 : 0;
        slots.stepY = 8;
        const int limit = player == PLAYER_HUMAN ? 8 : 6;
        const int half = limit / 2;

        // Land piles.
        RasterRect area;
        if (player == PLAYER_HUMAN)
            GetPlayerLandArea(area);
        else
            GetOpponentLandArea(area);
        int fullColumns = 0;
        int halfColumns = 0;
        int fullDepth = 0;
        int halfDepth = 0;
        const int groups = std::clamp(slots.landGroupCount, 0, TABLE_SLOT_COUNT);
        for (int i = 0; i < groups; ++i) {
            const int size = std::max(slots.landGroupSizes[static_cast<std::size_t>(i)], 0);
            fullColumns += CeilDiv(size, limit);
            halfColumns += CeilDiv(size, half);
            fullDepth = std::max(fullDepth, std::min(size, limit));
            halfDepth = std::max(halfDepth, std::min(size, half));
        }
        const auto fitFor = [&](int columns, int depth, int& width, int& height) {
            return ShrinkToFit(width, height, [&](int, int h) {
                const int pitch = h + depth * slots.stepX + 2;
                return columns * pitch <= area.Width() && depth * slots.stepY + h <= area.Height();
            });
        };
        int fullWidth = 0;
        int fullHeight = 0;
        int halfWidth = 0;
        int halfHeight = 0;
        const bool fullFits = fitFor(fullColumns, fullDepth, fullWidth, fullHeight);
        const bool halfFits = fitFor(halfColumns, halfDepth, halfWidth, halfHeight);
        const bool takeHalf = halfFits && !(fullFits && fullWidth > halfWidth);
        slots.pileWidth = takeHalf ? halfWidth : fullWidth;
        slots.pileHeight = takeHalf ? halfHeight : fullHeight;
        slots.stackLimit = takeHalf ? half : limit;
        slots.landColumns = std::min(takeHalf ? halfColumns : fullColumns, TABLE_SLOT_COUNT);
        const int depth = takeHalf ? halfDepth : fullDepth;
        const int pitch = slots.pileHeight + depth * slots.stepX + 2;
        for (int i = 0; i < slots.landColumns; ++i)
            slots.landSlots[static_cast<std::size_t>(i)] =
                MatSlot{static_cast<float>(area.left + i * pitch), static_cast<float>(area.top), SLOT_DEPTH_LANDS};

        // Other permanents.
        if (player == PLAYER_HUMAN)
            GetPlayAreaRect(area);
        else
            GetOpponentPlayArea(area);
        const int n = std::clamp(slots.permanentCount, 0, TABLE_SLOT_COUNT);
        const int aw = area.Width();
        const int ah = area.Height();
        int width = BASE_CARD_WIDTH;
        int height = BASE_CARD_HEIGHT;
        int overlap = 0;
        if ((aw / (height + 2)) * (ah / (height + 24)) >= n) {
            slots.rowStep = height + 24;
            slots.indented = false;
        } else {
            ShrinkToFit(width, height, [&](int w, int h) {
                for (overlap = 0; overlap < Trunc(static_cast<float>(h) * 0.75f); ++overlap) {
                    if (RowsFit(n, aw, ah, h, overlap, Trunc(static_cast<float>(w) * 0.35f)))
                        return true;
                }
                overlap = std::max(overlap - 1, 0);
                return false;
            });
            slots.rowStep = height + 24 - (overlap + 1);
            slots.indented = true;
        }
        slots.permanentWidth = width;
        slots.permanentHeight = height;
        const int indent = slots.indented ? Trunc(static_cast<float>(width) * 0.35f) : 0;
        int placed = 0;
        for (int row = 0; placed < n; ++row) {
            const float y = player == PLAYER_HUMAN ? static_cast<float>(area.bottom - height - 12 - row * slots.rowStep)
                                                   : static_cast<float>(area.top + 12 + row * slots.rowStep);
            const float depthOfRow = player == PLAYER_HUMAN ? SLOT_DEPTH_PERMANENTS + 10.0f * static_cast<float>(row)
                                                            : SLOT_DEPTH_PERMANENTS;
            int used = 0;
            // A row always takes one card, so every card gets a slot even where the cards overlap.
            do {
                slots.permanentSlots[static_cast<std::size_t>(placed++)] =
                    MatSlot{static_cast<float>(area.left + row * indent + used), y, depthOfRow};
                used += height + 2;
            } while (placed < n && aw - row * indent - used >= height + 2);
        }
    }
}

void GameDisplay::PlaceTableCardsOnline()
{
    for (int player = 0; player < 2; ++player) {
        PlayerTableSlots& slots = m_TableSlots[static_cast<std::size_t>(player)];
        slots.stepX = 5;
        slots.stepY = 5;
        slots.stackLimit = 5;
        const int n = std::clamp(slots.permanentCount, 0, TABLE_SLOT_COUNT);
        if (n == 0)
            continue;
        // The cards start right of the side's status panel and of its portrait, whichever reaches further.
        const int panelRight = std::max(
            GetZoneRectByIndex(player == PLAYER_HUMAN ? Z_PLAYER_STATUS : Z_OPPONENT_STATUS).right,
            GetZoneRectByIndex(player == PLAYER_HUMAN ? Z_PLAYER_PANEL : Z_OPPONENT_PANEL).right);
        const RasterRect& half = GetZoneRectByIndex(player == PLAYER_HUMAN ? Z_PLAYER_HALF : Z_OPPONENT_HALF);
        int rows = CeilDiv(n, 8);
        int columns = 8;
        int height = 0;
        for (;;) {
            const int rowHeight = (half.Height() - 10) / rows;
            const int available = half.right - panelRight - 5;
            const int columnWidth = available / (n < columns ? n : columns);
            height = std::clamp(rowHeight - 20, MIN_CARD_HEIGHT, BASE_CARD_HEIGHT);
            if (columnWidth >= height + 20)
                break;
            if (columns < 5) {
                if (rows >= 5)
                    break;
                ++rows;
                columns = 8;
            } else {
                --columns;
                if (CeilDiv(n, columns) > rows) {
                    rows = CeilDiv(n, columns);
                    columns = 8;
                }
                if (rows > 5)
                    break;
            }
        }
        slots.permanentHeight = height;
        slots.permanentWidth = Trunc(static_cast<float>(height) * 0.67346936f + 0.5f);
        slots.onlineColumns = columns;
        const int left = panelRight;
        for (int i = 0; i < n; ++i)
            slots.onlineSlots[static_cast<std::size_t>(i)] =
                MatPoint{left + (height + 25) * (i % columns) + 5, half.top + (i / columns) * (height + 25) + 10};
    }
}

// ---- Card rectangles -------------------------------------------------------------------------------------------

void GameDisplay::GetCardDrawSize(const CardActor* card, int& width, int& height, bool ignoreTap) const
{
    width = BASE_CARD_WIDTH;
    height = BASE_CARD_HEIGHT;
    if (card == nullptr || !IsIntroFinished() || card->IsHeld() || card->IsExitMoveForward())
        return;
    const bool turned = card->GetTapState() == TAP_TAPPED && !ignoreTap &&
                        (card->m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) == 0;
    const bool physical = IsPhysicalLesson();
    if (physical && card->IsLand())
        GetPileCardSize(card->GetOwner(), width, height);
    else
        GetPermanentCardSize(card->GetOwner(), width, height);
    if (turned)
        std::swap(width, height);
    if (physical && card->IsDragging()) {
        const float ax = static_cast<float>(card->m_DragStartX - card->m_HomeX);
        const float ay = static_cast<float>(card->m_DragStartY - card->m_HomeY);
        const float cx = card->m_Position.x - static_cast<float>(card->m_HomeX);
        const float cy = card->m_Position.y - static_cast<float>(card->m_HomeY);
        const float d0 = std::sqrt(ax * ax + ay * ay);
        // Without a distance to travel the card has the kept size.
        const float f = d0 < 1.0f ? 0.0f : std::clamp((d0 - std::sqrt(cx * cx + cy * cy)) / d0, 0.0f, 1.0f);
        width = card->m_KeptWidth + Trunc(static_cast<float>(width - card->m_KeptWidth) * f);
        height = card->m_KeptHeight + Trunc(static_cast<float>(height - card->m_KeptHeight) * f);
    }
}

void GameDisplay::GetCardRect(const CardActor* card, RasterRect& rect, bool ignoreTap) const
{
    rect = RasterRect();
    if (card == nullptr)
        return;
    int width = 0;
    int height = 0;
    GetCardDrawSize(card, width, height, ignoreTap);
    rect.left = Trunc(card->m_Position.x);
    rect.top = Trunc(card->m_Position.y) + 12 * card->CountAttachedAuras(false) / 2;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}

void GameDisplay::DrawHoverGlow(const RasterRect& rect, float depth, int red, int green, int blue,
                                bool noInflate) const
{
    const int t = static_cast<int>(plat::TimeGetTime() % 600);
    const int level = t < 300 ? t : 599 - t;
    RasterRect frame = rect;
    if (!noInflate) {
        frame.left -= 2;
        frame.top -= 2;
        frame.right += 2;
        frame.bottom += 2;
    }
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const std::uint16_t colour = raster->MakeColor(red * level / 299, green * level / 299, blue * level / 299, 255);
    DrawFrameRect(static_cast<float>(frame.left), static_cast<float>(frame.top), static_cast<float>(frame.right),
                  static_cast<float>(frame.bottom), depth, colour, false, 2.0f);
}
