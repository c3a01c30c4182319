#include "cards/CardOverLay.h"

#include "cards/CardActor.h"
#include "cards/CardBase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "cards/CardMarks.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "platform/Platform.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr int COST_AREA_RIGHT = 184;
constexpr int COST_SYMBOL_SIZE = 12;
constexpr int SMALL_SYMBOL_SIZE = 7;
constexpr int PILE_SMALL = 5;
constexpr int PILE_LARGE = 6;
constexpr int SMALL_CARD_WIDTH = 66;
constexpr int SMALL_CARD_HEIGHT = 98;
// The small face's text box (rows 65 to 92, below the type strip) at the scale of the large template the text
// is laid out on, as deep as the large face's text: the same lines show, none cut and none over the type strip.
constexpr RasterRect SMALL_TEXT_ON_LARGE{13, 183, 183, 259};
constexpr int TEXT_DEPTH_RESTING = 19999;
constexpr std::uint32_t DRAW_KEYED = 0x80000000u;
constexpr std::uint32_t COLOUR_BLACK = 0x000000;
constexpr std::uint32_t COLOUR_RED = 0x0000FF;  // 0x00BBGGRR
constexpr std::uint32_t COLOUR_WHITE = 0xFFFFFF;
constexpr std::uint32_t COLOUR_YELLOW = 0x00FFFF;
// Languages from this identifier on have wider glyphs: a smaller footer font, power and toughness moved right.
constexpr int WIDE_GLYPH_LANGUAGE = 7;
// The intro's reveal gates around the popup: the popup stays hidden while gate 10 is open and 15 closed.
constexpr int GATE_POPUP_HIDDEN = 10;
constexpr int GATE_POPUP_SHOWN = 15;

struct ColourSet {
    std::u16string_view border;
    std::u16string_view smallBorder;
    std::u16string_view suffix;
};

constexpr std::array<ColourSet, 6> COLOUR_SETS = {{
    {u"fxborder_bk", u"fxborder_sbk", u"_b"},
    {u"fxborder_rd", u"fxborder_srd", u"_r"},
    {u"fxborder_gr", u"fxborder_sgr", u"_g"},
    {u"fxborder_bu", u"fxborder_sbu", u"_u"},
    {u"fxborder_wt", u"fxborder_swt", u"_w"},
    {u"fxborder_art", u"fxborder_sart", u"_a"},
}};
constexpr std::array<std::u16string_view, 3> FRAME_FAMILIES = {u"crd_bl", u"crd_cr", u"crd_nc"};

std::array<std::unique_ptr<CardOverLay>, CD_NUMBER_OF_CARD_DEFS> s_Overlays;

template <std::size_t N>
void CopyText(std::array<char16_t, N>& field, const char16_t* text)
{
    field.fill(u'\0');
    for (std::size_t i = 0; text != nullptr && text[i] != u'\0' && i + 1 < N; ++i)
        field[i] = text[i];
}

RasterRect Box(const RasterRect& origin, int left, int top, int right, int bottom)
{
    return RasterRect{origin.left + left, origin.top + top, origin.left + right, origin.top + bottom};
}

bool HasWideGlyphs()
{
    const LanguageManager* const languages = GetLanguageManager();
    return languages != nullptr && languages->GetLanguageId() >= WIDE_GLYPH_LANGUAGE;
}

// A second-table texture entered under name; -1 when the name is not entered.
int SecondTexture(std::u16string_view name)
{
    const TextureNameValue value = GetTextureEntry(name);
    return value.kind == TextureNameValue::Kind::Texture ? value.texture : -1;
}

} // namespace

int GetCardColorIndex(const CardBase& card)
{
    const ManaCost& cost = *card.GetManaCounters();
    if (cost.black != 0)
        return 0;
    if (cost.blue != 0)
        return 3;
    if (cost.green != 0)
        return 2;
    if (cost.red != 0)
        return 1;
    if (cost.white != 0)
        return 4;
    return COLOR_INDEX_ARTIFACT;
}

void CardOverLay::Init(const CardBase& card)
{
    for (std::size_t i = 0; i < m_ManaSymbols.size(); ++i)
        m_ManaSymbols[i] = CostSymbol{0, static_cast<int>(i), 1};
    m_FooterText = nullptr;
    m_CardId = card.GetId();
    m_Name = card.GetNameField();
    m_TypeLine = card.GetTypeLine();
    CopyText(m_UpperName, m_Name);
    for (char16_t& ch : m_UpperName)
        ch = UpperCaseChar(ch);
    CopyText(m_TypeLineCopy, m_TypeLine);
    m_PopupHeight = 0;
    m_PopupWidth = 174;
    m_SmallNameWidth = 63;
    m_PowerToughness.fill(u'\0');
    if (card.GetCardType() == CT_CREATURE) {
        const CreatureStats& stats = *card.GetCreatureStats();
        const std::u16string text = IntToWString(stats.power) + u"/" + IntToWString(stats.toughness);
        CopyText(m_PowerToughness, text.c_str());
    }
    int family = FRAME_FAMILY_OTHER;
    if (card.GetCardType() == CT_LAND) {
        family = FRAME_FAMILY_LAND;
        m_DarkFrame = true;
    } else {
        family = card.GetCardType() == CT_CREATURE ? FRAME_FAMILY_CREATURE : FRAME_FAMILY_OTHER;
        InitCost(card);
    }
    m_FrameFamily = family;
    const int colour = GetCardColorIndex(card);
    if (colour == 0)
        m_DarkFrame = true;
    const ColourSet& set = COLOUR_SETS[static_cast<std::size_t>(colour)];
    m_BorderTexture = GetTextureByName(set.border);
    m_SmallBorderTexture = GetTextureByName(set.smallBorder);
    const std::u16string frame = std::u16string(FRAME_FAMILIES[static_cast<std::size_t>(family)]) +
                                 std::u16string(set.suffix);
    m_LargeFrameTexture = GetTextureByName(frame + u"_lg");
    m_SmallFrameTexture = GetTextureByName(frame + u"_sm");
    m_ArtTexture = GetTextureByName(std::u16string(card.GetIdName() != nullptr ? card.GetIdName() : u"") + u"_art");
    const GameDisplay& display = *GetGameDisplay();
    const int rarity = std::clamp(card.GetRarity(), 0, 2);
    m_RaritySymbol = display.m_LargeRarity[static_cast<std::size_t>(rarity)];
    m_SmallRaritySymbol = display.m_SmallRarity[static_cast<std::size_t>(rarity)];
}

void CardOverLay::InitCost(const CardBase& card)
{
    int n = 0;
    bool reported = false;
    const auto add = [&](int kind) {
        if (n >= MAX_COST_SYMBOLS) {
            if (!reported)
                plat::OutputDebugString(
                    u"Error in CardOverLay::InitCost()\nm_ManaSymbols[i+p] exceeded MAX_COST_SYMBOLS\n");
            reported = true;
            return;
        }
        m_ManaSymbols[static_cast<std::size_t>(n++)].kind = kind;
    };
    const ManaCost& cost = *card.GetManaCounters();
    if (card.IsXSpell())
        add(COST_SYMBOL_X);
    if (cost.generic != 0)
        add(std::clamp(cost.generic + 5, 6, COST_SYMBOL_LAST_GENERIC));
    const int colours[5][2] = {{cost.white, 1}, {cost.blue, 2}, {cost.black, 3}, {cost.red, 4}, {cost.green, 5}};
    for (const auto& [amount, kind] : colours) {
        if (amount == 0)
            continue;
        for (int i = 0; i < amount && !reported; ++i)
            add(kind);
        break;
    }
    m_CostArea.left = COST_AREA_RIGHT - COST_SYMBOL_SIZE * n;
    m_CostArea.top = 6;
    m_CostArea.right = COST_AREA_RIGHT;
    m_CostArea.bottom = 21;
    m_SmallNameWidth = GetGameDisplay()->GetCardWidth() - SMALL_SYMBOL_SIZE * n - 3;
}

void CardOverLay::SetEffectText(const char16_t* key)
{
    m_EffectText = key != nullptr ? GetString(key) : nullptr;
}

void CardOverLay::SetCloseUpText(const char16_t* key)
{
    m_CloseUpText = key != nullptr ? GetFormattedText(key) : nullptr;
}

void CardOverLay::SetPopupText(const char16_t* key)
{
    m_PopupText = key != nullptr ? GetFormattedText(key) : nullptr;
}

CardOverLay* GetCardOverlay(const CardBase& card)
{
    const int id = card.GetId();
    if (id < 0 || id >= CD_NUMBER_OF_CARD_DEFS)
        return nullptr;
    std::unique_ptr<CardOverLay>& entry = s_Overlays[static_cast<std::size_t>(id)];
    if (!entry) {
        entry = std::make_unique<CardOverLay>();
        entry->Init(card);
    }
    return entry.get();
}

void InitCardOverlayTable()
{
    for (auto& entry : s_Overlays)
        entry.reset();
}

void ReleaseCardOverlays()
{
    InitCardOverlayTable();
}

void DrawPileImage(const RasterRect& rect, int kind, float depth)
{
    const GameDisplay& display = *GetGameDisplay();
    const int texture = kind == PILE_SMALL ? display.m_SmallCardBack : kind == PILE_LARGE ? display.m_LargeCardBack : -1;
    Raster* const raster = GetRaster();
    if (texture < 0 || raster == nullptr)
        return;
    raster->DrawTextureEx(texture, static_cast<float>(rect.left), static_cast<float>(rect.top),
                          static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth, 0);
}

void OffsetRect4(RasterRect& rect, int dx, int dy)
{
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

void CardOverLay::Draw(const RasterRect& rect, const CardActor* card, int mode, float depth) const
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const auto left = static_cast<float>(rect.left);
    const auto top = static_cast<float>(rect.top);
    switch (mode) {
    case OVERLAY_LARGE_FACE:
    case OVERLAY_LARGE_ART: {
        raster->DrawTextureEx(m_LargeFrameTexture, left, top, static_cast<float>(rect.right),
                              static_cast<float>(rect.bottom), depth, 0);
        const RasterRect art = Box(rect, 9, 25, 184, 154);
        raster->DrawTextureEx(m_ArtTexture, static_cast<float>(art.left), static_cast<float>(art.top),
                              static_cast<float>(art.right), static_cast<float>(art.bottom), depth, 0);
        if (mode == OVERLAY_LARGE_FACE)
            DrawLargeFaceTexts(rect, card, depth);
        return;
    }
    case OVERLAY_SMALL_BORDER:
        raster->DrawTextureEx(m_SmallBorderTexture, left, top, static_cast<float>(rect.right),
                              static_cast<float>(rect.bottom), 500.0f, DRAW_KEYED);
        return;
    case OVERLAY_EFFECT_PANEL: {
        raster->DrawTextureEx(m_BorderTexture, left, top, static_cast<float>(rect.right),
                              static_cast<float>(rect.bottom), 19999.0f, DRAW_KEYED);
        const char16_t* const label = GetString(u"STR_Effect");
        if (label != nullptr)
            GetGameDisplay()->DrawShadowedText(label, rect, 0, 11, COLOUR_YELLOW, 1, 1, COLOUR_BLACK);
        if (m_EffectText != nullptr) {
            raster->SetDepth(550);
            raster->DrawText(m_EffectText, Box(rect, 23, 179, 172, 256), 0, 0, COLOUR_BLACK, false);
            raster->SetDepth(TEXT_DEPTH_RESTING);
        }
        return;
    }
    default:
        return;
    }
}

void CardOverLay::DrawLargeFaceTexts(const RasterRect& rect, const CardActor* card, float depth) const
{
    Raster* const raster = GetRaster();
    GameDisplay& display = *GetGameDisplay();
    raster->SetDepth(static_cast<int>(depth));
    if (m_Name != nullptr)
        raster->DrawText(m_Name, Box(rect, 9, 6, 184, 21), 0, 0, COLOUR_BLACK, false);
    if (m_TypeLine != nullptr && m_TypeLine[0] != u'\0')
        raster->DrawText(m_TypeLine, Box(rect, 9, 158, 184, 172), 0, 4, COLOUR_BLACK, false);
    if (card != nullptr && card->GetCardType() != CT_LAND && m_CloseUpText != nullptr)
        display.DrawWrappedText(m_CloseUpText, Box(rect, 9, 178, 183, 254), 4, 0, COLOUR_BLACK, -1, 0, false);
    if (card != nullptr && card->GetCardType() == CT_CREATURE) {
        const CreatureStats& stats = card->GetStats();
        const std::u16string text = IntToWString(stats.power) + u"/" + IntToWString(stats.toughness);
        RasterRect box = Box(rect, 142, 253, 189, 273);
        if (HasWideGlyphs())
            OffsetRect4(box, 3, 0);
        raster->DrawText(text, box, 4, 12, ShouldShowPowerToughness(*card) ? COLOUR_RED : COLOUR_BLACK, false);
    }
    if (m_FooterText != nullptr)
        raster->DrawText(m_FooterText, Box(rect, 33, 261, 141, 274), 0, HasWideGlyphs() ? 3 : 4,
                         m_DarkFrame ? COLOUR_WHITE : COLOUR_BLACK, false);
    for (const CostSymbol& symbol : m_ManaSymbols) {
        if (symbol.kind <= 0)
            break;
        const int texture = display.m_LargeSymbols[static_cast<std::size_t>(
            std::clamp(symbol.kind, 0, static_cast<int>(display.m_LargeSymbols.size()) - 1))];
        const float x = static_cast<float>(rect.left + m_CostArea.left + symbol.column * COST_SYMBOL_SIZE);
        const float y = static_cast<float>(rect.top + m_CostArea.top + symbol.yOffset);
        raster->DrawTextureEx(texture, x, y, x + COST_SYMBOL_SIZE, y + COST_SYMBOL_SIZE, depth, DRAW_KEYED);
    }
    const RasterRect rarity = Box(rect, 167, 158, 184, 172);
    raster->DrawTextureEx(m_RaritySymbol, static_cast<float>(rarity.left), static_cast<float>(rarity.top),
                          static_cast<float>(rarity.right), static_cast<float>(rarity.bottom), depth, DRAW_KEYED);
    raster->SetDepth(TEXT_DEPTH_RESTING);
}

void CardOverLay::DrawPopup(RasterRect& rect, const RasterRect* clearOf)
{
    if (IsIntroRunning() && IntroGate(GATE_POPUP_HIDDEN) && !IntroGate(GATE_POPUP_SHOWN))
        return;
    if (clearOf != nullptr) {
        rect.left = clearOf->left + 4;
        rect.top = clearOf->bottom + 2;
        rect.right = rect.left + m_PopupWidth;
        rect.bottom = rect.top + m_PopupHeight;
        if (rect.bottom + 2 > s_ClientHeight) {
            rect.top = clearOf->top - m_PopupHeight - 2;
            rect.bottom = rect.top + m_PopupHeight;
        }
        if (rect.right + 4 > s_ClientWidth)
            OffsetRect4(rect, -(rect.right + 4 - s_ClientWidth), 0);
    } else {
        rect.right = rect.left + m_PopupWidth;
        rect.bottom = rect.top + m_PopupHeight;
    }
    GameDisplay& display = *GetGameDisplay();
    display.DrawLabelBox(rect);
    Raster* const raster = GetRaster();
    if (raster != nullptr)
        raster->SetDepth(0);
    const int height = display.DrawWrappedText(m_PopupText, rect, 4, 0, COLOUR_BLACK, -1, 0, false);
    if (raster != nullptr)
        raster->SetDepth(TEXT_DEPTH_RESTING);
    if (height > 0)
        m_PopupHeight = height + 2;
}

bool CardOverLay::RenderSmallCard(const std::u16string_view path)
{
    Raster* const raster = GetRaster();
    const int small = SecondTexture(u"smallcardtemp");
    if (raster == nullptr || small < 0)
        return false;
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect whole{0, 0, SMALL_CARD_WIDTH, SMALL_CARD_HEIGHT};
    raster->BlitTexture(small, whole, m_SmallFrameTexture, false, true);
    raster->BlitTexture(small, RasterRect{4, 14, 62, 55}, m_ArtTexture, false, false);
    raster->DrawTextOnTexture(m_UpperName.data(), small, RasterRect{3, 3, m_SmallNameWidth, 13}, 3, COLOUR_BLACK, 9);
    raster->DrawTextOnTexture(m_TypeLineCopy.data(), small, RasterRect{3, 54, 63, 64}, 3, COLOUR_BLACK, 9);
    if (m_FrameFamily != FRAME_FAMILY_LAND) {
        if (m_PowerToughness[0] != u'\0')
            raster->DrawTextOnTexture(m_PowerToughness.data(), small, RasterRect{42, 85, 62, 95}, 3, COLOUR_BLACK, 1);
        for (const CostSymbol& symbol : m_ManaSymbols) {
            if (symbol.kind <= 0)
                break;
            const int x = symbol.column * SMALL_SYMBOL_SIZE + m_SmallNameWidth;
            const int texture = display.m_SmallSymbols[static_cast<std::size_t>(
                std::clamp(symbol.kind, 0, static_cast<int>(display.m_SmallSymbols.size()) - 1))];
            raster->BlitTexture(small, RasterRect{x, 4, x + SMALL_SYMBOL_SIZE, 4 + SMALL_SYMBOL_SIZE}, texture, true,
                                true);
        }
        const int large = SecondTexture(u"largecardtemp");
        if (m_CloseUpText != nullptr && large >= 0) {
            raster->FillTexture(large, 0);
            const std::uint32_t colour = raster->HasFilteredStretch() ? 0xF0F0F0 : 0x404040;
            raster->SetDepth(0);
            GetGameDisplay()->DrawWrappedText(m_CloseUpText, SMALL_TEXT_ON_LARGE, 4, 0, colour, large, 0, false);
            raster->SetDepth(TEXT_DEPTH_RESTING);
            // Laid out for this width only: the large face lays it out again for its own.
            ResetFormattedText(m_CloseUpText);
            raster->BlitTexture(small, whole, large, true, true);
        }
    }
    return raster->SaveSecondTextureBitmap(small, path);
}
