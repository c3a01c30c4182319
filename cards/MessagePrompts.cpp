// The online lesson's message field: a prompt with its buttons, and the payment prompt with its mana symbols.
#include "cards/MessagePrompts.h"

#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "rules/ManaPool.h"

namespace {

constexpr int FIELD_ZONE = 15;
constexpr int BUTTON_YES = 0;
constexpr int BUTTON_NO = 1;
constexpr int BUTTON_OK = 2;
constexpr int BUTTON_CANCEL = 3;
constexpr int SYMBOL_SLOTS = 5;

std::u16string s_PromptOwner;

bool Contains(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

bool SameRect(const RasterRect& a, const RasterRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The corner square of a button in the field: 3 pixels in from its right and bottom.
RasterRect ButtonRect(int image, int right, int bottom)
{
    const Raster* const raster = GetRaster();
    const int width = raster->GetTextureWidth(image);
    const int height = raster->GetTextureHeight(image);
    return RasterRect{right - width - 3, bottom - height - 3, right - 3, bottom - 3};
}

void QueueButton(int image, const RasterRect& r, float depth, bool blocked, int hatch)
{
    Raster* const raster = GetRaster();
    const auto F = [](int v) { return static_cast<float>(v); };
    raster->DrawTexture(image, F(r.left), F(r.top), F(r.right), F(r.bottom), depth, 0);
    if (blocked)
        raster->DrawTextureTiled(hatch, F(r.left), F(r.top), F(r.right), F(r.bottom), depth, PRIM_COLOR_KEY);
}

void QueueText(std::u16string_view text, const RasterRect& rect, int depth)
{
    Raster* const raster = GetRaster();
    raster->SetDepth(depth);
    raster->DrawText(text, rect, 0, 1, 0, true);
    raster->SetDepth(19999);
}

bool TakeClick(const RasterRect& button)
{
    if (MouseState.leftClicked == 0 || !Contains(button, MouseState.x, MouseState.y))
        return false;
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
    return true;
}

} // namespace

std::u16string& OnlinePromptOwner()
{
    return s_PromptOwner;
}

int GameDisplay::ShowMessagePrompt(std::u16string_view text, int kind)
{
    return ShowMessagePromptInRect(text, kind, GetZoneRectByIndex(FIELD_ZONE), false, 500.0f);
}

int GameDisplay::ShowMessagePromptInRect(std::u16string_view text, int kind, const RasterRect& rect,
                                         bool inputBlocked, float depth)
{
    if (GetRaster() == nullptr || GetPaymentState().paying)
        return 0;
    if (!s_PromptOwner.empty() && s_PromptOwner != text)
        return 0;
    QueueText(text, rect, static_cast<int>(depth));
    if (SameRect(rect, GetZoneRectByIndex(FIELD_ZONE)))
        m_MessageFieldTaken = true;
    if (kind < 1 || kind > 3)
        return 0;
    struct Button {
        int image;
        RasterRect rect;
        int result;
    };
    Button buttons[2];
    int count = 0;
    if (kind == 2) {
        const RasterRect no = ButtonRect(m_FixedButtons[BUTTON_NO], rect.right, rect.bottom);
        const int yesWidth = GetRaster()->GetTextureWidth(m_FixedButtons[BUTTON_YES]);
        buttons[count++] = {m_FixedButtons[BUTTON_YES], RasterRect{no.left - yesWidth - 3, no.top, no.left - 3, no.bottom},
                            1};
        buttons[count++] = {m_FixedButtons[BUTTON_NO], no, 2};
    } else {
        const int image = m_FixedButtons[kind == 1 ? BUTTON_OK : BUTTON_CANCEL];
        buttons[count++] = {image, ButtonRect(image, rect.right, rect.bottom), 1};
    }
    for (int i = 0; i < count; ++i)
        QueueButton(buttons[i].image, buttons[i].rect, depth, inputBlocked, m_SickImage);
    if (inputBlocked)
        return 0;
    GUI_Manager* const manager = GetGUIManager();
    if (manager != nullptr && manager->GetWindowAt(MouseState.x, MouseState.y) != nullptr)
        return 0;
    for (int i = 0; i < count; ++i) {
        if (TakeClick(buttons[i].rect)) {
            s_PromptOwner.clear();
            return buttons[i].result;
        }
    }
    return 0;
}

int GameDisplay::ShowSymbolPrompt(std::u16string_view text, int kind, const int* symbolSlots)
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return 0;
    const RasterRect& field = GetZoneRectByIndex(FIELD_ZONE);
    QueueText(text, field, 500);
    m_MessageFieldTaken = true;
    for (int i = 0; symbolSlots != nullptr && i < SYMBOL_SLOTS; ++i) {
        const int code = symbolSlots[i * 3];
        if (code <= 0 || code >= static_cast<int>(m_LargeSymbols.size()))
            continue;
        const float x = static_cast<float>(field.left + symbolSlots[i * 3 + 1]);
        const float y = static_cast<float>(field.top + symbolSlots[i * 3 + 2]);
        raster->DrawTextureEx(m_LargeSymbols[static_cast<std::size_t>(code)], x - 1.0f, y, x + 11.0f, y + 12.0f, 0.0f,
                              PRIM_COLOR_KEY);
    }
    if (kind != 5 && kind != 6)
        return 1;
    const int image = m_FixedButtons[kind == 5 ? BUTTON_OK : BUTTON_CANCEL];
    const RasterRect button = ButtonRect(image, field.right, field.bottom);
    QueueButton(image, button, 500.0f, false, m_SickImage);
    return TakeClick(button) ? 1 : 0;
}

void GameDisplay::ShowStandbyPrompt(std::u16string_view text)
{
    m_StandbyPrompt = text;
}

void GameDisplay::DrawStandbyPrompt()
{
    if (!m_StandbyPrompt.empty() && !m_MessageFieldTaken)
        ShowMessagePrompt(m_StandbyPrompt, 0);
    m_StandbyPrompt.clear();
    m_MessageFieldTaken = false;
}

void GameDisplay::DrawShadowedText(std::u16string_view text, const RasterRect& rect, int alignment, int font,
                                   std::uint32_t colour, int dx, int dy, std::uint32_t shadowColour) const
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const RasterRect shadow{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    raster->DrawText(text, shadow, alignment, font, shadowColour, true);
    raster->DrawText(text, rect, alignment, font, colour, true);
}
