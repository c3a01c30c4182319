// A card's face, put together at run time: the textures chosen once from its definition, its cost symbols and
// its localized texts. One overlay per card identifier, made on first request.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <array>
#include <string_view>

class CardActor;
class CardBase;
struct FormattedText;

constexpr int MAX_COST_SYMBOLS = 5;
constexpr int COST_SYMBOL_X = 14;
constexpr int COST_SYMBOL_LAST_GENERIC = 13;
constexpr int COLOR_INDEX_ARTIFACT = 5;
// Draw modes: the large face, the large frame and art only, the small colour border, the effect panel.
constexpr int OVERLAY_LARGE_FACE = 1;
constexpr int OVERLAY_LARGE_ART = 2;
constexpr int OVERLAY_SMALL_BORDER = 3;
constexpr int OVERLAY_EFFECT_PANEL = 4;
constexpr int FRAME_FAMILY_LAND = 0;
constexpr int FRAME_FAMILY_CREATURE = 1;
constexpr int FRAME_FAMILY_OTHER = 2;

struct CostSymbol {
    int kind = 0;  // 0 ends the list
    int column = 0;
    int yOffset = 1;
};

class CardOverLay {
public:
    void Init(const CardBase& card);
    // Lays out the cost symbols right-aligned on the name line; more than five stop at five.
    void InitCost(const CardBase& card);
    void SetEffectText(const char16_t* key);
    void SetCloseUpText(const char16_t* key);
    void SetPopupText(const char16_t* key);
    // Queues the face in rect (boxes relative to its top-left corner); card is the actor whose current power and
    // toughness the large face shows.
    void Draw(const RasterRect& rect, const CardActor* card, int mode, float depth) const;
    // The rules text in a pale box under the rectangle it keeps clear of (a card's window or its pile; above it
    // near the bottom of the screen); without one at rect's top-left. The box measures its text on the first frame
    // and fits it from the next.
    void DrawPopup(RasterRect& rect, const RasterRect* clearOf);
    // Composes the small card in "smallcardtemp" and saves it at path; false when the picture could not be
    // composed or written (the composed picture then stays in "smallcardtemp").
    bool RenderSmallCard(const std::u16string_view path);

    const char16_t* m_Name = nullptr;
    const char16_t* m_TypeLine = nullptr;
    const char16_t* m_FooterText = nullptr;
    const char16_t* m_EffectText = nullptr;
    std::array<char16_t, 64> m_UpperName{};
    std::array<char16_t, 64> m_TypeLineCopy{};
    std::array<char16_t, 16> m_PowerToughness{};
    int m_PopupHeight = 0;
    int m_PopupWidth = 174;
    int m_ArtTexture = 0;
    int m_BorderTexture = 0;
    int m_SmallBorderTexture = 0;
    int m_LargeFrameTexture = 0;
    int m_SmallFrameTexture = 0;
    int m_RaritySymbol = 0;
    int m_SmallRaritySymbol = 0;
    int m_CardId = 0;
    bool m_DarkFrame = false;
    RasterRect m_CostArea;
    std::array<CostSymbol, MAX_COST_SYMBOLS> m_ManaSymbols{};
    FormattedText* m_CloseUpText = nullptr;
    FormattedText* m_PopupText = nullptr;
    int m_SmallNameWidth = 63;
    int m_FrameFamily = FRAME_FAMILY_OTHER;

private:
    void DrawLargeFaceTexts(const RasterRect& rect, const CardActor* card, float depth) const;
};

// The colour index of a cost: black 0, red 1, green 2, blue 3, white 4 (tested black, blue, green, red, white);
// anything without a colour uses the artifact set (5).
int GetCardColorIndex(const CardBase& card);
// The overlay of the card's identifier, made on first request; null for an identifier outside the table.
CardOverLay* GetCardOverlay(const CardBase& card);
// Kind 5 the small card back, kind 6 the large one, stretched over the rectangle; other kinds nothing.
void DrawPileImage(const RasterRect& rect, int kind, float depth);
void OffsetRect4(RasterRect& rect, int dx, int dy);
