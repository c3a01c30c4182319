#include "gui/GUI_Button.h"

#include "engine/core/BitmapFile.h"
#include "engine/raster/Raster.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/LayoutRecords.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

// One axis of a face image: destination span and source span within the texture.
void PlaceFaceAxis(int start, int end, int extent, int mode, bool clip, int alignment, int& destStart, int& destEnd,
                   int& sourceStart, int& sourceEnd)
{
    sourceStart = 0;
    sourceEnd = extent;
    if (mode != SIZE_MODE_NATURAL) {
        destStart = start;
        destEnd = end;
        return;
    }
    const int room = end - start;
    destStart = start;
    destEnd = start + (clip ? std::min(room, extent) : extent);
    if (clip && room < extent)
        sourceEnd = room;
    const int offset = alignment == 1 ? (room - extent) / 2 : alignment == 2 ? room - extent : 0;
    if (clip && room < extent) {
        sourceStart -= offset;
        sourceEnd -= offset;
    } else {
        destStart += offset;
        destEnd += offset;
    }
}

} // namespace

GUI_Button::GUI_Button(std::uint32_t kind) : GUI_Window(kind)
{
    m_bBorderAlpha = true;
    m_bBackgroundAlpha = true;
}

GUI_Button::~GUI_Button()
{
    for (ButtonLookData& look : m_Looks) {
        if (look.texture >= 0)
            GUI_System::ReleaseTexture(look.texture);
    }
    for (SkinPieceSet& set : m_Sets) {
        ReleasePieces(set);
    }
}

// ---- Looks --------------------------------------------------------------------------------------------------------

void GUI_Button::SetLookImage(ButtonLook look, std::u16string_view file, bool load)
{
    ButtonLookData& data = m_Looks[look];
    if (load && data.texture >= 0) {
        GUI_System::ReleaseTexture(data.texture);
        data.texture = -1;
    }
    data.file = file;
    if (!load)
        return;
    if (!data.file.empty()) {
        const int texture = GUI_System::LoadBitmap(data.file, data.fromLanguage);
        if (texture >= 0)
            data.texture = texture;
    }
    Invalidate(false);
}

void GUI_Button::SizeToUpImage()
{
    const int texture = m_Looks[LOOK_UP].texture;
    if (texture < 0)
        return;
    int width = 0;
    int height = 0;
    GetRaster()->GetTextureSize(texture, width, height);
    SetSize(width, height);
}

ButtonLook GUI_Button::GetCurrentLook() const
{
    if (m_bDisabled)
        return LOOK_DISABLED;
    if (m_bPressed)
        return LOOK_DOWN;
    if (m_bHighlighted)
        return LOOK_MOUSEOVER;
    return LOOK_UP;
}

void GUI_Button::SetPressed(bool pressed)
{
    if (pressed == m_bPressed)
        return;
    m_bPressed = pressed;
    Invalidate(false);
}

void GUI_Button::SetHighlighted(bool highlighted)
{
    if (highlighted == m_bHighlighted)
        return;
    m_bHighlighted = highlighted;
    Invalidate(false);
}

// ---- Hit mask -----------------------------------------------------------------------------------------------------

void GUI_Button::LoadHitMask(std::u16string_view file, bool load)
{
    if (load) {
        m_HitMask.clear();
        m_HitMaskWidth = 0;
        m_HitMaskHeight = 0;
    }
    m_HitMaskFile = file;
    if (m_HitMaskFile.empty() || !load)
        return;
    const std::u16string path = GUI_System::JoinPath(
        m_bHitMaskFromLanguage ? GUI_System::GetLanguageDirectory() : GUI_System::GetDataDirectory(), m_HitMaskFile);
    RasterBitmap bitmap;
    if (!LoadBitmapFile(path, bitmap))
        return;
    if (bitmap.width < 1 || bitmap.height < 1 ||
        static_cast<long long>(bitmap.width) * bitmap.height > MAX_HIT_MASK_PIXELS)
        return;
    const std::size_t pixels = static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
    m_HitMask.assign((pixels + 7) / 8, 0);
    m_HitMaskWidth = bitmap.width;
    m_HitMaskHeight = bitmap.height;
    // The decoder gives rows from the top, as the mask keeps them; black pixels miss.
    for (std::size_t n = 0; n < pixels; ++n) {
        if ((bitmap.pixels[n] & 0x00FFFFFFu) != 0)
            m_HitMask[n / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
    }
}

bool GUI_Button::HitTest(int x, int y) const
{
    if (!GUI_Window::HitTest(x, y))
        return false;
    if (!GUI_System::IsPixelHitTestEnabled() || !m_bUseHitMask || m_HitMask.empty())
        return true;
    const auto span = [](int start, int end, int extent, bool stretch, int alignment, int& from, int& to) {
        if (stretch) {
            from = start;
            to = end;
            return;
        }
        const int room = end - start;
        from = start;
        if (alignment == 1)
            from += (room - extent) / 2;
        else if (alignment == 2 && room >= extent)
            from += room - extent;
        to = from + extent;
    };
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
    span(m_Left, m_Right, m_HitMaskWidth, m_HitMaskStretchH != 0, m_HitMaskAlignH, x0, x1);
    span(m_Top, m_Bottom, m_HitMaskHeight, m_HitMaskStretchV != 0, m_HitMaskAlignV, y0, y1);
    if (x1 <= x0 || y1 <= y0)
        return false;
    const long long mx = static_cast<long long>(x - x0) * m_HitMaskWidth / (x1 - x0);
    const long long my = static_cast<long long>(y - y0) * m_HitMaskHeight / (y1 - y0);
    if (x < x0 || y < y0 || mx < 0 || my < 0 || mx >= m_HitMaskWidth || my >= m_HitMaskHeight)
        return false;
    const long long n = my * m_HitMaskWidth + mx;
    return (m_HitMask[static_cast<std::size_t>(n / 8)] >> (n % 8)) & 1u;
}

// ---- Input --------------------------------------------------------------------------------------------------------

void GUI_Button::TakeCapture()
{
    if (m_pInterface != nullptr)
        m_pInterface->SetCapture(this);
    else if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->SetCapture(this);
}

bool GUI_Button::HandleInput(const GUI_InputEvent& event)
{
    if (m_bDisabled)
        return false;
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        if (!HasChild(child))
            continue;
        if (event.IsMouse() && !child->HitTest(event.x, event.y))
            continue;
        if (child->HandleInput(event))
            return true;
    }
    if (!event.IsMouse())
        return false;
    switch (event.code) {
    case GUI_MOUSE_LEFT_DOWN:
    case GUI_MOUSE_LEFT_DBLCLK:
        if (!HitTest(event.x, event.y))
            return false;
        if (m_bCaptured)
            return true;
        m_bCaptured = true;
        m_PressOffsetX = event.x - m_Left;
        m_PressOffsetY = event.y - m_Top;
        TakeCapture();
        SetPressed(true);
        return true;
    case GUI_MOUSE_LEFT_UP: {
        // Only a release that belongs to this button is handled, so that a release elsewhere reaches its owner.
        const bool captured = m_bCaptured;
        const bool hit = HitTest(event.x, event.y);
        if (captured && hit) {
            OnCaptureLost();
            OnClick(event.x, event.y, event.keys);
        } else {
            OnCaptureLost();
        }
        return captured || hit;
    }
    case GUI_MOUSE_MOVE:
        if (!m_bCaptured)
            return false;
        if (event.keys & GUI_KEY_LBUTTON)
            SetPressed(HitTest(event.x, event.y));
        else
            OnCaptureLost();
        return false;
    default:
        return false;
    }
}

void GUI_Button::OnClick(int x, int y, std::uint32_t keys)
{
    GUI_InputEvent command;
    command.type = GUI_EVENT_COMMAND;
    command.keys = keys;
    command.sender = this;
    command.x = x;
    command.y = y;
    GetGUIManager()->DispatchEvent(command);
}

void GUI_Button::OnMouseEnter()
{
    if (m_bDisabled)
        return;
    SetHighlighted(true);
    if (m_bCaptured && !m_bPressed)
        SetPressed(true);
}

void GUI_Button::OnMouseLeave()
{
    if (m_bDisabled)
        return;
    SetHighlighted(false);
    if (m_bCaptured && m_bPressed)
        SetPressed(false);
}

void GUI_Button::OnCaptureLost()
{
    SetPressed(false);
    if (!m_bCaptured)
        return;
    m_bCaptured = false;
    if (m_pInterface != nullptr)
        m_pInterface->ReleaseCapture();
    else if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->ReleaseCapture();
}

void GUI_Button::Refresh()
{
    int x = 0;
    int y = 0;
    if (GUI_Manager* const manager = GUI_System::GetManager())
        manager->GetCursorPos(x, y);
    m_bHighlighted = HitTest(x, y);
    m_bPressed = false;
    GUI_Window::Refresh();
}

void GUI_Button::SetDisabled(bool disabled)
{
    if (disabled != m_bDisabled) {
        if (disabled) {
            m_bHighlighted = false;
        } else {
            int x = 0;
            int y = 0;
            if (GUI_Manager* const manager = GUI_System::GetManager())
                manager->GetCursorPos(x, y);
            m_bHighlighted = HitTest(x, y);
        }
        m_bPressed = false;
    }
    GUI_Window::SetDisabled(disabled);
}

// ---- Skin and layout ----------------------------------------------------------------------------------------------

void GUI_Button::ApplySkin(const GUI_Skin* skin)
{
    for (SkinPieceSet& set : m_Sets) {
        ReleasePieces(set);
    }
    if (skin == nullptr)
        return;
    const auto flag = [&](std::u16string_view key) { return WStringToInt(skin->Lookup(key)) > 0; };
    m_bBorderAlpha = flag(BUTTON_BORDER_ALPHA_KEYS[LOOK_UP]);
    m_bBackgroundAlpha = flag(BUTTON_BG_ALPHA_KEYS[LOOK_UP]);
    for (int look = LOOK_DOWN; look < LOOK_COUNT; ++look) {
        m_Looks[look].borderAlpha = flag(BUTTON_BORDER_ALPHA_KEYS[look]);
        m_Looks[look].backgroundAlpha = flag(BUTTON_BG_ALPHA_KEYS[look]);
    }
    // Skin pieces come from the data folder, whatever the window's folder flag says.
    const bool fromLanguage = m_bImagesFromLanguage;
    m_bImagesFromLanguage = false;
    for (int piece = 0; piece < SKIN_PIECE_COUNT; ++piece) {
        LoadSkinPiece(*skin, BUTTON_PIECE_KEYS[LOOK_UP][piece], m_Pieces[piece]);
        for (int look = LOOK_DOWN; look < LOOK_COUNT; ++look) {
            LoadSkinPiece(*skin, BUTTON_PIECE_KEYS[look][piece], m_Sets[look - 1][piece]);
        }
    }
    m_bImagesFromLanguage = fromLanguage;
    Invalidate(false);
}

void GUI_Button::SetRect(int left, int top, int right, int bottom, bool layout)
{
    GUI_Window::SetRect(left, top, right, bottom, layout);
    for (int look = LOOK_DOWN; look < LOOK_COUNT; ++look) {
        const ButtonLookData& data = m_Looks[look];
        LayoutPieces(m_Sets[look - 1], data.background, data.backgroundAlpha, data.frame, data.borderAlpha);
    }
}

// ---- Drawing ------------------------------------------------------------------------------------------------------

void GUI_Button::Draw()
{
    if (m_bHidden)
        return;
    DrawBackground();
    DrawBorder();
    DrawFace();
    DrawChildren();
    m_bDirty = false;
}

void GUI_Button::DrawBackground()
{
    if (!m_bDrawBackground)
        return;
    if (!m_bPressed && !m_bHighlighted) {
        GUI_Window::DrawBackground();
        return;
    }
    switch (m_BorderMode) {
    case BORDER_NONE:
    case BORDER_FRAME:
        return;
    case BORDER_SKIN: {
        const SkinPieceSlot& centre = m_Sets[(m_bPressed ? LOOK_DOWN : LOOK_MOUSEOVER) - 1][PIECE_CENTER];
        if (centre.element)
            centre.element->Draw();
        return;
    }
    default:
        TESSEL_ASSERT(false);
    }
}

void GUI_Button::DrawBorder()
{
    if (!m_bPressed && !m_bHighlighted && !m_bDisabled) {
        GUI_Window::DrawBorder();
        return;
    }
    if ((m_bDisabled && !m_Looks[LOOK_DISABLED].border) || (m_bPressed && !m_Looks[LOOK_DOWN].border) ||
        !m_Looks[LOOK_MOUSEOVER].border || m_BorderMode == BORDER_NONE)
        return;
    switch (m_BorderMode) {
    case BORDER_SKIN:
        DrawBorderPieces(m_Sets[(m_bPressed ? LOOK_DOWN : LOOK_MOUSEOVER) - 1]);
        return;
    case BORDER_FRAME: {
        const GUI_Colour& colour = m_Looks[m_bDisabled  ? LOOK_DISABLED
                                           : m_bPressed ? LOOK_DOWN
                                                        : LOOK_MOUSEOVER]
                                       .frame;
        DrawFrameRect(static_cast<float>(m_Left), static_cast<float>(m_Top), static_cast<float>(m_Right),
                      static_cast<float>(m_Bottom), 0.0f,
                      GetRaster()->MakeColor(static_cast<int>(colour.r), static_cast<int>(colour.g),
                                             static_cast<int>(colour.b), 255),
                      false, 1.0f);
        return;
    }
    default:
        TESSEL_ASSERT(false);
    }
}

void GUI_Button::DrawFace()
{
    const ButtonLookData& look = m_Looks[GetCurrentLook()];
    if (!look.show || look.texture < 0)
        return;
    int width = 0;
    int height = 0;
    Raster* const raster = GetRaster();
    raster->GetTextureSize(look.texture, width, height);
    RasterRect destination;
    RasterRect source;
    PlaceFaceAxis(m_Left, m_Right, width, look.modeH, look.clip, look.alignH, destination.left, destination.right,
                  source.left, source.right);
    PlaceFaceAxis(m_Top, m_Bottom, height, look.modeV, look.clip, look.alignV, destination.top, destination.bottom,
                  source.top, source.bottom);
    const std::uint32_t flags = look.backgroundAlpha ? PRIM_COLOR_KEY : 0;
    if (look.modeH != SIZE_MODE_TILE && look.modeV != SIZE_MODE_TILE)
        raster->DrawTextureEx(look.texture, static_cast<float>(destination.left), static_cast<float>(destination.top),
                              static_cast<float>(destination.right), static_cast<float>(destination.bottom), m_Depth,
                              flags, look.clip ? &source : nullptr);
    else
        raster->DrawTextureTiled(look.texture, static_cast<float>(destination.left),
                                 static_cast<float>(destination.top), static_cast<float>(destination.right),
                                 static_cast<float>(destination.bottom), m_Depth, flags);
}

// ---- Devices ------------------------------------------------------------------------------------------------------

void GUI_Button::ReloadTextures()
{
    for (const ButtonLookData& look : m_Looks) {
        if (look.texture >= 0)
            GUI_System::ReloadBitmap(look.texture, look.file, true, look.fromLanguage);
    }
    for (SkinPieceSet& set : m_Sets) {
        ReloadPieces(set);
    }
    GUI_Window::ReloadTextures();
}

// ---- Layout record ------------------------------------------------------------------------------------------------

bool GUI_Button::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    return LoadButtonRecord(payload, size, versionTenths);
}

bool GUI_Button::LoadButtonRecord(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    RecordCursor cursor(payload, size);
    ButtonLookData& up = m_Looks[LOOK_UP];
    ButtonLookData& down = m_Looks[LOOK_DOWN];
    ButtonLookData& over = m_Looks[LOOK_MOUSEOVER];
    ButtonLookData& disabled = m_Looks[LOOK_DISABLED];
    std::u16string files[LOOK_COUNT];
    if (versionTenths >= 10) {
        if (!cursor.ReadU32(m_ClickEffect) || !ReadRecordFlag(cursor, up.show) || !cursor.ReadString(files[LOOK_UP]) ||
            !ReadRecordColour(cursor, up.background) || !ReadRecordFlag(cursor, up.backgroundAlpha) || !ReadRecordFlag(cursor, up.clip))
            return false;
        if (!ReadRecordFlag(cursor, down.show) || !ReadRecordFlag(cursor, down.border) || !cursor.ReadString(files[LOOK_DOWN]) ||
            !ReadRecordColour(cursor, down.background) || !ReadRecordColour(cursor, down.frame) ||
            !ReadRecordFlag(cursor, down.backgroundAlpha) || !ReadRecordFlag(cursor, down.borderAlpha) || !ReadRecordFlag(cursor, down.clip))
            return false;
        if (!ReadRecordFlag(cursor, over.show) || !ReadRecordFlag(cursor, over.border) ||
            !cursor.ReadString(files[LOOK_MOUSEOVER]) || !ReadRecordColour(cursor, over.background) ||
            !ReadRecordColour(cursor, over.frame) || !ReadRecordFlag(cursor, over.backgroundAlpha) ||
            !ReadRecordFlag(cursor, over.borderAlpha) || !ReadRecordFlag(cursor, over.clip))
            return false;
    } else {
        files[LOOK_UP] = up.file;
        files[LOOK_DOWN] = down.file;
        files[LOOK_MOUSEOVER] = over.file;
    }
    files[LOOK_DISABLED] = disabled.file;
    if (versionTenths >= 11) {
        if (!ReadRecordFlag(cursor, disabled.show) || !ReadRecordFlag(cursor, disabled.border) ||
            !cursor.ReadString(files[LOOK_DISABLED]) || !ReadRecordColour(cursor, disabled.background) ||
            !ReadRecordColour(cursor, disabled.frame) || !ReadRecordFlag(cursor, disabled.backgroundAlpha) ||
            !ReadRecordFlag(cursor, disabled.borderAlpha) || !ReadRecordFlag(cursor, disabled.clip))
            return false;
    }
    if (versionTenths >= 12) {
        for (ButtonLookData& look : m_Looks) {
            if (!cursor.ReadU8(look.modeH) || !cursor.ReadU8(look.modeV))
                return false;
        }
    }
    if (versionTenths >= 13) {
        for (ButtonLookData& look : m_Looks) {
            if (!ReadRecordFlag(cursor, look.fromLanguage))
                return false;
        }
    }
    std::u16string maskFile = m_HitMaskFile;
    if (versionTenths >= 14) {
        if (!ReadRecordFlag(cursor, m_bUseHitMask) || !cursor.ReadString(maskFile) || !cursor.ReadU8(m_HitMaskStretchH) ||
            !cursor.ReadU8(m_HitMaskStretchV) || !ReadRecordFlag(cursor, m_bHitMaskFromLanguage))
            return false;
    }
    if (versionTenths >= 15) {
        for (ButtonLookData& look : m_Looks) {
            if (!cursor.ReadU8(look.alignH) || !cursor.ReadU8(look.alignV))
                return false;
        }
        if (!cursor.ReadU8(m_HitMaskAlignH) || !cursor.ReadU8(m_HitMaskAlignV))
            return false;
    }
    SetUpImage(files[LOOK_UP], true);
    SetDownImage(files[LOOK_DOWN], true);
    SetMouseOverImage(files[LOOK_MOUSEOVER], true);
    SetDisabledImage(files[LOOK_DISABLED], true);
    LoadHitMask(maskFile, true);
    if (!LoadWindowPart(cursor))
        return false;
    // The window part's rectangle lays the extra skin sets out too.
    SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
    return true;
}

bool GUI_Button::Save(RecordWriter& writer) const
{
    return SaveButtonRecord(writer);
}

bool GUI_Button::SaveButtonRecord(RecordWriter& writer) const
{
    const ButtonLookData& up = m_Looks[LOOK_UP];
    writer.BeginRecord(TAG_GBTN, GBTN_VERSION);
    writer.WriteU32(m_ClickEffect);
    writer.WriteBool(up.show);
    writer.WriteString(up.file);
    WriteRecordColour(writer, up.background);
    writer.WriteBool(up.backgroundAlpha);
    writer.WriteBool(up.clip);
    for (const ButtonLook lookId : {LOOK_DOWN, LOOK_MOUSEOVER, LOOK_DISABLED}) {
        const ButtonLookData& look = m_Looks[lookId];
        writer.WriteBool(look.show);
        writer.WriteBool(look.border);
        writer.WriteString(look.file);
        WriteRecordColour(writer, look.background);
        WriteRecordColour(writer, look.frame);
        writer.WriteBool(look.backgroundAlpha);
        writer.WriteBool(look.borderAlpha);
        writer.WriteBool(look.clip);
    }
    for (const ButtonLookData& look : m_Looks) {
        writer.WriteU8(look.modeH);
        writer.WriteU8(look.modeV);
    }
    for (const ButtonLookData& look : m_Looks) {
        writer.WriteBool(look.fromLanguage);
    }
    writer.WriteBool(m_bUseHitMask);
    writer.WriteString(m_HitMaskFile);
    writer.WriteU8(m_HitMaskStretchH);
    writer.WriteU8(m_HitMaskStretchV);
    writer.WriteBool(m_bHitMaskFromLanguage);
    for (const ButtonLookData& look : m_Looks) {
        writer.WriteU8(look.alignH);
        writer.WriteU8(look.alignV);
    }
    writer.WriteU8(m_HitMaskAlignH);
    writer.WriteU8(m_HitMaskAlignV);
    const bool ok = SaveWindowRecord(writer, true);
    writer.EndRecord();
    return ok && !writer.Failed();
}
