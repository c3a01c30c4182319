// The toolkit's push button: shows one of four looks (up, mouse-over, down, disabled), takes the mouse capture
// while the left button is held on it, and posts a command event when the left button is released over it.
// Each look can be an image, a nine-piece skin set or a plain frame; an optional one-bit hit mask limits clicks
// to the non-black pixels of a bitmap.
#pragma once

#include "gui/GUI_Window.h"

#include <array>
#include <memory>
#include <vector>

constexpr int GBTN_VERSION = 15;
// A hit mask larger than this is refused before its bits are allocated.
constexpr long long MAX_HIT_MASK_PIXELS = 4096LL * 4096LL;

struct ButtonLookData {
    bool show = true;
    std::u16string file;
    GUI_Colour background;
    GUI_Colour frame;
    bool backgroundAlpha = true;
    bool borderAlpha = true;
    bool clip = true;
    bool border = true;  // pressed, highlighted and disabled looks draw their border only with it
    std::uint8_t modeH = 0;
    std::uint8_t modeV = 0;
    bool fromLanguage = false;
    std::uint8_t alignH = 1;
    std::uint8_t alignV = 1;
    int texture = -1;
    std::array<int, 3> face{-1, -1, -1};  // left, centre, right face pieces
};

class GUI_Button : public virtual GUI_Window {
public:
    explicit GUI_Button(std::uint32_t kind = GUI_KIND_BUTTON);
    ~GUI_Button() override;

    virtual void OnClick(int x, int y, std::uint32_t keys);
    virtual void DrawFace();

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    bool HitTest(int x, int y) const override;
    void Draw() override;
    void SetDisabled(bool disabled) override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnCaptureLost() override;
    bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths) override;
    bool Save(RecordWriter& writer) const override;
    void OnDeviceLost() override { GUI_Window::OnDeviceLost(); }
    void ReloadTextures() override;
    void Refresh() override;
    void ApplySkin(const GUI_Skin* skin) override;
    void DrawBackground() override;
    void DrawBorder() override;

    void SetUpImage(std::u16string_view file, bool load) { SetLookImage(LOOK_UP, file, load); }
    void SetDownImage(std::u16string_view file, bool load) { SetLookImage(LOOK_DOWN, file, load); }
    void SetMouseOverImage(std::u16string_view file, bool load) { SetLookImage(LOOK_MOUSEOVER, file, load); }
    void SetDisabledImage(std::u16string_view file, bool load) { SetLookImage(LOOK_DISABLED, file, load); }
    void LoadHitMask(std::u16string_view file, bool load);
    void SetUpFacePieces(int left, int centre, int right) { m_Looks[LOOK_UP].face = {left, centre, right}; }
    void SetMouseOverFacePieces(int left, int centre, int right) { m_Looks[LOOK_MOUSEOVER].face = {left, centre, right}; }
    void SetDownFacePieces(int left, int centre, int right) { m_Looks[LOOK_DOWN].face = {left, centre, right}; }
    void SetDisabledFacePieces(int left, int centre, int right) { m_Looks[LOOK_DISABLED].face = {left, centre, right}; }
    void SetClickEffect(std::uint32_t effect) { m_ClickEffect = effect; }
    std::uint32_t GetClickEffect() const { return m_ClickEffect; }
    void SetShowUpImage(bool show) { m_Looks[LOOK_UP].show = show; }
    void SetShowDownImage(bool show) { m_Looks[LOOK_DOWN].show = show; }
    void SetShowMouseOverImage(bool show) { m_Looks[LOOK_MOUSEOVER].show = show; }
    void SetShowDisabledImage(bool show) { m_Looks[LOOK_DISABLED].show = show; }
    void SetUseHitMask(bool use) { m_bUseHitMask = use; }
    void SizeToUpImage();
    void SetTag(int tag) { m_Tag = tag; }
    int GetTag() const { return m_Tag; }
    bool IsPressed() const { return m_bPressed; }
    bool IsCaptured() const { return m_bCaptured; }
    bool IsHighlighted() const { return m_bHighlighted; }
    void GetPressOffset(int& x, int& y) const { x = m_PressOffsetX; y = m_PressOffsetY; }
    // The look drawn now: disabled, else down, else mouse-over, else up.
    ButtonLook GetCurrentLook() const;
    ButtonLookData& GetLook(ButtonLook look) { return m_Looks[look]; }
    const ButtonLookData& GetLook(ButtonLook look) const { return m_Looks[look]; }
    // Down, mouse-over and disabled skin sets (index look - 1).
    const SkinPieceSet& GetSkinSet(ButtonLook look) const { return m_Sets[look - 1]; }
    bool HasHitMask() const { return !m_HitMask.empty(); }

    std::u16string m_HitMaskFile;
    bool m_bUseHitMask = false;
    std::uint8_t m_HitMaskStretchH = 0;
    std::uint8_t m_HitMaskStretchV = 0;
    bool m_bHitMaskFromLanguage = false;
    std::uint8_t m_HitMaskAlignH = 1;
    std::uint8_t m_HitMaskAlignV = 1;

protected:
    // The GBTN record, which embeds the window part.
    bool LoadButtonRecord(const std::uint8_t* payload, std::size_t size, int versionTenths);
    bool SaveButtonRecord(RecordWriter& writer) const;

private:
    void SetLookImage(ButtonLook look, std::u16string_view file, bool load);
    void TakeCapture();
    void SetPressed(bool pressed);
    void SetHighlighted(bool highlighted);

    std::uint32_t m_ClickEffect = 0;
    std::array<ButtonLookData, LOOK_COUNT> m_Looks;
    std::array<SkinPieceSet, 3> m_Sets;
    int m_Tag = 0;
    bool m_bHighlighted = false;
    bool m_bPressed = false;
    bool m_bCaptured = false;
    int m_PressOffsetX = 0;
    int m_PressOffsetY = 0;
    std::vector<std::uint8_t> m_HitMask;
    int m_HitMaskWidth = 0;
    int m_HitMaskHeight = 0;
};
