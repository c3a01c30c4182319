// A window that shows one image, stretched over the window or at its natural size aligned and clipped inside
// it. Mouse-transparent: it never takes input nor hides the windows behind it from hit tests.
#pragma once

#include "gui/GUI_Window.h"

#include <array>

constexpr int GPIC_VERSION = 11;

class GUI_Picture : public GUI_Window {
public:
    GUI_Picture();
    ~GUI_Picture() override;

    void Draw() override;
    bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths) override;
    bool Save(RecordWriter& writer) const override;
    void OnDeviceLost() override { GUI_Window::OnDeviceLost(); }
    void ReloadTextures() override;

    void SetImage(std::u16string_view fileName, bool load);
    const std::u16string& GetImage() const { return m_ImageFile; }
    int GetTexture() const { return m_Texture; }
    // The destination and source rectangles the next Draw uses; false without a texture.
    bool ComputeRects(RasterRect& destination, RasterRect& source) const;

    GUI_Colour m_Colour;
    bool m_bAlpha = false;
    bool m_bImageStretchH = true;
    bool m_bImageStretchV = true;
    int m_HorizontalAlignment = 1;
    int m_VerticalAlignment = 1;
    std::array<std::uint32_t, 8> m_StoredValues{};
    bool m_bImageFromLanguage = false;

private:
    std::u16string m_ImageFile;
    int m_Texture = -1;
};
