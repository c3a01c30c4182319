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
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct FormattedText;
class GUI_Window;
class OldDialog;
class Dialog;

// One frame's request for a message window under a key.
struct MessageRecord {
    int messageId = 0;
    int priority = 0;
    std::u16string text;
    std::vector<std::u16string> lines;
    int width = 0;
    int height = 0;
    bool hasPosition = false;
    int x = 0;
    int y = 0;
    int buttonMode = 0;
    std::u16string normalImage;
    std::u16string hoverImage;
    std::u16string rightHoverImage;
    int clickEffect = 0;
    int libraryPlayer = 0;
    int cardCount = 0;
};
// The toolkit defines the dialogs; the display owns them through the toolkit's deleter.
using MessageDialogPtr = std::unique_ptr<OldDialog, void (*)(OldDialog*)>;

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
class GUI_Window;

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

// A card placed on the online table at (x, y), in placing order.
struct PlacedCardRecord {
    CardActor* card = nullptr;
    float x = 0.0f;
    float y = 0.0f;
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
    // The pointing hand over windows that can be clicked, the arrow elsewhere; false when (x, y) is outside.
    bool UpdateCursor(int x, int y, bool inside);
    bool UpdateCursorFromMouse();
    // Moves a box that overlaps the card directly above, below, left or right of it, the first place that clears
    // the card while the box stays on the screen; when none does, the box goes back where it was.
    void CardsOverlap(GUI_Window* box, const CardActor* card) const;
    // A lesson box at the advice position: kept from the last lesson box, else right of the play area; centred
    // until the intro has finished.
    void PlaceAdviceWindow(Dialog* box);
    int GetCardWidth() const { return m_CardWidth; }
    int GetCardHeight() const { return m_CardHeight; }

    // ---- Mat and HUD drawing (defined with the cards) -----------------------------------------------------------

    // The one per-frame drawing of the table and of the GUI screens.
    void DrawMatAndHud();
    // A pile of count cards at (x, y) rising one pixel per five cards; image -1 draws the small card back.
    void DrawPile(int count, int x, int y, float depth, int image);
    void GetHandAreaRect(RasterRect& rect) const;
    void DrawLabelBox(const RasterRect& rect) const;
    void DrawFrameRect(int left, int top, int right, int bottom, float depth, std::uint16_t colour, bool filled,
                       int thickness) const;
    void DrawFrameAroundRect(const RasterRect& rect, float depth, std::uint16_t colour, bool filled,
                             int thickness) const;
    std::uint16_t MakeColor(int red, int green, int blue, int alpha) const;
    void SetStatusPanelImage(int texture, int which, bool reset);
    void SetQuitButtonDisabled(bool disabled);
    void DrawPhaseBar();
    void UpdateCornerButtons();
    // The corner buttons' rectangles from the zones; the layout calls it.
    void PlaceCornerButtons();
    // Avatars of the players' panels (also the panel zone's image); SetAvatarImage clears the overlay.
    void SetAvatarImage(int image, int player);
    void SetAvatarOverlay(int image, int player);

    // Curved ribbon S -> E bent toward P by t, with optional heads; nothing where a needed length is 0.
    void DrawCurvedArrow(int sx, int sy, int px, int py, int ex, int ey, float bend, float red, float green,
                         float blue, float spare, bool startHead, bool endHead, int halfWidth, float depth) const;
    void DrawLinkBetweenCards(const Actor* a, const Actor* b, float red, float green, float blue,
                              bool startHead, bool endHead, int halfWidth, float depth) const;
    void DrawLinkBetweenRects(const RasterRect& a, const RasterRect& b, float red, float green, float blue,
                              bool startHead, bool endHead, int halfWidth, float depth) const;
    // The online message field: 0 while nothing is chosen; 1 OK / Cancel / Yes, 2 No.
    int ShowMessagePrompt(std::u16string_view text, int kind);
    // The text in the default message rectangle with one or two buttons: 1 the first clicked, 2 the second, else 0.
    int DrawTextureInRect(std::u16string_view text, int buttons);
    int ShowMessagePromptInRect(std::u16string_view text, int kind, const RasterRect& rect, bool inputBlocked,
                                float depth);
    // The payment prompt: five {code, x, y} symbol slots or null; kind 5 OK, 6 Cancel.
    int ShowSymbolPrompt(std::u16string_view text, int kind, const int* symbolSlots);
    // A buttonless text for the message field that gives way to any other prompt shown there in the same frame;
    // the frame's end draws it when the field stayed free, whatever order the prompts came in.
    void ShowStandbyPrompt(std::u16string_view text);
    void DrawStandbyPrompt();
    void DrawShadowedText(std::u16string_view text, const RasterRect& rect, int alignment, int font,
                          std::uint32_t colour, int dx, int dy, std::uint32_t shadowColour) const;
    // The nine frame pieces of every message window, now and for those made later.
    void SetMessageFrameTextures(const std::array<int, FRAME_TEXTURE_COUNT>& textures);

    // The last message reply: its message id and which button answered.
    std::pair<int, int> GetLastButtonEvent() const { return {m_LastReplyId, m_LastReplyAnswer}; }

    // The stack area of the current layout (left x, right x, top y) and the points arrows aim at for each player.
    int m_StackAreaLeft = 0;
    int m_StackAreaRight = 0;
    int m_StackAreaTop = 0;
    std::array<MatPoint, 2> m_TargetPlayerPoints{};
    // The online table's placed cards; the combat links test the mouse against them.
    std::vector<PlacedCardRecord> m_PlacedCards;
    // Mat drawing state.
    RasterRect m_OpponentBackgroundRect;
    std::array<int, 2> m_AvatarImages{-1, -1};
    std::array<int, 2> m_AvatarOverlays{-1, -1};
    // Human life, CPU life; library, hand counts of each player (online).
    std::array<RasterRect, 2> m_LifeRects{};
    RasterRect m_CpuHandRect;
    int m_CountFont = 4;
    int m_CurrentPhase = -1;
    bool m_LibraryHighlight = false;
    std::array<std::array<char16_t, 38>, PHASE_ICON_COUNT> m_PhaseNames{};
    GUI_Window* m_QuitButton = nullptr;
    // Corner buttons: rectangles, states (0 normal, 1 over, 2 pressed) and three images of buttons 0 to 2.
    std::array<RasterRect, 5> m_CornerButtonRects{};
    std::array<int, 5> m_CornerButtonStates{};
    std::array<std::array<int, 3>, 3> m_CornerButtonImages{{{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}}};


    std::array<MatZone, ZONE_COUNT> m_Zones{};
    std::array<int, ZONE_COUNT> m_ZoneImages{};
    bool m_RelayoutRequested = true;
    // The cursor last set: -1 none (the mouse left the client area), else a plat::CursorShape.
    int m_CurrentCursor = -1;
    bool m_LayoutDone = false;
    // The table has been laid out at least once since the scene began; the turn drivers wait for it. (The
    // layout-done flag above lasts one frame only.)
    bool m_TableLaidOut = false;
    int m_LargeLayout = 2;
    float m_MatScale = 1.0f;
    int m_CardWidth = BASE_CARD_WIDTH;
    int m_CardHeight = BASE_CARD_HEIGHT;
    int m_RowUnit = 120;
    int m_StackHeight = 115;
    std::array<MatPoint, HAND_SLOT_COUNT> m_HandSlots{};
    RasterRect m_PreviewRect;
    // The online lesson's graveyard lists, human then CPU: open while set.
    std::array<bool, 2> m_GraveyardOpen{};
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
    // This frame's standby text, and whether another prompt has taken the message field.
    std::u16string m_StandbyPrompt;
    bool m_MessageFieldTaken = false;
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
    int m_StatusPanelKept = -1;
    std::array<int, 4> m_ManaStatus{-1, -1, -1, -1};
    int m_SmallCardBack = -1;
    int m_LargeCardBack = -1;
    int m_PhaseBackgroundGold = -1;
    int m_FirstDieFrame = -1;

    // ---- Game windows (defined with the toolkit's game windows) ---------------------------------------------

    // A registered window is an open box; the display lists it, never owns it. The last listed is the front-most.
    void RegisterWindow(GUI_Window* window);
    void UnregisterWindow(GUI_Window* window);
    bool IsWindowRegistered(const GUI_Window* window) const;
    // An unregistered window inside a registered dialog brings that dialog forward.
    void BringWindowToFront(GUI_Window* window);
    // A table reset forgets every game window and message window without telling them.
    void ClearWindows();
    const std::vector<GUI_Window*>& GetGameWindows() const { return m_GameWindows; }

    std::vector<GUI_Window*> m_GameWindows;
    std::set<const GUI_Window*> m_GameWindowSet;
    // Where the last lesson box closed after the intro; the next lesson box opens there. -1 when none.
    int m_LastLessonBoxX = -1;
    int m_LastLessonBoxY = -1;
    bool m_bQuitPromptOpen = false;
    bool m_bQuitConfirmed = false;

    // ---- Message windows (defined with the toolkit's game windows) -------------------------------------------

    // Asked for again every frame; the message id of the stored request, -1 when refused (no text and no
    // buttons, or a lower priority than this frame's request under the key).
    int AddMessageWindow(int key, int priority, const char16_t* text, int width, int height,
                         const std::vector<std::u16string>* lines, bool hasPosition, int x, int y, int buttonMode,
                         const char16_t* normalImage, const char16_t* hoverImage, const char16_t* rightHoverImage,
                         int clickEffect, int libraryPlayer, int cardCount);
    // The key's dialog, made on first use and kept.
    OldDialog* GetMessageDialog(int key);
    // Shows this frame's requests and draws the game windows, then forgets the requests.
    void UpdateMessageDialogs();
    // Records which message button this frame's click pressed.
    void CheckMessageButtonClick();
    void RegisterMessageDialogs();
    void UnregisterMessageDialogs();
    // Offers the mouse to each dialog; true when one is being dragged.
    bool DragMessageDialogs();

    std::map<int, MessageRecord> m_MessageRecords;
    std::map<int, MessageDialogPtr> m_MessageDialogs;
    std::vector<OldDialog*> m_RegisteredMessageDialogs;
    int m_NextMessageId = 0;
    int m_LastReplyId = -1;
    int m_LastReplyAnswer = 0;

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

    // The screen switch and the colour-selection screen (defined with the screens). SetScreen shows the screen of
    // that id; keepReturn keeps the current one as the screen to return to.
    void SetScreen(int screenId, bool keepReturn);
    // The id of the screen the display holds.
    int GetScreen() const;
    void SetReturnScreen(int screenId);
    int GetReturnScreen() const;
    // Every scene load marks the colour-selection screen not set up; mode 0 loads its images.
    void ResetColorSelect();
    void LoadColorSelectImages();
    bool IsColorSelectSetUp() const;
    // Once a frame while no game runs: draws the splash and colour pages and takes their clicks.
    void UpdateColorSelect();
    // The pages' backdrop, queued before the display's corner buttons.
    void DrawMenuBackdrop();
    // True once two colours are chosen and the choice is confirmed.
    bool UpdateColorChoice();

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
    // The display's first start shows the first menu screen (the screens define the switch).
    void (GameDisplay::*SetScreen)(int screenId, bool keepReturn) = nullptr;
    // Releasing every texture first empties the toolkit's windows, which hold textures.
    void (*ClearGuiWindows)() = nullptr;
    // After a device loss the toolkit's windows reload their images into the textures they hold.
    void (*ReloadGuiTextures)() = nullptr;
};
void SetDisplayGameActions(const DisplayGameActions& actions);

// The GUI toolkit's image callbacks: a .bmp through the registry, and the release of one reference.
int LoadGUIBitmap(std::u16string_view path);
void ReleaseGUITexture(int id);

