// The images of the mat, the card faces and the screen frame. A file that is missing leaves its id at -1 (size
// 0); a name that no level script entered gives 0.
#include "cards/PhysQuitButton.h"
#include "cards/TableScene.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"

#include <array>
#include <string>

namespace {

constexpr std::array<std::u16string_view, 15> SYMBOL_NAMES = {
    u"w", u"u", u"b", u"r", u"g", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"x", u"t"};
constexpr std::array<std::u16string_view, 3> RARITY_NAMES = {u"com", u"unc", u"rar"};
constexpr std::array<std::u16string_view, PHASE_ICON_COUNT> PHASE_ICON_FILES = {
    u"Phase_00_Tap",    u"Phase_01_Upkeep", u"Phase_02_Draw",   u"Phase_03_MainPre",
    u"Phase_04_Combat", u"Phase_05_ComBeg", u"Phase_06_DecAtt", u"Phase_07_DecBlk",
    u"Phase_08_Damage", u"Phase_09_ComEnd", u"Phase_10_MainPost", u"Phase_11_EndTurn"};
constexpr std::array<std::u16string_view, 17> SMALL_FRAME_NAMES = {
    u"crd_bl_b_sm", u"crd_bl_r_sm", u"crd_bl_g_sm", u"crd_bl_u_sm", u"crd_bl_w_sm", u"crd_cr_b_sm",
    u"crd_cr_r_sm", u"crd_cr_g_sm", u"crd_cr_u_sm", u"crd_cr_w_sm", u"crd_cr_a_sm", u"crd_nc_b_sm",
    u"crd_nc_r_sm", u"crd_nc_g_sm", u"crd_nc_u_sm", u"crd_nc_w_sm", u"crd_nc_a_sm"};
constexpr std::array<std::u16string_view, 8> FRAME_PIECES = {u"fr_tm", u"fr_bm", u"fr_sml", u"fr_smr",
                                                             u"fr_tl", u"fr_tr", u"fr_bl", u"fr_br"};
constexpr int DIE_COUNT = 6;
constexpr int DIE_FRAME_COUNT = 15;

std::u16string SymbolPath(std::u16string_view prefix, std::u16string_view name, std::u16string_view size)
{
    return std::u16string(u"data\\symbols\\") + std::u16string(prefix) + std::u16string(name) + u"_" +
           std::u16string(size) + u".bmp";
}

std::u16string TwoDigits(int value)
{
    std::u16string text;
    text += static_cast<char16_t>(u'0' + value / 10 % 10);
    text += static_cast<char16_t>(u'0' + value % 10);
    return text;
}

} // namespace

void LoadLargeCardSymbols()
{
    GameDisplay& display = *GetGameDisplay();
    const int black = display.LoadChpTexture(u"data\\backgrounds\\MenuBlack.chp");
    display.SetZoneImage(36, black);
    display.SetZoneImage(37, black);
    const int side = display.LoadChpTexture(u"data\\borders\\SideBrdr.chp");
    display.SetZoneImage(39, side);
    display.SetZoneImage(40, side);
    display.SetZoneImage(38, display.LoadChpTexture(u"data\\borders\\TopBrdr.chp"));
    display.SetZoneImage(41, display.LoadChpTexture(u"data\\borders\\BottomBrdr.chp"));
    for (std::size_t i = 0; i < SYMBOL_NAMES.size(); ++i)
        display.m_LargeSymbols[i + 1] = display.LoadBitmapTexture(SymbolPath(u"mana_", SYMBOL_NAMES[i], u"lg"));
    for (std::size_t i = 0; i < RARITY_NAMES.size(); ++i)
        display.m_LargeRarity[i] = display.LoadBitmapTexture(SymbolPath(u"freq_", RARITY_NAMES[i], u"lg"));
    display.m_LargeCardBack = display.LoadBitmapTexture(u"data\\frames\\CardBack_lg.bmp");
    display.m_SmallCardBack = display.LoadBitmapTexture(u"data\\frames\\CardBack_sm.bmp");
}

int GetLargeSymbolTexture(int code)
{
    const GameDisplay& display = *GetGameDisplay();
    if (code < 1 || code >= static_cast<int>(display.m_LargeSymbols.size()))
        return -1;
    return display.m_LargeSymbols[code];
}

void LoadSmallCardSymbols()
{
    GameDisplay& display = *GetGameDisplay();
    AddTextureName(u"smallcardtemp", display.LoadTempTexture(u"data\\frames\\blackness_sm.bmp"));
    AddTextureName(u"largecardtemp", display.LoadTempTexture(u"data\\frames\\blackness_lg.bmp"));
    for (const std::u16string_view name : SMALL_FRAME_NAMES)
        AddTextureName(name, display.LoadTempTexture(u"data\\frames\\" + std::u16string(name) + u".bmp"));
    for (std::size_t i = 0; i < SYMBOL_NAMES.size(); ++i)
        display.m_SmallSymbols[i + 1] = display.LoadTempTexture(SymbolPath(u"mana_", SYMBOL_NAMES[i], u"sm"));
    for (std::size_t i = 0; i < RARITY_NAMES.size(); ++i)
        display.m_SmallRarity[i] = display.LoadTempTexture(SymbolPath(u"freq_", RARITY_NAMES[i], u"sm"));
}

void ReleaseSmallCardAssets()
{
    GameDisplay& display = *GetGameDisplay();
    display.m_SmallSymbols.fill(0);
    display.m_SmallRarity.fill(0);
    if (Raster* const raster = GetRaster())
        raster->ReleaseSecondTextures();
    RemoveTextureName(u"smallcardtemp");
    RemoveTextureName(u"largecardtemp");
    for (const std::u16string_view name : SMALL_FRAME_NAMES)
        RemoveTextureName(name);
}

void LoadCardFrames()
{
    // The card frames are part of the small-card assets, loaded around the level script.
}

void LoadTableGraphics()
{
    GameDisplay& display = *GetGameDisplay();
    for (int die = 0; die < DIE_COUNT; ++die) {
        for (int frame = 0; frame < DIE_FRAME_COUNT; ++frame) {
            const std::u16string path = u"data\\die\\" + std::u16string(1, static_cast<char16_t>(u'1' + die)) + u"_" +
                                        TwoDigits(frame + 1) + u".chp";
            display.m_DieFrames[static_cast<std::size_t>(die)][static_cast<std::size_t>(frame)] =
                display.LoadChpTexture(path);
        }
    }
    display.m_FirstDieFrame = display.m_DieFrames[0][0];
    display.m_CardGlow = GetTextureByName(u"cardglow");
    display.m_StackEdge = GetTextureByName(u"stackedge");
    display.m_InsertCard = GetTextureByName(u"insertcard");
    display.m_SickImage = GetTextureByName(u"sick");
    if (Raster* const raster = GetRaster())
        display.m_GlowColour = raster->MakeColor(99, 251, 49, 255);
    display.m_GlowCounters.fill(0);
    if (s_RequestedGameMode == 1 || s_RequestedGameMode == 2) {
        display.SetZoneImage(12, GetTextureByName(u"BG_silver"));
        display.SetZoneImage(13, GetTextureByName(u"BG_gold"));
        display.m_CardBackground = GetTextureByName(u"cardbg");
        display.m_BottomTile = GetTextureByName(u"gbottile");
        display.m_PhaseBackgroundGold = GetTextureByName(u"phasebg_gold");
        display.m_PhaseBackgroundSilver = GetTextureByName(u"phasebg_silver");
        display.m_OpponentBackground = GetTextureByName(u"opponentbg");
        display.m_QuitImage = GetTextureByName(u"physquit");
        CreatePhysQuitButton();
    } else {
        DestroyPhysQuitButton();
    }
}

void LoadPlayerAreaGraphics()
{
    GameDisplay& display = *GetGameDisplay();
    constexpr std::array<std::u16string_view, 4> FIXED = {u"FixedYes", u"FixedNo", u"FixedOK", u"FixedCancel"};
    for (std::size_t i = 0; i < FIXED.size(); ++i)
        display.m_FixedButtons[i] = display.LoadChpTexture(u"data\\buttons\\" + std::u16string(FIXED[i]) + u".chp");
    for (std::size_t i = 0; i < PHASE_ICON_FILES.size(); ++i)
        display.m_PhaseIcons[i] = display.LoadChpTexture(u"data\\icons\\" + std::u16string(PHASE_ICON_FILES[i]) + u".chp");
    display.m_SidePanelImage = display.LoadBitmapTexture(u"data\\backgrounds\\MenuDkgr.bmp");
    display.SetZoneImage(14, display.m_SidePanelImage);
    // The mat drawing reads these as the images of their zones: caption, caption on the CPU's turn, stack row,
    // hand row, and the two turn glows.
    display.SetZoneImage(15, display.LoadChpTexture(u"data\\backgrounds\\GalvTile2.chp"));
    display.SetZoneImage(16, display.LoadChpTexture(u"data\\backgrounds\\GalvTile3.chp"));
    display.SetZoneImage(10, display.LoadChpTexture(u"data\\buttons\\OnlineDim.chp"));
    display.SetZoneImage(11, display.LoadChpTexture(u"data\\buttons\\Duel.chp"));
    const int stackTile = display.LoadChpTexture(u"data\\backgrounds\\GalvTile.chp");
    display.SetZoneImage(8, stackTile);
    display.SetZoneImage(17, stackTile);
    display.SetZoneImage(9, display.LoadChpTexture(u"data\\backgrounds\\MenuBlueCards.chp"));
    display.SetZoneImage(4, display.LoadChpTexture(u"data\\player\\player1_glow.chp"));
    display.SetZoneImage(5, display.LoadChpTexture(u"data\\player\\player2_glow.chp"));
    display.m_StatusPanelKept = display.LoadBitmapTexture(u"data\\player\\ManaStatus_onl.bmp");
    display.SetZoneImage(6, display.m_StatusPanelKept);
    display.SetZoneImage(7, display.m_StatusPanelKept);
    for (int i = 0; i < 4; ++i) {
        display.m_ManaStatus[static_cast<std::size_t>(i)] = display.LoadBitmapTexture(
            u"data\\player\\ManaStatus" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".bmp");
    }
    const int graveBack = display.LoadChpTexture(u"data\\player\\GraveBack.chp");
    display.SetZoneImage(18, graveBack);
    display.SetZoneImage(27, graveBack);
    for (std::size_t i = 0; i < FRAME_PIECES.size(); ++i) {
        const int piece = GetTextureByName(FRAME_PIECES[i]);
        display.SetZoneImage(19 + static_cast<int>(i), piece);
        display.SetZoneImage(28 + static_cast<int>(i), piece);
    }
}
