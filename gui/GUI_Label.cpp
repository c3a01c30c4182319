#include "gui/GUI_Label.h"

#include "engine/raster/Raster.h"
#include "engine/core/StringTable.h"
#include "gui/GUI_System.h"
#include "gui/LayoutRecords.h"
#include "platform/Platform.h"

namespace {

// Window coordinates are kept within ten million; a margin from a damaged record must not overflow them.
int ClampMargin(int value)
{
    constexpr int LIMIT = 10000000;
    return value < -LIMIT ? -LIMIT : (value > LIMIT ? LIMIT : value);
}

bool ReadInt(RecordCursor& cursor, int& out)
{
    std::int32_t value = 0;
    if (!cursor.ReadI32(value))
        return false;
    out = value;
    return true;
}

// Lays a record out for width when its layout is for another width, so that the next drawing draws.
void EnsureLaidOut(FormattedText* record, int width, int font)
{
    if (record->m_Width == width)
        return;
    GUI_System::ResetFormattedText(record);
    GUI_System::DrawFormattedText(record, RasterRect{0, 0, width, LABEL_LAYOUT_HEIGHT}, font, 0, 0, -1, 0, true);
}

} // namespace

std::uint32_t PackTextColour(const GUI_Colour& colour)
{
    return (colour.r & 0xFF) | ((colour.g & 0xFF) << 8) | ((colour.b & 0xFF) << 16);
}

GUI_Label::GUI_Label(std::uint32_t kind) : GUI_Window(kind)
{
    SetMouseTransparent(true);
}

void GUI_Label::SetTextID(std::u16string_view key)
{
    m_TextKey = key;
    Invalidate(false);
    m_ResolvedText.clear();
    if (m_TextKey.empty())
        return;
    if (!m_bFormatted)
        m_ResolvedText = GUI_System::GetString(m_TextKey);
    else
        UpdateFormattedText();
}

void GUI_Label::SetText(std::u16string_view text)
{
    m_bFormatted = false;
    Invalidate(false);
    m_ResolvedText = text;
}

FormattedText* GUI_Label::GetFormattedRecord() const
{
    if (!m_bFormatted || m_TextKey.empty())
        return nullptr;
    return GUI_System::GetFormattedText(m_TextKey);
}

void GUI_Label::UpdateFormattedText()
{
    FormattedText* const record = GetFormattedRecord();
    if (record == nullptr)
        return;
    GUI_System::ResetFormattedText(record);
    GUI_System::DrawFormattedText(record, RasterRect{0, 0, GetTextRect().Width(), LABEL_LAYOUT_HEIGHT}, m_Font, 0, 0,
                                  -1, 0, true);
}

void GUI_Label::SetFont(int font)
{
    m_Font = font;
    Invalidate(false);
}

void GUI_Label::SetShadow(bool shadow)
{
    m_bShadow = shadow;
    Invalidate(false);
}

void GUI_Label::SetFitToText(bool fit, bool apply)
{
    m_bFitToText = fit;
    if (apply)
        FitToText();
}

void GUI_Label::SetAlignment(int horizontal, int vertical)
{
    m_HorizontalAlignment = horizontal;
    m_VerticalAlignment = vertical;
    Invalidate(false);
}

void GUI_Label::SetMargins(int left, int top, int right, int bottom)
{
    m_Margins[0] = ClampMargin(left);
    m_Margins[1] = ClampMargin(top);
    m_Margins[2] = ClampMargin(right);
    m_Margins[3] = ClampMargin(bottom);
    Invalidate(false);
}

void GUI_Label::SetTextColour(const GUI_Colour& colour)
{
    m_TextColour = colour;
    Invalidate(false);
}

int GUI_Label::GetAlignmentCode(int horizontal, int vertical)
{
    if (horizontal < 0 || horizontal > 2 || vertical < 0 || vertical > 2)
        return 9;
    return horizontal + 3 * vertical;
}

RasterRect GUI_Label::GetTextRect() const
{
    return RasterRect{m_Left + m_Margins[0], m_Top + m_Margins[1], m_Right - m_Margins[2], m_Bottom - m_Margins[3]};
}

void GUI_Label::Refresh()
{
    GUI_Window::Refresh();
    UpdateFormattedText();
}

void GUI_Label::SetRect(int left, int top, int right, int bottom, bool layout)
{
    GUI_Window::SetRect(left, top, right, bottom, layout);
    UpdateFormattedText();
}

void GUI_Label::Draw()
{
    if (m_bHidden)
        return;
    DrawBackground();
    DrawBorder();
    DrawText();
    DrawChildren();
    m_bDirty = false;
}

void GUI_Label::DrawText()
{
    DrawTextIn(GetTextRect(), m_TextColour);
}

void GUI_Label::DrawTextIn(const RasterRect& rect, const GUI_Colour& colour)
{
    const int alignment = GetAlignmentCode(m_HorizontalAlignment, m_VerticalAlignment);
    FormattedText* const record = GetFormattedRecord();
    if (!m_bFormatted && m_ResolvedText.empty())
        return;
    if (m_bFormatted && record == nullptr)
        return;
    Raster* const raster = GetRaster();
    TESSEL_ASSERT(raster != NULL);
    raster->SetDepth(static_cast<int>(m_Depth));
    const auto draw = [&](const RasterRect& at, const GUI_Colour& tint) {
        if (m_bFormatted)
            GUI_System::DrawFormattedText(record, at, m_Font, alignment, PackTextColour(tint), -1, m_TextOffset, false);
        else
            raster->DrawText(m_ResolvedText, at, alignment, m_Font, PackTextColour(tint), false);
    };
    if (m_bFormatted)
        EnsureLaidOut(record, rect.Width(), m_Font);
    if (m_bShadow)
        draw(RasterRect{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1}, m_ShadowColour);
    draw(rect, colour);
    raster->SetDepth(LABEL_TEXT_DEPTH_AFTER);
}

int GUI_Label::GetTextHeight()
{
    const RasterRect rect = GetTextRect();
    if (m_bFormatted) {
        FormattedText* const record = GetFormattedRecord();
        if (record == nullptr)
            return 0;
        EnsureLaidOut(record, rect.Width(), m_Font);
        return record->m_Height;
    }
    if (m_ResolvedText.empty())
        return 0;
    int width = 0;
    int height = 0;
    int ascent = 0;
    Raster* const raster = GetRaster();
    return raster != nullptr && raster->MeasureText(m_ResolvedText, m_Font, width, height, ascent) ? height : 0;
}

void GUI_Label::FitToText()
{
    RasterRect rect = GetTextRect();
    int width = 0;
    int height = 0;
    Raster* const raster = GetRaster();
    TESSEL_ASSERT(raster != NULL);
    const auto measurePlain = [&](std::u16string_view text) {
        int ascent = 0;
        int lineHeight = 0;
        raster->MeasureText(text, m_Font, width, lineHeight, ascent);
        height = raster->GetFontHeight(m_Font);
    };
    if (!m_TextKey.empty()) {
        if (!m_bFormatted) {
            measurePlain(GUI_System::GetString(m_TextKey));
        } else if (FormattedText* const record = GUI_System::GetFormattedText(m_TextKey)) {
            width = GUI_System::GetFormattedTextWidth(record, m_Font);
            GUI_System::ResetFormattedText(record);
            GUI_System::DrawFormattedText(record, RasterRect{0, 0, rect.Width(), LABEL_LAYOUT_HEIGHT}, m_Font, 0, 0, -1,
                                          0, true);
            height = GUI_System::GetFormattedTextHeight(record, m_Font);
        }
    } else if (!m_ResolvedText.empty()) {
        measurePlain(m_ResolvedText);
    }
    if (m_HorizontalAlignment == 1)
        rect.left += (rect.Width() - width) / 2;
    else if (m_HorizontalAlignment == 2)
        rect.left = rect.right - width;
    rect.right = rect.left + width;
    if (m_VerticalAlignment == 1)
        rect.top += (rect.Height() - height) / 2;
    else if (m_VerticalAlignment == 2)
        rect.top = rect.bottom - height;
    rect.bottom = rect.top + height;
    SetRect(rect.left - m_Margins[0], rect.top - m_Margins[1], rect.right + m_Margins[2], rect.bottom + m_Margins[3],
            true);
}

bool GUI_Label::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    return LoadLabelRecord(payload, size, versionTenths);
}

bool GUI_Label::LoadLabelRecord(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    RecordCursor cursor(payload, size);
    std::u16string key = m_TextKey;
    if (versionTenths >= 10) {
        std::uint32_t font = 0;
        std::uint32_t horizontal = 0;
        std::uint32_t vertical = 0;
        if (!cursor.ReadString(key) || !cursor.ReadU32(font) || !ReadRecordColour(cursor, m_TextColour) ||
            !ReadRecordFlag(cursor, m_bFlagA) || !cursor.ReadU32(horizontal) || !cursor.ReadU32(vertical) ||
            !cursor.ReadU32(m_ValueB))
            return false;
        for (int& margin : m_Margins) {
            if (!ReadInt(cursor, margin))
                return false;
            margin = ClampMargin(margin);
        }
        if (!ReadRecordFlag(cursor, m_bFlagC) || !cursor.ReadU32(m_ValueD) || !ReadRecordFlag(cursor, m_bFormatted))
            return false;
        m_HorizontalAlignment = static_cast<int>(horizontal);
        m_VerticalAlignment = static_cast<int>(vertical);
        SetFont(static_cast<int>(font));
    }
    if (versionTenths >= 11) {
        if (!ReadRecordFlag(cursor, m_bFitToText) || !ReadRecordFlag(cursor, m_bShadow) || !ReadRecordColour(cursor, m_ShadowColour))
            return false;
    }
    if (!LoadWindowPart(cursor))
        return false;
    SetTextID(key);
    if (m_bFitToText)
        FitToText();
    return true;
}

bool GUI_Label::Save(RecordWriter& writer) const
{
    return SaveLabelRecord(writer, true);
}

bool GUI_Label::SaveLabelRecord(RecordWriter& writer, bool withChildren) const
{
    writer.BeginRecord(TAG_GLBL, GLBL_VERSION);
    writer.WriteString(m_TextKey);
    writer.WriteU32(static_cast<std::uint32_t>(m_Font));
    WriteRecordColour(writer, m_TextColour);
    writer.WriteBool(m_bFlagA);
    writer.WriteU32(static_cast<std::uint32_t>(m_HorizontalAlignment));
    writer.WriteU32(static_cast<std::uint32_t>(m_VerticalAlignment));
    writer.WriteU32(m_ValueB);
    for (const int margin : m_Margins) {
        writer.WriteI32(margin);
    }
    writer.WriteBool(m_bFlagC);
    writer.WriteU32(m_ValueD);
    writer.WriteBool(m_bFormatted);
    writer.WriteBool(m_bFitToText);
    writer.WriteBool(m_bShadow);
    WriteRecordColour(writer, m_ShadowColour);
    const bool ok = SaveWindowRecord(writer, withChildren);
    writer.EndRecord();
    return ok && !writer.Failed();
}
