#include "cards/CardOverLay.h"

#include "cards/CardBase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "cards/TableScene.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
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
    int family = 2;
    if (card.GetCardType() == CT_LAND) {
        family = 0;
        m_DarkFrame = true;
    } else {
        family = card.GetCardType() == CT_CREATURE ? 1 : 2;
        InitCost(card);
    }
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
