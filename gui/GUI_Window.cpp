#include "gui/GUI_Window.h"

#include "engine/raster/Raster.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/LayoutRecords.h"
#include "platform/Platform.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int NO_LIMIT = INT_MAX;
int s_LoadNesting = 0;

// Rectangles from records are kept within +-10^7 so that widths and piece sums cannot overflow.
int ClampCoordinate(int value)
{
    constexpr int LIMIT = 10000000;
    return value < -LIMIT ? -LIMIT : (value > LIMIT ? LIMIT : value);
}

struct NestingGuard {
    NestingGuard() { ++s_LoadNesting; }
    ~NestingGuard() { --s_LoadNesting; }
};

bool Exists(const SkinPieceSlot& slot)
{
    return slot.element != nullptr;
}

int PieceWidth(const SkinPieceSet& set, int piece)
{
    return Exists(set[piece]) ? set[piece].element->GetWidth() : 0;
}

int PieceHeight(const SkinPieceSet& set, int piece)
{
    return Exists(set[piece]) ? set[piece].element->GetHeight() : 0;
}

// The smallest size among the pieces that exist; 0 when none does.
template <typename Measure>
int SmallestOf(const SkinPieceSet& set, std::initializer_list<int> pieces, Measure measure)
{
    int best = -1;
    for (const int piece : pieces) {
        if (Exists(set[piece]) && (best < 0 || measure(set, piece) < best))
            best = measure(set, piece);
    }
    return best < 0 ? 0 : best;
}

template <typename Measure>
int LargestOf(const SkinPieceSet& set, std::initializer_list<int> pieces, Measure measure)
{
    int best = 0;
    for (const int piece : pieces) {
        best = std::max(best, measure(set, piece));
    }
    return best;
}

} // namespace

bool ReadRecordColour(RecordCursor& cursor, GUI_Colour& out)
{
    return cursor.ReadU32(out.r) && cursor.ReadU32(out.g) && cursor.ReadU32(out.b) && cursor.ReadU32(out.a);
}

void WriteRecordColour(RecordWriter& writer, const GUI_Colour& colour)
{
    writer.WriteU32(colour.r);
    writer.WriteU32(colour.g);
    writer.WriteU32(colour.b);
    writer.WriteU32(colour.a);
}

bool ReadRecordFlag(RecordCursor& cursor, bool& out)
{
    std::uint8_t value = 0;
    if (!cursor.ReadU8(value))
        return false;
    out = value > 0;
    return true;
}

GUI_Window::GUI_Window(std::uint32_t kind) : m_Kind(kind) {}

GUI_Window::GUI_Window(int left, int top, int right, int bottom) : m_Kind(GUI_KIND_WINDOW)
{
    SetRect(left, top, right, bottom, true);
}

GUI_Window::~GUI_Window()
{
    GUI_Manager* const manager = GUI_System::GetManager();
    if (manager != nullptr) {
        manager->OnWindowDestroyed(this);
        if (m_pSkin != nullptr)
            manager->ReleaseSkin(m_pSkin);
    }
    if (m_pInterface != nullptr)
        m_pInterface->OnWindowDestroyed(this);
    ReleasePieces(m_Pieces);
    if (m_BackgroundTexture >= 0)
        GUI_System::ReleaseTexture(m_BackgroundTexture);
    DeleteChildren();
}

void GUI_Window::DeleteChildren()
{
    const std::vector<GUI_Window*> children = std::move(m_Children);
    m_Children.clear();
    m_ChildSet.clear();
    for (GUI_Window* const child : children) {
        child->m_pParent = nullptr;
        delete child;
    }
}

// ---- Geometry -----------------------------------------------------------------------------------------------------

void GUI_Window::SetRect(int left, int top, int right, int bottom, bool /*layout*/)
{
    m_Left = ClampCoordinate(left);
    m_Top = ClampCoordinate(top);
    m_Right = ClampCoordinate(right);
    m_Bottom = ClampCoordinate(bottom);
    LayoutPieces(m_Pieces, GUI_Colour{}, m_bBackgroundAlpha, m_BorderColour, m_bBorderAlpha);
    Invalidate(false);
}

void GUI_Window::LayoutPieces(SkinPieceSet& set, const GUI_Colour& centreColour, bool centreAlpha,
                              const GUI_Colour& borderColour, bool borderAlpha)
{
    if (Exists(set[PIECE_CENTER])) {
        SkinPieceSlot& centre = set[PIECE_CENTER];
        int x0 = 0;
        int y0 = 0;
        int width = 0;
        int height = 0;
        GetClientRect(x0, y0, width, height);
        int x1 = x0 + width;
        int y1 = y0 + height;
        FromClient(x0, y0);
        FromClient(x1, y1);
        x0 += centre.dx;
        y0 += centre.dy;
        x1 += centre.dw;
        y1 += centre.dh;
        centre.element->SetRect(x0, y0, x1 - x0, y1 - y0);
        centre.element->SetColour(centreColour.r, centreColour.g, centreColour.b, centreColour.a);
        centre.element->SetAlpha(centreAlpha);
    }
    if (m_BorderMode != BORDER_SKIN)
        return;
    const auto place = [&](int piece, int x, int y, int width, int height) {
        SkinPieceSlot& slot = set[piece];
        if (!Exists(slot))
            return;
        slot.element->SetRect(x, y, width, height);
        slot.element->SetColour(borderColour.r, borderColour.g, borderColour.b, borderColour.a);
        slot.element->SetAlpha(borderAlpha);
    };
    const auto w = [&](int piece) { return PieceWidth(set, piece); };
    const auto h = [&](int piece) { return PieceHeight(set, piece); };
    const auto& s = set;
    place(PIECE_LT, m_Left + s[PIECE_LT].dx, m_Top + s[PIECE_LT].dy, w(PIECE_LT), h(PIECE_LT));
    place(PIECE_T, m_Left + w(PIECE_LT) + s[PIECE_T].dx, m_Top + s[PIECE_T].dy,
          m_Right - m_Left - w(PIECE_LT) - w(PIECE_RT) + s[PIECE_T].dw, h(PIECE_T) + s[PIECE_T].dh);
    place(PIECE_RT, m_Right - w(PIECE_RT) + s[PIECE_RT].dx, m_Top + s[PIECE_RT].dy, w(PIECE_RT), h(PIECE_RT));
    place(PIECE_L, m_Left + s[PIECE_L].dx, m_Top + h(PIECE_LT) + s[PIECE_L].dy, w(PIECE_L) + s[PIECE_L].dw,
          m_Bottom - m_Top - h(PIECE_LT) - h(PIECE_LB) + s[PIECE_L].dh);
    place(PIECE_R, m_Right - w(PIECE_R) + s[PIECE_R].dx, m_Top + h(PIECE_RT) + s[PIECE_R].dy,
          w(PIECE_R) + s[PIECE_R].dw, m_Bottom - m_Top - h(PIECE_RT) - h(PIECE_RB) + s[PIECE_R].dh);
    place(PIECE_LB, m_Left + s[PIECE_LB].dx, m_Bottom - h(PIECE_LB) + s[PIECE_LB].dy, w(PIECE_LB), h(PIECE_LB));
    place(PIECE_B, m_Left + w(PIECE_LB) + s[PIECE_B].dx, m_Bottom - h(PIECE_B) + s[PIECE_B].dy,
          m_Right - m_Left - w(PIECE_LB) - w(PIECE_RB) + s[PIECE_B].dw, h(PIECE_B) + s[PIECE_B].dh);
    place(PIECE_RB, m_Right - w(PIECE_RB) + s[PIECE_RB].dx, m_Bottom - h(PIECE_RB) + s[PIECE_RB].dy, w(PIECE_RB),
          h(PIECE_RB));
}

bool GUI_Window::HitTest(int x, int y) const
{
    return m_Left <= x && x < m_Right && m_Top <= y && y < m_Bottom;
}

void GUI_Window::ToClient(int& x, int& y) const
{
    x -= m_Left;
    y -= m_Top;
    switch (m_BorderMode) {
    case BORDER_NONE:
        break;
    case BORDER_SKIN:
        x -= m_InsetLeft;
        y -= m_InsetTop;
        break;
    case BORDER_FRAME:
        x -= m_FrameInsetX;
        y -= m_FrameInsetY;
        break;
    default:
        TESSEL_ASSERT(false);
    }
}

void GUI_Window::FromClient(int& x, int& y) const
{
    x += m_Left;
    y += m_Top;
    switch (m_BorderMode) {
    case BORDER_NONE:
        break;
    case BORDER_SKIN:
        x += m_InsetLeft;
        y += m_InsetTop;
        break;
    case BORDER_FRAME:
        x += m_FrameInsetX;
        y += m_FrameInsetY;
        break;
    default:
        TESSEL_ASSERT(false);
    }
}

void GUI_Window::GetClientRect(int& x, int& y, int& width, int& height) const
{
    x = 0;
    y = 0;
    width = m_Right - m_Left;
    height = m_Bottom - m_Top;
    if (m_BorderMode == BORDER_SKIN) {
        width -= m_InsetLeft + m_InsetRight;
        height -= m_InsetTop + m_InsetBottom;
    } else if (m_BorderMode == BORDER_FRAME) {
        width -= 2 * m_FrameInsetX;
        height -= 2 * m_FrameInsetY;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
}

void GUI_Window::SetSize(int width, int height)
{
    SetRect(m_Left, m_Top, m_Left + width, m_Top + height, true);
}

void GUI_Window::MoveBy(int dx, int dy, bool recursive)
{
    if (recursive) {
        for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
            child->MoveBy(dx, dy, true);
        }
    }
    SetRect(m_Left + dx, m_Top + dy, m_Right + dx, m_Bottom + dy, true);
}

void GUI_Window::MoveTo(int x, int y, bool recursive)
{
    MoveBy(x - m_Left, y - m_Top, recursive);
}

void GUI_Window::SaveDesignRect()
{
    m_DesignLeft = m_Left;
    m_DesignTop = m_Top;
    m_DesignRight = m_Right;
    m_DesignBottom = m_Bottom;
}

void GUI_Window::GetDesignRect(int& left, int& top, int& right, int& bottom) const
{
    left = m_DesignLeft;
    top = m_DesignTop;
    right = m_DesignRight;
    bottom = m_DesignBottom;
}

void GUI_Window::GetSkinInsets(int& left, int& top, int& right, int& bottom) const
{
    left = m_InsetLeft;
    top = m_InsetTop;
    right = m_InsetRight;
    bottom = m_InsetBottom;
}

void GUI_Window::GetMinSize(int& width, int& height) const
{
    switch (m_BorderMode) {
    case BORDER_FRAME:
        width = 2 * m_FrameInsetX + 1;
        height = 2 * m_FrameInsetY + 1;
        return;
    case BORDER_SKIN: {
        const auto w = [](const SkinPieceSet& s, int p) { return PieceWidth(s, p); };
        const auto h = [](const SkinPieceSet& s, int p) { return PieceHeight(s, p); };
        width = LargestOf(m_Pieces, {PIECE_LT, PIECE_L, PIECE_LB}, w) + 1 +
                LargestOf(m_Pieces, {PIECE_RT, PIECE_R, PIECE_RB}, w);
        height = LargestOf(m_Pieces, {PIECE_LT, PIECE_T, PIECE_RT}, h) + 1 +
                 LargestOf(m_Pieces, {PIECE_LB, PIECE_B, PIECE_RB}, h);
        return;
    }
    default:
        width = 1;
        height = 1;
    }
}

void GUI_Window::GetMaxSize(int& width, int& height) const
{
    width = NO_LIMIT;
    height = NO_LIMIT;
    if (m_BorderMode != BORDER_SKIN)
        return;
    TESSEL_ASSERT(GetRaster() != NULL);
    // Columns LT L LB / T centre B / RT R RB; rows LT T RT / L centre R / LB B RB.
    static constexpr int COLUMN_OF[SKIN_PIECE_COUNT] = {0, 1, 2, 0, 1, 2, 0, 1, 2};
    static constexpr int ROW_OF[SKIN_PIECE_COUNT] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
    int columns[3] = {};
    int rows[3] = {};
    bool fixedX = false;
    bool looseX = false;
    bool fixedY = false;
    bool looseY = false;
    for (int piece = 0; piece < SKIN_PIECE_COUNT; ++piece) {
        const SkinPieceSlot& slot = m_Pieces[piece];
        if (!Exists(slot))
            continue;
        if (slot.element->GetModeX() == SIZE_MODE_NATURAL) {
            fixedX = true;
            columns[COLUMN_OF[piece]] = std::max(columns[COLUMN_OF[piece]], slot.element->GetTextureWidth());
        } else {
            looseX = true;
        }
        if (slot.element->GetModeY() == SIZE_MODE_NATURAL) {
            fixedY = true;
            rows[ROW_OF[piece]] = std::max(rows[ROW_OF[piece]], slot.element->GetTextureHeight());
        } else {
            looseY = true;
        }
    }
    if (fixedX && !looseX)
        width = columns[0] + columns[1] + columns[2];
    if (fixedY && !looseY)
        height = rows[0] + rows[1] + rows[2];
}

// ---- Tree ---------------------------------------------------------------------------------------------------------

void GUI_Window::AddChild(GUI_Window* window)
{
    TESSEL_ASSERT(window != NULL);
    if (window == nullptr || HasChild(window))
        return;
    if (window->m_pParent != nullptr)
        window->m_pParent->RemoveChild(window);
    else if (window->m_pInterface != nullptr)
        window->m_pInterface->RemoveWindow(window);
    window->m_pParent = this;
    window->SetInterface(m_pInterface);
    m_Children.push_back(window);
    m_ChildSet.insert(window);
    Invalidate(false);
    if (m_pInterface != nullptr)
        m_pInterface->OnWindowAdded(window);
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetChanged();
}

bool GUI_Window::RemoveChild(GUI_Window* window)
{
    if (m_ChildSet.empty())
        return false;
    if (HasChild(window)) {
        m_ChildSet.erase(window);
        const auto it = std::find(m_Children.begin(), m_Children.end(), window);
        if (it == m_Children.end()) {
            TESSEL_ASSERT(false);
            return false;
        }
        m_Children.erase(it);
        GUI_Interface* const screen = m_pInterface;
        window->m_pParent = nullptr;
        window->SetInterface(nullptr);
        if (screen != nullptr)
            screen->OnWindowRemoved(window);
        if (GUI_Manager* const manager = GUI_System::GetManager())
            manager->OnWindowRemoved(window);
        return true;
    }
    for (GUI_Window* const child : m_Children) {
        if (child->RemoveChild(window))
            return true;
    }
    return false;
}

bool GUI_Window::IsAncestorOf(const GUI_Window* window, bool recursive) const
{
    TESSEL_ASSERT(window);
    if (window == nullptr)
        return false;
    if (HasChild(window))
        return true;
    if (!recursive)
        return false;
    for (const GUI_Window* const child : m_Children) {
        if (child->IsAncestorOf(window, true))
            return true;
    }
    return false;
}

GUI_Window* GUI_Window::FindChild(std::u16string_view name, std::uint32_t kind) const
{
    for (GUI_Window* const child : m_Children) {
        if (EqualsNoCase(child->m_Name, name) && (kind == GUI_KIND_ANY || child->m_Kind == kind))
            return child;
        if (GUI_Window* const found = child->FindChild(name, kind))
            return found;
    }
    return nullptr;
}

GUI_Window* GUI_Window::FindWindowAt(int x, int y, bool skipTransparent, const std::set<GUI_Window*>* excluded)
{
    for (auto it = m_Children.rbegin(); it != m_Children.rend(); ++it) {
        if (GUI_Window* const hit = (*it)->FindWindowAt(x, y, skipTransparent, excluded))
            return hit;
    }
    if (m_bDisabled || m_bHidden || (skipTransparent && m_bMouseTransparent))
        return nullptr;
    if (excluded != nullptr && excluded->count(this) != 0)
        return nullptr;
    return HitTest(x, y) ? this : nullptr;
}

void GUI_Window::SetInterface(GUI_Interface* screen)
{
    m_pInterface = screen;
    for (GUI_Window* const child : m_Children) {
        child->SetInterface(screen);
    }
}

// ---- Flags --------------------------------------------------------------------------------------------------------

void GUI_Window::SetHidden(bool hidden)
{
    if (hidden == m_bHidden)
        return;
    m_bHidden = hidden;
    Invalidate(false);
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetChanged();
}

void GUI_Window::SetDisabled(bool disabled)
{
    if (disabled == m_bDisabled)
        return;
    m_bDisabled = disabled;
    Invalidate(false);
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetChanged();
}

void GUI_Window::SetBorderMode(int mode)
{
    if (mode == m_BorderMode)
        return;
    m_BorderMode = mode;
    Invalidate(false);
}

void GUI_Window::SetDepth(float depth)
{
    m_Depth = depth;
    for (SkinPieceSlot& slot : m_Pieces) {
        if (Exists(slot))
            slot.element->SetDepth(depth);
    }
    Invalidate(false);
}

void GUI_Window::SetBackgroundImage(std::u16string_view name, bool load)
{
    m_BackgroundImage = name;
    if (!load)
        return;
    if (m_BackgroundTexture >= 0)
        GUI_System::ReleaseTexture(m_BackgroundTexture);
    m_BackgroundTexture = -1;
    if (!m_BackgroundImage.empty())
        m_BackgroundTexture = GUI_System::LoadBitmap(m_BackgroundImage, m_bImagesFromLanguage);
    Invalidate(false);
}

void GUI_Window::Invalidate(bool recursive)
{
    if (!m_bDirty) {
        if (GUI_Manager* const manager = GUI_System::GetManager())
            manager->InvalidateWindow(this);
        m_bDirty = true;
    } else if (!recursive) {
        return;
    }
    if (recursive) {
        for (GUI_Window* const child : m_Children) {
            child->Invalidate(true);
        }
    }
}

// ---- Frame --------------------------------------------------------------------------------------------------------

void GUI_Window::Draw()
{
    if (m_bHidden)
        return;
    DrawBackground();
    DrawBorder();
    DrawChildren();
    m_bDirty = false;
}

void GUI_Window::Update()
{
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (HasChild(child))
            child->Update();
    }
}

void GUI_Window::DrawBackground()
{
    if (!m_bDrawBackground)
        return;
    if (m_BackgroundTexture < 0) {
        if (Exists(m_Pieces[PIECE_CENTER]))
            m_Pieces[PIECE_CENTER].element->Draw();
        return;
    }
    Raster* const raster = GetRaster();
    int width = 0;
    int height = 0;
    raster->GetTextureSize(m_BackgroundTexture, width, height);
    const RasterRect source{0, 0, width, height};
    int x = 0;
    int y = 0;
    FromClient(x, y);
    raster->DrawTextureEx(m_BackgroundTexture, static_cast<float>(x), static_cast<float>(y), static_cast<float>(m_Right),
                          static_cast<float>(m_Bottom), m_Depth, m_bBackgroundAlpha ? PRIM_COLOR_KEY : 0, &source);
}

void GUI_Window::DrawBorderPieces(const SkinPieceSet& set)
{
    for (int piece = 0; piece < SKIN_PIECE_COUNT; ++piece) {
        if (piece != PIECE_CENTER && Exists(set[piece]))
            set[piece].element->Draw();
    }
}

void GUI_Window::DrawBorder()
{
    switch (m_BorderMode) {
    case BORDER_NONE:
        return;
    case BORDER_SKIN:
        DrawBorderPieces(m_Pieces);
        return;
    case BORDER_FRAME: {
        Raster* const raster = GetRaster();
        DrawFrameRect(static_cast<float>(m_Left), static_cast<float>(m_Top), static_cast<float>(m_Right),
                      static_cast<float>(m_Bottom), 0.0f,
                      raster->MakeColor(static_cast<int>(m_BorderColour.r), static_cast<int>(m_BorderColour.g),
                                        static_cast<int>(m_BorderColour.b), 255),
                      false, 1.0f);
        return;
    }
    default:
        TESSEL_ASSERT(false);
    }
}

void GUI_Window::DrawChildren()
{
    for (GUI_Window* const child : m_Children) {
        child->Draw();
    }
}

// ---- Input --------------------------------------------------------------------------------------------------------

bool GUI_Window::HandleInput(const GUI_InputEvent& event)
{
    if (m_bHidden)
        return false;
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (!HasChild(child) || child->m_bHidden || child->m_bMouseTransparent)
            continue;
        if (event.IsMouse() && !child->HitTest(event.x, event.y))
            continue;
        if (child->HandleInput(event))
            return true;
    }
    return event.IsMouse() && event.code >= 0 && event.code <= GUI_MOUSE_MOVE && !m_bMouseTransparent &&
           HitTest(event.x, event.y);
}

// ---- Skins --------------------------------------------------------------------------------------------------------

void GUI_Window::ReleasePieces(SkinPieceSet& set)
{
    for (SkinPieceSlot& slot : set) {
        if (slot.texture >= 0)
            GUI_System::ReleaseTexture(slot.texture);
        slot = SkinPieceSlot{};
    }
}

void GUI_Window::SetSkin(std::u16string_view name, bool load, bool force)
{
    if (!force && EqualsNoCase(name, m_SkinName))
        return;
    m_SkinName = name;
    if (!load)
        return;
    m_InsetLeft = m_InsetTop = m_InsetRight = m_InsetBottom = 0;
    GUI_Manager* const manager = GUI_System::GetManager();
    if (m_pSkin != nullptr && manager != nullptr)
        manager->ReleaseSkin(m_pSkin);
    m_pSkin = nullptr;
    // A new skin replaces every piece: none of the old one's may stay behind.
    ReleasePieces(m_Pieces);
    if (!m_SkinName.empty() && manager != nullptr)
        m_pSkin = manager->GetSkin(m_SkinName);
    if (m_pSkin != nullptr) {
        ApplySkin(m_pSkin);
        const auto w = [](const SkinPieceSet& s, int p) { return PieceWidth(s, p); };
        const auto h = [](const SkinPieceSet& s, int p) { return PieceHeight(s, p); };
        m_InsetLeft = SmallestOf(m_Pieces, {PIECE_LT, PIECE_L, PIECE_LB}, w);
        m_InsetTop = SmallestOf(m_Pieces, {PIECE_LT, PIECE_T, PIECE_RT}, h);
        m_InsetRight = SmallestOf(m_Pieces, {PIECE_RT, PIECE_R, PIECE_RB}, w);
        m_InsetBottom = SmallestOf(m_Pieces, {PIECE_LB, PIECE_B, PIECE_RB}, h);
    }
    SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
    Invalidate(false);
}

bool GUI_Window::LoadSkinPiece(const GUI_Skin& skin, std::u16string_view key, SkinPieceSlot& slot)
{
    const std::u16string& value = skin.Lookup(key);
    if (value.empty())
        return false;
    const SkinPieceValue piece = ParseSkinPieceValue(value);
    if (!piece.HasImage())
        return false;
    const int texture = GUI_System::LoadBitmap(piece.file, m_bImagesFromLanguage);
    if (texture < 0)
        return false;
    if (!slot.element)
        slot.element = std::make_unique<GUI_ImageElement>();
    if (slot.texture >= 0)
        GUI_System::ReleaseTexture(slot.texture);
    int width = 0;
    int height = 0;
    GetRaster()->GetTextureSize(texture, width, height);
    slot.element->Set(texture, piece.dx, piece.dy, width + piece.dw, height + piece.dh, piece.modeX, piece.modeY);
    slot.element->SetDepth(m_Depth);
    slot.texture = texture;
    slot.dx = piece.dx;
    slot.dy = piece.dy;
    slot.dw = piece.dw;
    slot.dh = piece.dh;
    slot.file = piece.file;
    slot.fromLanguageFolder = m_bImagesFromLanguage;
    return true;
}

void GUI_Window::ApplySkin(const GUI_Skin* skin)
{
    if (skin == nullptr)
        return;
    m_bBorderAlpha = WStringToInt(skin->Lookup(WINDOW_BORDER_ALPHAENABLE)) != 0;
    m_bBackgroundAlpha = WStringToInt(skin->Lookup(WINDOW_BG_ALPHAENABLE)) != 0;
    for (int piece = 0; piece < SKIN_PIECE_COUNT; ++piece) {
        LoadSkinPiece(*skin, WINDOW_PIECE_KEYS[piece], m_Pieces[piece]);
    }
    Invalidate(false);
}

// ---- Devices ------------------------------------------------------------------------------------------------------

void GUI_Window::OnDeviceLost()
{
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (HasChild(child))
            child->OnDeviceLost();
    }
}

void GUI_Window::ReloadPieces(SkinPieceSet& set)
{
    for (SkinPieceSlot& slot : set) {
        if (slot.texture >= 0 && !slot.file.empty())
            GUI_System::ReloadBitmap(slot.texture, slot.file, true, slot.fromLanguageFolder);
    }
}

void GUI_Window::ReloadTextures()
{
    if (m_pSkin != nullptr)
        ReloadPieces(m_Pieces);
    if (m_BackgroundTexture >= 0)
        GUI_System::ReloadBitmap(m_BackgroundTexture, m_BackgroundImage, true, m_bImagesFromLanguage);
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (HasChild(child))
            child->ReloadTextures();
    }
}

void GUI_Window::Refresh()
{
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (HasChild(child))
            child->Refresh();
    }
}

// ---- Layout records -----------------------------------------------------------------------------------------------

bool GUI_Window::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    RecordCursor cursor(payload, size);
    bool borderAlpha = m_bBorderAlpha;
    std::u16string background;
    if (versionTenths >= 10) {
        std::u16string skin;
        std::int32_t rect[4] = {};
        std::uint32_t borderMode = 0;
        if (!cursor.ReadString(m_Name) || !cursor.ReadU32(m_Kind))
            return false;
        for (std::int32_t& value : rect) {
            if (!cursor.ReadI32(value))
                return false;
        }
        m_Left = ClampCoordinate(rect[0]);
        m_Top = ClampCoordinate(rect[1]);
        m_Right = ClampCoordinate(rect[2]);
        m_Bottom = ClampCoordinate(rect[3]);
        if (!cursor.ReadBool(m_bMouseTransparent) || !cursor.ReadBool(m_bHidden) || !cursor.ReadU32(borderMode))
            return false;
        m_BorderMode = static_cast<int>(borderMode);
        if (!cursor.ReadI32(m_FrameInsetX) || !cursor.ReadI32(m_FrameInsetY) || !ReadRecordColour(cursor, m_BorderColour) ||
            !cursor.ReadBool(borderAlpha) || !cursor.ReadString(skin))
            return false;
        SetSkin(skin, true, false);
        if (!cursor.ReadBool(m_bDrawBackground) || !cursor.ReadString(background) ||
            !ReadRecordColour(cursor, m_SecondColour) || !cursor.ReadBool(m_bBackgroundAlpha) ||
            !cursor.ReadU8(m_HorizontalAnchor) || !cursor.ReadBool(m_bStretchHorizontally))
            return false;
        m_bBorderAlpha = borderAlpha;

        std::uint32_t childCount = 0;
        if (!cursor.ReadU32(childCount))
            return false;
        const NestingGuard nesting;
        for (std::uint32_t i = 0; i < childCount; ++i) {
            RecordChunk chunk;
            if (!cursor.ReadChunk(chunk))
                return false;
            if (s_LoadNesting > MAX_RECORD_NESTING)
                continue;
            std::unique_ptr<GUI_Window> child = CreateWindowForTag(chunk.tag);
            if (child && child->Load(chunk.payload, chunk.size, chunk.VersionTenths()))
                AddChild(child.release());
        }
    }
    if (versionTenths >= 11 && !cursor.ReadBool(m_bImagesFromLanguage))
        return false;
    if (versionTenths >= 12) {
        if (!cursor.ReadBool(m_bStretchVertically))
            return false;
    } else {
        m_bStretchVertically = m_bStretchHorizontally;
    }
    if (versionTenths >= 13) {
        if (!cursor.ReadU8(m_VerticalAnchor))
            return false;
    } else {
        m_VerticalAnchor = m_HorizontalAnchor;
    }
    SetBackgroundImage(background, true);
    return true;
}

bool GUI_Window::LoadWindowPart(RecordCursor& cursor)
{
    RecordChunk chunk;
    if (!cursor.ReadChunk(chunk) || chunk.tag != TAG_GWND)
        return false;
    return GUI_Window::Load(chunk.payload, chunk.size, chunk.VersionTenths());
}

bool GUI_Window::Save(RecordWriter& writer) const
{
    return SaveWindowRecord(writer, true);
}

bool GUI_Window::SaveWindowRecord(RecordWriter& writer, bool withChildren) const
{
    writer.BeginRecord(TAG_GWND, GWND_VERSION);
    writer.WriteString(m_Name);
    writer.WriteU32(m_Kind);
    writer.WriteI32(m_Left);
    writer.WriteI32(m_Top);
    writer.WriteI32(m_Right);
    writer.WriteI32(m_Bottom);
    writer.WriteBool(m_bMouseTransparent);
    writer.WriteBool(m_bHidden);
    writer.WriteU32(static_cast<std::uint32_t>(m_BorderMode));
    writer.WriteI32(m_FrameInsetX);
    writer.WriteI32(m_FrameInsetY);
    WriteRecordColour(writer, m_BorderColour);
    writer.WriteBool(m_bBorderAlpha);
    writer.WriteString(m_SkinName);
    writer.WriteBool(m_bDrawBackground);
    writer.WriteString(m_BackgroundImage);
    WriteRecordColour(writer, m_SecondColour);
    writer.WriteBool(m_bBackgroundAlpha);
    writer.WriteU8(m_HorizontalAnchor);
    writer.WriteBool(m_bStretchHorizontally);
    bool ok = true;
    if (withChildren) {
        writer.WriteU32(static_cast<std::uint32_t>(m_Children.size()));
        for (const GUI_Window* const child : m_Children) {
            if (!child->Save(writer)) {
                ok = false;
                break;
            }
        }
    } else {
        writer.WriteU32(0);
    }
    writer.WriteBool(m_bImagesFromLanguage);
    writer.WriteBool(m_bStretchVertically);
    writer.WriteU8(m_VerticalAnchor);
    writer.EndRecord();
    return ok && !writer.Failed();
}
