#include "cards/PhysQuitButton.h"

#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/QuitButton.h"

#include <cstdint>
#include <memory>

namespace {

constexpr int BOTTOM_STRIP_ZONE = 37;
constexpr int STRIP_MARGIN = 5;
constexpr float BUTTON_DEPTH = 20000.0f;
constexpr int LABEL_FONT_SIZE = 8;
constexpr std::uint32_t QUIT_CLICK_EFFECT = 30;

std::unique_ptr<QuitButton> s_pButton;

} // namespace

QuitButton* GetPhysQuitButton()
{
    return s_pButton.get();
}

void DestroyPhysQuitButton()
{
    if (s_pButton == nullptr)
        return;
    if (GUI_Manager* const manager = GetGUIManager())
        manager->UnregisterWindow(s_pButton.get());
    if (GameDisplay* const display = GetGameDisplay(); display != nullptr && display->m_QuitButton == s_pButton.get())
        display->m_QuitButton = nullptr;
    s_pButton.reset();
}

void CreatePhysQuitButton()
{
    DestroyPhysQuitButton();
    auto button = std::make_unique<QuitButton>();
    button->SetName(u"btnPhysQuit");
    button->SetUpImage(u"buttons\\physquit.bmp", true);
    button->SetDisabledImage(u"buttons\\physquit.bmp", true);
    button->LoadHitMask(u"buttons\\physquit.bmp", true);
    button->SetDownImage(u"buttons\\physquit_down.bmp", true);
    button->SetMouseOverImage(u"buttons\\physquit_mo.bmp", true);
    // Slot 0 holds no sound: the click would be silent.
    button->SetClickEffect(QUIT_CLICK_EFFECT);
    button->SetTextID(u"STR_MENU_Quit");
    button->SetFont(LABEL_FONT_SIZE);
    button->SetShadow(true);
    button->SetTextColour(GUI_Colour{36, 83, 83, 255});
    button->SetHighlightedTextColour(224, 248, 248, 255);
    button->SetPressedTextColour(255, 255, 255, 255);
    button->SetDepth(BUTTON_DEPTH);
    s_pButton = std::move(button);
    GetGameDisplay()->m_QuitButton = s_pButton.get();
    PlacePhysQuitButton();
}

void PlacePhysQuitButton()
{
    GameDisplay* const display = GetGameDisplay();
    if (s_pButton == nullptr || display == nullptr)
        return;
    const RasterRect& strip = display->GetZoneRectByIndex(BOTTOM_STRIP_ZONE);
    const int width = display->GetTextureRecord(display->m_QuitImage).width;
    const int height = display->GetTextureRecord(display->m_QuitImage).height;
    const int left = strip.left + STRIP_MARGIN;
    const int top = strip.top + (strip.bottom - strip.top - height) / 2;
    s_pButton->SetRect(left, top, left + width, top + height, true);
    if (GUI_Manager* const manager = GetGUIManager(); manager != nullptr && !manager->IsRegistered(s_pButton.get()))
        manager->RegisterWindow(s_pButton.get());
}
