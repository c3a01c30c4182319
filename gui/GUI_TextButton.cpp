#include "gui/GUI_TextButton.h"

#include "gui/LayoutRecords.h"

GUI_TextButton::GUI_TextButton(std::uint32_t kind) : GUI_Window(kind), GUI_Button(kind), GUI_Label(kind)
{
    SetMouseTransparent(false);
}

void GUI_TextButton::SetRect(int left, int top, int right, int bottom, bool layout)
{
    GUI_Button::SetRect(left, top, right, bottom, layout);
}

bool GUI_TextButton::HandleInput(const GUI_InputEvent& event)
{
    return GUI_Button::HandleInput(event) || GUI_Window::HandleInput(event);
}

void GUI_TextButton::Refresh()
{
    GUI_Button::Refresh();
    UpdateFormattedText();
}

void GUI_TextButton::Draw()
{
    if (m_bHidden)
        return;
    DrawBackground();
    DrawBorder();
    DrawFace();
    DrawText();
    DrawChildren();
    m_bDirty = false;
}

const GUI_Colour& GUI_TextButton::GetStateTextColour() const
{
    if (m_bDisabled)
        return m_DisabledTextColour;
    if (IsPressed())
        return m_PressedTextColour;
    if (IsHighlighted())
        return m_HighlightedTextColour;
    return m_TextColour;
}

void GUI_TextButton::DrawText()
{
    // The state colour is used for this drawing only; the label keeps its own.
    DrawTextIn(GetTextRect(), GetStateTextColour());
}

void GUI_TextButton::SetPressedTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    m_PressedTextColour = {r, g, b, a};
    Invalidate(false);
}

void GUI_TextButton::SetHighlightedTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    m_HighlightedTextColour = {r, g, b, a};
    Invalidate(false);
}

void GUI_TextButton::SetDisabledTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    m_DisabledTextColour = {r, g, b, a};
    Invalidate(false);
}

bool GUI_TextButton::Load(const std::uint8_t* payload, std::size_t size, int versionTenths)
{
    RecordCursor cursor(payload, size);
    if (versionTenths >= 10 &&
        (!ReadRecordColour(cursor, m_PressedTextColour) || !ReadRecordColour(cursor, m_HighlightedTextColour)))
        return false;
    if (versionTenths >= 11 && !ReadRecordColour(cursor, m_DisabledTextColour))
        return false;
    RecordChunk label;
    if (!cursor.ReadChunk(label) || label.tag != TAG_GLBL)
        return false;
    if (!LoadLabelRecord(label.payload, label.size, label.VersionTenths()))
        return false;
    // Both copies of the window part carry the children: only the button's may stay.
    DeleteChildren();
    RecordChunk button;
    if (!cursor.ReadChunk(button) || button.tag != TAG_GBTN)
        return false;
    const bool loaded = LoadButtonRecord(button.payload, button.size, button.VersionTenths());
    if (IsFitToText())
        FitToText();
    return loaded;
}

bool GUI_TextButton::Save(RecordWriter& writer) const
{
    writer.BeginRecord(TAG_GTBT, GTBT_VERSION);
    for (const GUI_Colour* const colour : {&m_PressedTextColour, &m_HighlightedTextColour, &m_DisabledTextColour})
        WriteRecordColour(writer, *colour);
    bool ok = SaveLabelRecord(writer, false);
    ok = ok && SaveButtonRecord(writer);
    writer.EndRecord();
    return ok && !writer.Failed();
}
