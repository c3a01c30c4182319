// Room engine/scene: what a scene is made of. This display with its texture registry and image loaders, the
// actors, level scripts, particles and the frame state the loop and the game share.
//
// The program's central display object: binds the raster library to the main window, owns the texture registry
// and its image loaders, and holds the ids of the fonts and backgrounds that level scripts load.
#pragma once

#include "engine/core/BitmapFile.h"
#include "engine/core/Matrix4.h"
#include "engine/raster/RasterTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct FormattedText;

// Glyph fonts are .chp frames of these sizes.
constexpr int FONT8_GLYPH_SIZE = 8;
constexpr int GAME_FONT_GLYPH_SIZE = 16;
constexpr int FRAME_TEXTURE_COUNT = 9;
constexpr int BACKGROUND_TEXTURE_COUNT = 2;
// The design size handed to the raster library.
constexpr float DISPLAY_DESIGN_WIDTH = 1024.0f;
constexpr float DISPLAY_DESIGN_HEIGHT = 768.0f;
constexpr float DISPLAY_DEPTH_RANGE = 20000.0f;

// One row of the texture registry; row n describes raster texture n.
struct TextureRecord {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::u16string> name;  // the file it came from; none for textures made from pixels
    const std::uint16_t* pixels = nullptr;  // kept for unnamed textures so they can be uploaded again
    int bitsPerPixel = 0;
    int kind = 0;
    bool rotated = false;
    int references = 0;
};

class Actor;
class CardActor;

// The play mat: 54 numbered zones laid out from the client area, the card slots of both players and the piles.
constexpr int ZONE_COUNT = 54;
constexpr int HAND_SLOT_COUNT = 20;
constexpr int TABLE_SLOT_COUNT = 40;
constexpr int PHASE_ICON_COUNT = 12;
constexpr int BASE_CARD_WIDTH = 66;
constexpr int BASE_CARD_HEIGHT = 98;
// The shrinking of cards to fit an area stops here and accepts overlap.
constexpr int MIN_CARD_WIDTH = 16;
constexpr int MIN_CARD_HEIGHT = 24;

struct MatZone {
    int kind = 0;
    RasterRect rect;
};

struct MatPoint {
    int x = 0;
    int y = 0;
};

struct MatSlot {
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
};

// What the placement of one player's cards in play uses and computes.
struct PlayerTableSlots {
    // Inputs from the board: permanents other than land piles, and the land groups (lands of one kind).
    int permanentCount = 0;
    int landGroupCount = 0;
    std::array<int, TABLE_SLOT_COUNT> landGroupSizes{};
    // Results.
    int permanentWidth = BASE_CARD_WIDTH;
    int permanentHeight = BASE_CARD_HEIGHT;
    int pileWidth = BASE_CARD_WIDTH;
    int pileHeight = BASE_CARD_HEIGHT;
    int stepX = 0;
    int stepY = 0;
    int stackLimit = 0;
    int landColumns = 0;
    int rowStep = 0;
    bool indented = false;
    int onlineColumns = 0;
    std::array<MatSlot, TABLE_SLOT_COUNT> landSlots{};
    std::array<MatSlot, TABLE_SLOT_COUNT> permanentSlots{};
    std::array<MatPoint, TABLE_SLOT_COUNT> onlineSlots{};
};

class GameDisplay {
public:
    GameDisplay();
    ~GameDisplay();
    GameDisplay(const GameDisplay&) = delete;
    GameDisplay& operator=(const GameDisplay&) = delete;

    // ---- Display ------------------------------------------------------------------------------------------------

    // First call starts the raster library; later calls reset the per-scene ids. Every call leaves texture 0
    // as a 1 by 1 transparent texture, so a missing image (id 0) draws nothing.
    void InitDisplay(bool noPixelAccess);
    void BeginFrame();
    int DrawFrame();
    void Present(bool clear);
    bool HandleActivate(int value) const;
    bool IsReady() const;
    // Frees everything a scene loaded.
    void ReleaseAll();
    void Shutdown();
    bool IsInitialised() const { return m_Initialised; }

    // ---- Texture registry ----------------------------------------------------------------------------------------

    // A named texture already loaded (letters A-Z compared without case) gains a reference and keeps its id.
    int CreateTexture(int width, int height, std::u16string_view name, const std::uint16_t* pixels, int bitsPerPixel,
                      int kind);
    int CreateTextureFromPixels(const std::uint16_t* pixels, int width, int height, int kind);
    // One-frame .chp file; -1 when it cannot be read or is shorter than its header says.
    int LoadChpTexture(std::u16string_view path);
    // Every frame of a .chp file in memory (size bytes); the first frame's id, -1 for none or a short file.
    int LoadChpFrames(const void* fileData, std::size_t size, std::u16string_view path);
    void LoadBackground(const void* data1, std::size_t size1, std::u16string_view name1, const void* data2,
                        std::size_t size2, std::u16string_view name2);
    // Glyph fonts: the data stays the caller's and must live as long as the textures (they reload from it).
    void LoadFont8(const void* fileData, std::size_t size, int glyphCount);
    void LoadGameFont(const void* fileData, std::size_t size, int glyphCount);
    void LoadGameFont2(const void* fileData, std::size_t size, int glyphCount);
    void LoadBigGameFont(const void* fileData, std::size_t size, int glyphCount);
    void LoadBigGameFont2(const void* fileData, std::size_t size, int glyphCount);
    // A .bmp file; -1 when it is missing, unreadable, smaller than 2 in width plus height, or the registry is full.
    int LoadBitmapTexture(std::u16string_view path);
    // A bitmap the caller loaded and keeps, optionally stored a quarter turn.
    int LoadBitmapTextureKeyed(const RasterBitmap* bitmap, std::u16string_view name, bool rotated);
    // A .bmp into the raster's second table, outside the registry; -1 when it cannot be read.
    int LoadTempTexture(std::u16string_view path);
    // Drops one reference; at zero the row loses its name and the raster texture is freed. -1, ids out of range
    // and rows without references are ignored.
    void ReleaseTexture(int id);
    // Queues the texture at its own size; keyed when either key is non-zero. -1 draws nothing.
    void DrawTexture(int id, float x, float y, float z, int keyA, int keyB, const RasterRect* source = nullptr);

    // Installed as the raster library's device-lost and texture-lost callbacks.
    void ReloadAllTextures();
    void ReloadTexture(int id);

    int GetTextureCount() const { return m_TextureCount; }
    // An empty record for ids outside the table.
    const TextureRecord& GetTextureRecord(int id) const;

    // ---- Formatted text -------------------------------------------------------------------------------------------

    // Lays text out for rect's width when its layout is for another width (target -1: returns the height and
    // draws nothing); otherwise draws it: onto the screen at the raster's text depth (target -1) or onto the
    // second-table texture target. Alignment 0 left, 1 centred, 2 right (others modulo 3).
    int DrawWrappedText(FormattedText* text, const RasterRect& rect, int font, int alignment, std::uint32_t colour,
                        int target, int verticalOffset, bool flag);
    // The sum of the segments' measured widths, and the greatest measured height.
    int GetFormattedTextWidth(const FormattedText* text, int font) const;
    int GetFormattedTextHeight(const FormattedText* text, int font) const;

    // ---- Play mat (the table's layout, defined with the cards) ------------------------------------------------

    // Lays out every zone, the piles, the phase bar and the card slots from the client area.
    void LayoutPlayMat();
    const RasterRect& GetZoneRectByIndex(int zone) const;
    int GetZoneKind(int zone) const;
    int GetZoneImage(int zone) const;
    void SetZoneImage(int zone, int texture);
    // Width and height of a zone's image; 0 for a zone without one.
    int GetZoneImageWidth(int zone) const;
    int GetZoneImageHeight(int zone) const;
    void GetPlayAreaRect(RasterRect& rect) const;
    void GetPlayerLandArea(RasterRect& rect) const;
    void GetOpponentPlayArea(RasterRect& rect) const;
    void GetOpponentLandArea(RasterRect& rect) const;
    // raised: the top goes up with the pile's height.
    void GetPlayerLibraryRect(RasterRect& rect, bool raised) const;
    void GetOpponentLibraryRect(RasterRect& rect, bool raised) const;
    void GetPlayerGraveyardRect(RasterRect& rect, bool raised) const;
    void GetOpponentGraveyardRect(RasterRect& rect, bool raised) const;
    void GetPermanentCardSize(int player, int& width, int& height) const;
    void GetPileCardSize(int player, int& width, int& height) const;
    void PlaceTableCards();
    void PlaceTableCardsOnline();
    // The card's size and rectangle on the mat: turned when tapped, between sizes while dragged.
    void GetCardDrawSize(const CardActor* card, int& width, int& height, bool ignoreTap) const;
    void GetCardRect(const CardActor* card, RasterRect& rect, bool ignoreTap) const;
    // A frame pulsing once every 600 ms around the rectangle.
    void DrawHoverGlow(const RasterRect& rect, float depth, int red, int green, int blue, bool noInflate) const;
    // A link mark from one actor's rectangle to the other's; nothing when either is missing or they are the same.
    void DrawLinkBetweenCards(const Actor* from, const Actor* to, float red, float green, float blue, int startHead,
                              int endHead, int halfWidth, float depth) const;
    int GetCardWidth() const { return m_CardWidth; }
    int GetCardHeight() const { return m_CardHeight; }

    std::array<MatZone, ZONE_COUNT> m_Zones{};
    std::array<int, ZONE_COUNT> m_ZoneImages{};
    bool m_RelayoutRequested = true;
    bool m_LayoutDone = false;
    int m_LargeLayout = 2;
    float m_MatScale = 1.0f;
    int m_CardWidth = BASE_CARD_WIDTH;
    int m_CardHeight = BASE_CARD_HEIGHT;
    int m_RowUnit = 120;
    int m_StackHeight = 115;
    std::array<MatPoint, HAND_SLOT_COUNT> m_HandSlots{};
    RasterRect m_PreviewRect;
    // The online zoom yields to whatever lies left of and below this point; at the origin nothing does.
    MatPoint m_HoverCorner;
    // Per player (0 the human, 1 the CPU): the three pile boxes and the six counter boxes of the status panel.
    std::array<std::array<RasterRect, 3>, 2> m_PileBoxes{};
    std::array<std::array<RasterRect, 6>, 2> m_CounterBoxes{};
    // Library, middle and graveyard point of the human, then of the CPU.
    std::array<MatPoint, 6> m_PilePoints{};
    std::array<RasterRect, 2> m_DieBoxes{};
    RasterRect m_ColorSelectFrame;
    std::array<RasterRect, 6> m_ColorSelectSquares{};
    std::array<RasterRect, PHASE_ICON_COUNT> m_PhaseRects{};
    bool m_PhaseBarCondensed = false;
    RasterRect m_PhaseBackground;
    std::array<PlayerTableSlots, 2> m_TableSlots{};
    // Images the layout measures.
    std::array<int, PHASE_ICON_COUNT> m_PhaseIcons{};
    // Cost symbols by kind (1 white ... 5 green, 6-13 generic 1-8, 14 X, 15 tap); the small ones lie in the
    // second texture table while the level script runs.
    std::array<int, 16> m_LargeSymbols{};
    std::array<int, 17> m_SmallSymbols{};
    std::array<int, 3> m_LargeRarity{};
    std::array<int, 3> m_SmallRarity{};
    std::array<std::array<int, 15>, 6> m_DieFrames{};
    std::array<int, 4> m_FixedButtons{};
    int m_StackEdge = 0;
    int m_CardGlow = 0;
    int m_InsertCard = 0;
    int m_SickImage = 0;
    std::uint16_t m_GlowColour = 0;
    std::array<int, 5> m_GlowCounters{};
    // The physical table's images past the zones: card background, bottom tile, phase backgrounds, quit button,
    // opponent's background; and the online lesson's panel images.
    int m_CardBackground = 0;
    int m_BottomTile = 0;
    int m_PhaseBackgroundSilver = 0;
    int m_QuitImage = 0;
    int m_OpponentBackground = 0;
    int m_SidePanelImage = -1;
    std::array<int, 2> m_GalvTiles{-1, -1};
    int m_MenuBlueCards = -1;
    std::array<int, 2> m_PlayerGlows{-1, -1};
    int m_StatusPanelKept = -1;
    std::array<int, 4> m_ManaStatus{-1, -1, -1, -1};
    int m_SmallCardBack = -1;
    int m_LargeCardBack = -1;
    int m_PhaseBackgroundGold = -1;
    int m_FirstDieFrame = -1;

    // ---- Fields ------------------------------------------------------------------------------------------------

    int m_SceneTag = 0;
    std::array<int, BACKGROUND_TEXTURE_COUNT> m_BackgroundTextures{-1, -1};
    std::array<int, FRAME_TEXTURE_COUNT> m_FrameTextures{};
    int m_FurtherTexture = -1;
    std::array<int, 4> m_GameCounters{};
    Matrix4 m_ViewMatrix;
    int m_Width = 0;
    int m_Height = 0;
    std::u16string m_RasterName;
    int m_Font8 = -1;
    int m_GameFont = -1;
    int m_GameFont2 = -1;
    int m_BigGameFont = -1;
    int m_BigGameFont2 = -1;
    int m_SpareFont = -1;
    bool m_NoPixelAccess = false;
    int m_RenderStateValue = 0;
    int m_ScreenId = 0;
    int m_ReturnScreenId = 0;

private:
    int FindTextureByName(std::u16string_view name, bool rotated, bool matchRotated) const;
    int LoadGlyphFont(const void* fileData, std::size_t size, int glyphCount, int glyphSize);
    void ReloadChpTexture(int id, std::u16string_view path);
    void ReloadPixels(int id, const std::uint16_t* pixels);
    void FatalLoadError(std::u16string_view name, std::u16string_view caption);
    void CreateTransparentTexture();
    void ResetSceneSlots();

    std::unique_ptr<TextureRecord[]> m_Textures;
    int m_TextureCount = 0;
    bool m_Initialised = false;
    std::uint16_t m_TransparentPixel = 0;
};

GameDisplay* GetGameDisplay();

// What the display asks of the toolkit and the screens; app/ fills it at start-up, and an entry left null does
// nothing.
struct DisplayGameActions {
    // The display's first start shows the first menu screen.
    void (*SetScreen)(int screenId, bool keepReturn) = nullptr;
    // Releasing every texture first empties the toolkit's windows, which hold textures.
    void (*ClearGuiWindows)() = nullptr;
};
void SetDisplayGameActions(const DisplayGameActions& actions);

// The GUI toolkit's image callbacks: a .bmp through the registry, and the release of one reference.
int LoadGUIBitmap(std::u16string_view path);
void ReleaseGUITexture(int id);

