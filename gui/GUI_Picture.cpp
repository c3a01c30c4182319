#include "gui/GUI_Picture.h"

#include "engine/raster/Raster.h"
#include "gui/GUI_System.h"
#include "gui/LayoutRecords.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::uint32_t FLOAT_ONE = std::bit_cast<std::uint32_t>(1.0f);

// One axis: the span [start, end) of the window and the texture's extent; dest and source ends are filled.
void PlaceAxis(int start, int end, int extent, bool stretch, int alignment, int& destStart, int& destEnd,
               int& sourceStart, int& sourceEnd)
{
    sourceStart = 0;
    sourceEnd = extent;
    if (stretch) {
        destStart = start;
        destEnd = end;
        return;
    }
    const int room = end - start;
    destStart = start;
    destEnd = start + std::min(room, extent);
    if (extent > room)
        sourceEnd = room;
    const int free = room - extent;
    const int shift = alignment == 1 ? free / 2 : alignment == 2 ? free : 0;
    if (extent <= room) {
        destStart += shift;
        destEnd += shift;
    } else {
        sourceStart -= shift;
        sourceEnd -= shift;
    }
}

} // namespace

GUI_Picture::GUI_Picture() : GUI_Window(GUI_KIND_PICTURE)
{
    m_StoredValues = {0, 0, FLOAT_ONE, 0, 0, FLOAT_ONE, FLOAT_ONE, FLOAT_ONE};
    m_bDrawBackground = false;
    m_BorderMode = BORDER_NONE;
    m_bMouseTransparent = true;
}

GUI_Picture::~GUI_Picture()
{
    if (m_Texture >= 0)
        GUI_System::ReleaseTexture(m_Texture);
}

void GUI_Picture::SetImage(std::u16string_view fileName, bool load)
{
    if (load && m_Texture >= 0) {
        GUI_System::ReleaseTexture(m_Texture);
        m_Texture = -1;
    }
    m_ImageFile = fileName;
    if (!load)
        return;
    if (!m_ImageFile.empty())
        m_Texture = GUI_System::LoadBitmap(m_ImageFile, m_bImageFromLanguage);
    Invalidate(false);
}

bool GUI_Picture::ComputeRects(RasterRect& destination, RasterRect& source) const
{
    if (m_Texture < 0)
        return false;
    int width = 0;
    int height = 0;
    GetRaster()->GetTextureSize(m_Texture, width, height);
    PlaceAxis(m_Left, m_Right, width, m_bImageStretchH, m_HorizontalAlignment, destination.left,
              destination.right, source.left, source.right);
    PlaceAxis(m_Top, m_Bottom, height, m_bImageStretchV, m_VerticalAlignment, destination.top,
              destination.bottom, source.top, source.bottom);
    return true;
}

void GUI_Picture::Draw()
{
    if (m_bHidden)
        return;
    GUI_Window::Draw();
    RasterRect destination;
    RasterRect source;
    if (!ComputeRects(destination, source))
        return;
    GetRaster()->DrawTextureEx(m_Texture, static_cast<float>(destination.left), static_cast<float>(destination.top),
                               static_cast<float>(destination.right), static_cast<float>(destination.bottom), m_Depth,
                               m_bAlpha ? PRIM_COLOR_KEY : 0, &source);
}

void GUI_Picture::ReloadTextures()
{
    if (m_Texture >= 0)
        GUI_System::ReloadBitmap(m_Texture, m_ImageFile, true, m_bImageFromLanguage);
    GUI_Window::ReloadTextures();
}

bool GUI_Picture::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    RecordCursor cursor(payload, size);
    std::u16string image;
    if (versionTenths >= 10) {
        std::uint32_t horizontal = 0;
        std::uint32_t vertical = 0;
        if (!cursor.ReadString(image) || !ReadRecordColour(cursor, m_Colour) || !cursor.ReadBool16(m_bAlpha) ||
            !cursor.ReadBool16(m_bImageStretchH) || !cursor.ReadBool16(m_bImageStretchV) ||
            !cursor.ReadU32(horizontal) || !cursor.ReadU32(vertical))
            return false;
        m_HorizontalAlignment = static_cast<int>(horizontal);
        m_VerticalAlignment = static_cast<int>(vertical);
        for (std::uint32_t& value : m_StoredValues) {
            if (!cursor.ReadU32(value))
                return false;
        }
    }
    if (versionTenths >= 11 && !cursor.ReadBool16(m_bImageFromLanguage))
        return false;
    SetImage(image, true);
    return LoadWindowPart(cursor);
}

bool GUI_Picture::Save(RecordWriter& writer) const
{
    writer.BeginRecord(TAG_GPIC, GPIC_VERSION);
    writer.WriteString(m_ImageFile);
    WriteRecordColour(writer, m_Colour);
    writer.WriteBool16(m_bAlpha);
    writer.WriteBool16(m_bImageStretchH);
    writer.WriteBool16(m_bImageStretchV);
    writer.WriteU32(static_cast<std::uint32_t>(m_HorizontalAlignment));
    writer.WriteU32(static_cast<std::uint32_t>(m_VerticalAlignment));
    for (const std::uint32_t value : m_StoredValues) {
        writer.WriteU32(value);
    }
    writer.WriteBool16(m_bImageFromLanguage);
    const bool ok = SaveWindowRecord(writer, true);
    writer.EndRecord();
    return ok && !writer.Failed();
}
