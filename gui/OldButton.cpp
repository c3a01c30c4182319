#include "gui/OldButton.h"

#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gui/GUI_Manager.h"

namespace {

std::u16string NameOrEmpty(const char16_t* name)
{
    return name != nullptr ? std::u16string(name) : std::u16string();
}

} // namespace

OldButton::OldButton() : GUI_Window(OLD_BUTTON_KIND), GUI_Button(OLD_BUTTON_KIND)
{
}

void OldButton::Set(std::uint32_t mode, const char16_t* normal, const char16_t* hover, const char16_t* pressed,
                    const char16_t* rightHover, const char16_t* rightPressed, std::uint32_t clickEffect)
{
    m_Mode = mode;
    m_NormalImage = NameOrEmpty(normal);
    m_HoverImage = NameOrEmpty(hover);
    m_PressedImage = NameOrEmpty(pressed);
    m_RightHoverImage = NameOrEmpty(rightHover);
    m_RightPressedImage = NameOrEmpty(rightPressed);
    SetClickEffect(clickEffect);
    if (m_Mode == OLD_BUTTON_TWO_PART && !m_NormalImage.empty())
        m_HalfWidth = GetGameDisplay()->GetTextureRecord(GetTextureByName(m_NormalImage)).width / 2;
}

int OldButton::FindPart(const std::u16string*& image) const
{
    const int x = MouseState.x;
    const int y = MouseState.y;
    if (GetGUIManager()->GetWindowAt(x, y) != this || y < m_Top || y >= m_Bottom)
        return OLD_BUTTON_PART_NONE;
    const bool down = MouseState.leftHeld != 0;
    const int split = m_Mode == OLD_BUTTON_TWO_PART ? m_Left + m_HalfWidth : m_Right;
    if (!m_HoverImage.empty() && x >= m_Left && x < split) {
        image = down ? &m_PressedImage : &m_HoverImage;
        return OLD_BUTTON_PART_LEFT;
    }
    if (m_Mode == OLD_BUTTON_TWO_PART && !m_RightHoverImage.empty() && x >= split && x < m_Right) {
        image = down ? &m_RightPressedImage : &m_RightHoverImage;
        return OLD_BUTTON_PART_RIGHT;
    }
    return OLD_BUTTON_PART_NONE;
}

void OldButton::Draw()
{
    const std::u16string* image = &m_NormalImage;
    SetTag(FindPart(image));
    if (image->empty())
        return;
    GetGameDisplay()->DrawTexture(GetTextureByName(*image), static_cast<float>(m_Left), static_cast<float>(m_Top),
                                  m_Depth, 1, 0);
}
