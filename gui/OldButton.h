// The image button of the in-game message windows: one part with its own hover and pressed images, or two
// halves (left and right choice) drawn from whole images. The tag reports the part under the pointer.
#pragma once

#include "gui/GUI_Button.h"

#include <string>

constexpr std::uint32_t OLD_BUTTON_KIND = 15;
constexpr std::uint32_t OLD_BUTTON_TWO_PART = 1;

// Parts reported through the tag.
constexpr int OLD_BUTTON_PART_NONE = 0;
constexpr int OLD_BUTTON_PART_LEFT = 1;
constexpr int OLD_BUTTON_PART_RIGHT = 2;

class OldButton : public GUI_Button {
public:
    OldButton();

    // Null names count as empty. In the two-part mode the left half is half the normal image wide.
    void Set(std::uint32_t mode, const char16_t* normal, const char16_t* hover, const char16_t* pressed,
             const char16_t* rightHover, const char16_t* rightPressed, std::uint32_t clickEffect);
    void Draw() override;

    std::uint32_t GetMode() const { return m_Mode; }
    int GetHalfWidth() const { return m_HalfWidth; }

private:
    // The part under the pointer and the image it shows, or none.
    int FindPart(const std::u16string*& image) const;

    std::uint32_t m_Mode = 0;
    std::u16string m_NormalImage;
    std::u16string m_HoverImage;
    std::u16string m_RightHoverImage;
    std::u16string m_PressedImage;
    std::u16string m_RightPressedImage;
    int m_HalfWidth = 0;
};
