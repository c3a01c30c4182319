#include "screens/OnlineIntro.h"

#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

constexpr std::uint32_t BLINK_PERIOD = 600;
constexpr float LIFT_DEPTH = 150.0f;
constexpr float FRAME_DEPTH = 100.0f;
constexpr int BOX_GAP = 10;
constexpr int PREVIEW_PILE_KIND = 6;

// The zones of the online table the tour explains.
constexpr int ZONE_SIDE_STRIP = 7;
constexpr int ZONE_LIFE = 3;
constexpr int ZONE_MESSAGES = 8;
constexpr int ZONE_DIALOG = 15;
constexpr int ZONE_TURN_SEQUENCE = 14;
constexpr int ZONE_CPU_STATS[3] = {4, 2, 6};

struct Region {
    const char16_t* key;
    int sprites;
};

// The odd step 2k+1 shows region k; its even step waits.
constexpr Region REGIONS[10] = {
    {u"ONL_INTRO_Library", 1},     {u"ONL_INTRO_Hand", 1},           {u"ONL_INTRO_Graveyard", 1},
    {u"ONL_INTRO_ManaPool", 1},    {u"ONL_INTRO_LifeTotal", 1},      {u"ONL_INTRO_MessageField", 2},
    {u"ONL_INTRO_CloseUpWindow", 0}, {u"ONL_INTRO_DialogBox", 1},    {u"ONL_INTRO_TurnSequence", 1},
    {u"ONL_INTRO_CPUStats", 3},
};

// Image sub-rectangles of the side strip (zone 7) for library, hand, graveyard and mana pool.
constexpr RasterRect STRIP_PARTS[4] = {{2, 2, 43, 43}, {2, 43, 43, 101}, {2, 101, 43, 153}, {43, 2, 71, 153}};

GameDisplay& Display()
{
    return *GetGameDisplay();
}

// The table's client size, as the table clamps cards to it.
int ScreenWidth()
{
    return s_ClientWidth > 0 ? s_ClientWidth : Display().m_Width;
}

int ScreenHeight()
{
    return s_ClientHeight > 0 ? s_ClientHeight : Display().m_Height;
}

RasterRect Union(const RasterRect& a, const RasterRect& b)
{
    return RasterRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

} // namespace

int TourBlinkGreen(std::uint32_t now)
{
    const auto t = static_cast<int>(now % BLINK_PERIOD);
    if (t < 200)
        return t * 255 / 199;
    if (t < 400)
        return (399 - t) * 255 / 199;
    return -1;
}

Intro_Online::Intro_Online() : m_Step(s_GameMode >= 4 ? ONLINE_INTRO_END : 0) {}

Intro_Online::~Intro_Online()
{
    UnlistSprites(3);
    if (m_pBox != nullptr && GetGameDisplay() != nullptr && Display().IsWindowRegistered(m_pBox.get()))
        Display().UnregisterWindow(m_pBox.get());
}

bool Intro_Online::IsTourClick() const
{
    if (s_bSkipIntro)
        return true;
    const int x = MouseState.x;
    const int y = MouseState.y;
    return MouseState.leftClicked != 0 && x >= m_Highlight.left && x < m_Highlight.right && y >= m_Highlight.top &&
           y < m_Highlight.bottom && GetGUIManager()->GetWindowAt(x, y) == nullptr;
}

bool Intro_Online::Advance()
{
    if (m_Step > ONLINE_INTRO_END)
        return true;
    if (m_Step == ONLINE_INTRO_END)
        return false;
    if (m_Step == 0) {
        if (m_pBox == nullptr)
            m_pBox = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
        m_Step = 1;
        return true;
    }
    const Region& region = REGIONS[(m_Step - 1) / 2];
    if (m_Step % 2 == 1)
        ShowRegion(region.key, region.sprites);
    else
        WaitForClick(region.sprites);
    return true;
}

void Intro_Online::ShowRegion(const char16_t* key, int sprites)
{
    LayoutStep();
    for (int i = 0; i < sprites; ++i)
        if (Sprite* const sprite = m_Sprites[static_cast<std::size_t>(i)].get(); sprite != nullptr && !sprite->IsListed())
            GetSpriteList()->Add(sprite);
    m_pBox->SetKind(9);
    m_pBox->SetScaledSize(m_BoxWidth, m_BoxHeight);
    if (s_bLayoutChanged)
        m_pBox->MoveTo(m_BoxX, m_BoxY, true);
    m_pBox->SetText(GetString(key), false, false);
    if (!Display().IsWindowRegistered(m_pBox.get()))
        Display().RegisterWindow(m_pBox.get());
    s_bLayoutChanged = false;
    ++m_Step;
}

void Intro_Online::WaitForClick(int sprites)
{
    if (!IsTourClick())
        return;
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
    UnlistSprites(sprites);
    if (m_Step == 20)
        Display().UnregisterWindow(m_pBox.get());
    ++m_Step;
}

void Intro_Online::UnlistSprites(int count)
{
    SpriteList* const list = FindSpriteList();
    for (int i = 0; i < count; ++i) {
        Sprite* const sprite = m_Sprites[static_cast<std::size_t>(i)].get();
        if (sprite != nullptr && sprite->IsListed() && list != nullptr)
            list->Remove(sprite);
    }
}

void Intro_Online::LiftSprite(int sprite, int texture, const RasterRect& source, int width, int height, int x, int y)
{
    std::unique_ptr<Sprite>& slot = m_Sprites[static_cast<std::size_t>(sprite)];
    if (slot == nullptr)
        slot = std::make_unique<Sprite>();
    slot->SetTexture(texture);
    slot->SetSourceRect(source);
    slot->SetStretched(true);
    slot->SetStretchWidth(width);
    slot->SetStretchHeight(height);
    slot->SetSpeed(0.0f);
    slot->SetDepth(LIFT_DEPTH);
    slot->SetSyncWindow(false);
    slot->SetPosition(x, y);
    slot->SetTarget(x, y);
}

void Intro_Online::LayoutImageRegion(int zone, const RasterRect* sub, int sprite)
{
    const GameDisplay& display = Display();
    const RasterRect& area = display.GetZoneRectByIndex(zone);
    const int imageWidth = display.GetZoneImageWidth(zone);
    const int imageHeight = display.GetZoneImageHeight(zone);
    const RasterRect whole{0, 0, imageWidth, imageHeight};
    const RasterRect part = sub != nullptr ? *sub : whole;
    RasterRect mapped = area;
    if (imageWidth > 0 && imageHeight > 0) {
        const float sx = static_cast<float>(area.Width()) / static_cast<float>(imageWidth);
        const float sy = static_cast<float>(area.Height()) / static_cast<float>(imageHeight);
        mapped = RasterRect{area.left + static_cast<int>(static_cast<float>(part.left) * sx),
                            area.top + static_cast<int>(static_cast<float>(part.top) * sy),
                            area.left + static_cast<int>(static_cast<float>(part.right) * sx),
                            area.top + static_cast<int>(static_cast<float>(part.bottom) * sy)};
    }
    m_Highlight = sprite == 0 ? mapped : Union(m_Highlight, mapped);
    // The lifted copy: the region at its scaled size, in the middle of the screen; the others beside it.
    const int x = (ScreenWidth() - part.Width()) / 2 + (sprite == 0 ? 0 : (sprite == 1 ? -part.Width() - BOX_GAP : part.Width() + BOX_GAP));
    const int y = (ScreenHeight() - part.Height()) / 2;
    LiftSprite(sprite, display.GetZoneImage(zone), part, mapped.Width(), mapped.Height(), x, y);
    if (sprite == 0) {
        m_BoxX = x + mapped.Width() + BOX_GAP;
        m_BoxY = (ScreenHeight() - m_BoxHeight) / 2;
    }
}

void Intro_Online::LayoutStep()
{
    if (m_Step < 1 || m_Step > 20)
        return;
    const GameDisplay& display = Display();
    const int region = (m_Step - 1) / 2;
    switch (region) {
    case 0:
    case 1:
    case 2:
    case 3:
        LayoutImageRegion(ZONE_SIDE_STRIP, &STRIP_PARTS[region], 0);
        break;
    case 4:
        LayoutImageRegion(ZONE_LIFE, nullptr, 0);
        break;
    case 5:
        LayoutImageRegion(ZONE_MESSAGES, nullptr, 0);
        LayoutImageRegion(ZONE_MESSAGES, nullptr, 1);
        break;
    case 6:
        m_Highlight = display.m_PreviewRect;
        m_BoxX = std::min(m_Highlight.right + BOX_GAP, ScreenWidth() - m_BoxWidth);
        m_BoxY = (ScreenHeight() - m_BoxHeight) / 2;
        break;
    case 7:
        LayoutImageRegion(ZONE_DIALOG, nullptr, 0);
        break;
    case 8: {
        // The turn sequence is drawn as its own picture; the lifted copy is the dialog box beside it.
        LayoutImageRegion(ZONE_DIALOG, nullptr, 0);
        const RasterRect& bar = display.GetZoneRectByIndex(ZONE_TURN_SEQUENCE);
        m_Highlight = Union(bar, display.GetZoneRectByIndex(ZONE_DIALOG));
        m_TurnPicture = bar;
        // The turn's twelve parts, one row each down the bar.
        const int rowHeight = std::max(1, bar.Height() / TURN_SEQUENCE_RECTS);
        for (int i = 0; i < TURN_SEQUENCE_RECTS; ++i)
            m_TurnRects[static_cast<std::size_t>(i)] =
                RasterRect{bar.left, bar.top + i * rowHeight, bar.right, bar.top + (i + 1) * rowHeight - 1};
        break;
    }
    default:
        for (int sprite = 0; sprite < 3; ++sprite)
            LayoutImageRegion(ZONE_CPU_STATS[sprite], nullptr, sprite);
        break;
    }
    s_bLayoutChanged = true;
}

void Intro_Online::DrawShadow(const Sprite* sprite) const
{
    if (sprite == nullptr || !sprite->IsListed())
        return;
    RasterRect bounds;
    sprite->GetBounds(bounds);
    const GameDisplay& display = Display();
    display.DrawFrameRect(bounds.left + 2, bounds.top + 2, bounds.right + 2, bounds.bottom + 2, LIFT_DEPTH + 1.0f,
                          display.MakeColor(0, 0, 0, 255), true, 0);
}

// The message dialog as the online client shows it while it waits, with its one button greyed.
void Intro_Online::DrawSampleDialog(const RasterRect& rect, float depth) const
{
    const GameDisplay& display = Display();
    const int width = std::min(rect.Width(), 220);
    const int height = std::min(rect.Height(), 70);
    const int left = rect.left + (rect.Width() - width) / 2;
    const int top = rect.top + (rect.Height() - height) / 2;
    display.DrawFrameRect(left + 2, top + 2, left + width + 2, top + height + 2, depth + 1.0f,
                          display.MakeColor(0, 0, 0, 255), true, 0);
    display.DrawFrameRect(left, top, left + width, top + height, depth, display.MakeColor(40, 40, 56, 255), true, 0);
    const char16_t* const text = GetString(u"STACK_WAITING_FOR_PLAYER");
    display.DrawShadowedText(text != nullptr ? text : u"", RasterRect{left + 4, top + 4, left + width - 4, top + height - 26},
                             1, 0, 0xFFFFFF, 1, 1, 0);
    const int buttonLeft = left + width / 2 - 30;
    display.DrawFrameRect(buttonLeft, top + height - 22, buttonLeft + 60, top + height - 6, depth - 1.0f,
                          display.MakeColor(96, 96, 96, 255), true, 0);
}

void Intro_Online::DrawStepHighlight()
{
    if (m_Step < 2 || m_Step > 20 || m_Step % 2 != 0)
        return;
    GameDisplay& display = Display();
    const int green = TourBlinkGreen(plat::TimeGetTime());
    if (green >= 0)
        display.DrawFrameAroundRect(m_Highlight, FRAME_DEPTH, display.MakeColor(0, green, 0, 255), false, 2);
    switch (m_Step) {
    case 2:
    case 4:
    case 6:
    case 10:
    case 12:
        DrawShadow(m_Sprites[0].get());
        break;
    case 14: {
        const RasterRect& preview = display.m_PreviewRect;
        display.DrawPile(PREVIEW_PILE_KIND, preview.left + preview.Width() / 2 - 30,
                         preview.top + preview.Height() / 2 - 40, 500.0f, -1);
        break;
    }
    case 16:
        DrawSampleDialog(m_Highlight, FRAME_DEPTH);
        break;
    case 18:
        for (const RasterRect& rect : m_TurnRects)
            display.DrawFrameAroundRect(rect, FRAME_DEPTH, display.MakeColor(200, 200, 120, 255), false, 1);
        break;
    default:
        break;
    }
    if (m_Step >= 18)
        DrawSampleDialog(display.GetZoneRectByIndex(ZONE_DIALOG), 500.0f);
}
