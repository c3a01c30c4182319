// The base of every toolkit window: a name, a kind code, a rectangle in back-buffer pixels (a child's rectangle
// is not relative to its parent), flags, the child windows it owns, an optional nine-piece skin or one-pixel
// frame, an optional background image, and the anchors and stretch flags that screens use on resize. It draws
// through the raster, loads images through GUI_System, gets skins from GUI_Manager and is saved and loaded as a
// GWND layout record.
#pragma once

#include "engine/raster/RasterTypes.h"
#include "gui/GUI_Event.h"
#include "gui/GUI_ImageElement.h"
#include "gui/GUI_Skin.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class GUI_Interface;
class RecordCursor;
class RecordWriter;

// Kind codes of the toolkit's classes; game classes bring their own.
constexpr std::uint32_t GUI_KIND_WINDOW = 0;
constexpr std::uint32_t GUI_KIND_BUTTON = 1;
constexpr std::uint32_t GUI_KIND_LABEL = 2;
constexpr std::uint32_t GUI_KIND_PICTURE = 3;
constexpr std::uint32_t GUI_KIND_TEXTBUTTON = 4;
constexpr std::uint32_t GUI_KIND_ANY = ~0u;

constexpr int BORDER_NONE = 0;
constexpr int BORDER_SKIN = 1;
constexpr int BORDER_FRAME = 2;

constexpr int GWND_VERSION = 13;

// Nine-piece indices.
enum SkinPiece { PIECE_LT, PIECE_T, PIECE_RT, PIECE_L, PIECE_CENTER, PIECE_R, PIECE_LB, PIECE_B, PIECE_RB };

// One piece of a skinned look: its texture, its element (created when it first gets an image), its placement
// offset and size adjustment, and the file it came from (reloaded after a device loss).
struct SkinPieceSlot {
    int texture = -1;
    std::unique_ptr<GUI_ImageElement> element;
    std::int16_t dx = 0;
    std::int16_t dy = 0;
    std::int16_t dw = 0;
    std::int16_t dh = 0;
    std::u16string file;
    bool fromLanguageFolder = false;
};
using SkinPieceSet = std::array<SkinPieceSlot, SKIN_PIECE_COUNT>;

struct GUI_Colour {
    std::uint32_t r = 255;
    std::uint32_t g = 255;
    std::uint32_t b = 255;
    std::uint32_t a = 255;
    bool operator==(const GUI_Colour&) const = default;
};

class GUI_Window {
public:
    explicit GUI_Window(std::uint32_t kind);
    GUI_Window(int left, int top, int right, int bottom);
    GUI_Window(const GUI_Window&) = delete;
    GUI_Window& operator=(const GUI_Window&) = delete;

    // ---- Virtual operations, in slot order ----
    virtual ~GUI_Window();
    virtual void SetRect(int left, int top, int right, int bottom, bool layout);
    virtual bool HitTest(int x, int y) const;
    virtual void ToClient(int& x, int& y) const;
    virtual void FromClient(int& x, int& y) const;
    virtual void GetClientRect(int& x, int& y, int& width, int& height) const;
    virtual void Draw();
    virtual void Update();
    virtual void SetSkin(std::u16string_view name, bool load, bool force);
    virtual void SetDisabled(bool disabled);
    virtual bool HandleInput(const GUI_InputEvent& event);
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}
    virtual void OnCaptureLost() {}
    virtual void GetMinSize(int& width, int& height) const;
    virtual void GetMaxSize(int& width, int& height) const;
    // A GWND payload of the given version (in tenths: 13 is "V1.3").
    virtual bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths);
    virtual bool Save(RecordWriter& writer) const;
    virtual void OnDeviceLost();
    virtual void ReloadTextures();
    virtual void Refresh();
    virtual void ApplySkin(const GUI_Skin* skin);
    virtual void DrawBackground();
    virtual void DrawBorder();
    virtual void DrawChildren();

    // ---- Geometry ----
    int GetLeft() const { return m_Left; }
    int GetTop() const { return m_Top; }
    int GetRight() const { return m_Right; }
    int GetBottom() const { return m_Bottom; }
    int GetWidth() const { return m_Right - m_Left; }
    int GetHeight() const { return m_Bottom - m_Top; }
    std::uint32_t GetKind() const { return m_Kind; }
    void SetSize(int width, int height);
    void MoveBy(int dx, int dy, bool recursive);
    void MoveTo(int x, int y, bool recursive);
    void SaveDesignRect();
    void GetDesignRect(int& left, int& top, int& right, int& bottom) const;

    // ---- Tree ----
    void AddChild(GUI_Window* window);
    bool RemoveChild(GUI_Window* window);
    bool IsAncestorOf(const GUI_Window* window, bool recursive) const;
    bool HasChild(const GUI_Window* window) const { return m_ChildSet.count(const_cast<GUI_Window*>(window)) != 0; }
    GUI_Window* FindChild(std::u16string_view name, std::uint32_t kind = GUI_KIND_ANY) const;
    GUI_Window* FindWindowAt(int x, int y, bool skipTransparent, const std::set<GUI_Window*>* excluded);
    const std::vector<GUI_Window*>& GetChildren() const { return m_Children; }
    GUI_Window* GetParent() const { return m_pParent; }
    void SetParent(GUI_Window* parent) { m_pParent = parent; }
    GUI_Interface* GetInterface() const { return m_pInterface; }
    void SetInterface(GUI_Interface* screen);

    // ---- Flags and looks ----
    const std::u16string& GetName() const { return m_Name; }
    void SetName(std::u16string_view name) { m_Name = name; }
    void SetHidden(bool hidden);
    bool IsHidden() const { return m_bHidden; }
    bool IsDisabled() const { return m_bDisabled; }
    void SetMouseTransparent(bool transparent) { m_bMouseTransparent = transparent; }
    bool IsMouseTransparent() const { return m_bMouseTransparent; }
    void SetBorderMode(int mode);
    int GetBorderMode() const { return m_BorderMode; }
    void SetFrameInset(int x, int y) { m_FrameInsetX = x; m_FrameInsetY = y; }
    void SetBorderColour(const GUI_Colour& colour) { m_BorderColour = colour; }
    void SetDrawBackground(bool draw) { m_bDrawBackground = draw; }
    void SetBorderAlpha(bool alpha) { m_bBorderAlpha = alpha; }
    void SetBackgroundAlpha(bool alpha) { m_bBackgroundAlpha = alpha; }
    // Layout records carry the kind as data.
    void SetKind(std::uint32_t kind) { m_Kind = kind; }
    void SetDepth(float depth);
    float GetDepth() const { return m_Depth; }
    void SetBackgroundImage(std::u16string_view name, bool load);
    int GetBackgroundTexture() const { return m_BackgroundTexture; }
    const std::u16string& GetSkinName() const { return m_SkinName; }
    const GUI_Skin* GetSkin() const { return m_pSkin; }
    void GetSkinInsets(int& left, int& top, int& right, int& bottom) const;
    const SkinPieceSet& GetPieces() const { return m_Pieces; }
    void SetImagesFromLanguageFolder(bool fromLanguage) { m_bImagesFromLanguage = fromLanguage; }
    bool IsDirty() const { return m_bDirty; }
    void Invalidate(bool recursive = false);

    // Resize settings of screens.
    std::uint8_t m_HorizontalAnchor = 1;
    bool m_bStretchHorizontally = true;
    std::uint8_t m_VerticalAnchor = 1;
    bool m_bStretchVertically = true;
    GUI_Colour m_SecondColour;

protected:
    // Writes the GWND record; the text button's label copy is written without children.
    bool SaveWindowRecord(RecordWriter& writer, bool withChildren) const;
    // Reads the cursor's next chunk, which must be GWND, into the window part.
    bool LoadWindowPart(RecordCursor& cursor);
    // Loads one piece from a skin value into slot; true when it got a texture.
    bool LoadSkinPiece(const GUI_Skin& skin, std::u16string_view key, SkinPieceSlot& slot);
    static void ReleasePieces(SkinPieceSet& set);
    // Places a set of nine pieces over the rectangle as the window places its own.
    void LayoutPieces(SkinPieceSet& set, const GUI_Colour& centreColour, bool centreAlpha, const GUI_Colour& borderColour,
                      bool borderAlpha);
    static void DrawBorderPieces(const SkinPieceSet& set);
    void ReloadPieces(SkinPieceSet& set);
    // Deletes every child (the label part of a text button drops the children its copy added).
    void DeleteChildren();

    std::u16string m_Name;
    std::uint32_t m_Kind = 0;
    int m_Left = 0;
    int m_Top = 0;
    int m_Right = 0;
    int m_Bottom = 0;
    bool m_bMouseTransparent = false;
    bool m_bHidden = false;
    int m_BorderMode = BORDER_SKIN;
    int m_FrameInsetX = 1;
    int m_FrameInsetY = 1;
    GUI_Colour m_BorderColour;
    bool m_bBorderAlpha = false;
    std::u16string m_SkinName;
    bool m_bDrawBackground = true;
    std::u16string m_BackgroundImage;
    bool m_bBackgroundAlpha = false;
    bool m_bImagesFromLanguage = false;
    std::vector<GUI_Window*> m_Children;
    std::set<GUI_Window*> m_ChildSet;
    GUI_Window* m_pParent = nullptr;
    GUI_Interface* m_pInterface = nullptr;
    GUI_Skin* m_pSkin = nullptr;
    int m_InsetLeft = 0;
    int m_InsetTop = 0;
    int m_InsetRight = 0;
    int m_InsetBottom = 0;
    SkinPieceSet m_Pieces;
    int m_BackgroundTexture = -1;
    bool m_bDirty = true;
    int m_DesignLeft = 0;
    int m_DesignTop = 0;
    int m_DesignRight = 0;
    int m_DesignBottom = 0;
    bool m_bDisabled = false;
    float m_Depth = 5.0f;
};

// Record fields shared by the window records: a colour as four u32, and a u8 flag (above 0 is set).
bool ReadRecordColour(RecordCursor& cursor, GUI_Colour& out);
void WriteRecordColour(RecordWriter& writer, const GUI_Colour& colour);
bool ReadRecordFlag(RecordCursor& cursor, bool& out);

// A window of the class a layout tag names (GWND, GBTN, GLBL, GPIC, GTBT); null for another tag.
std::unique_ptr<GUI_Window> CreateWindowForTag(std::uint32_t tag);

// The class check by which code downcasts: a window whose kind a record replaced is still what it was built as.
template <typename T>
T* WindowCast(GUI_Window* window)
{
    return dynamic_cast<T*>(window);
}
