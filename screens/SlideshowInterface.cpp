#include "screens/SlideshowInterface.h"

#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_Window.h"
#include "screens/AdvancedConceptsInterface.h"
#include "screens/WebPages.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Show {
    const char* pattern;
    int slides;
    std::u16string_view heading;
    bool formatted;
};
constexpr Show SHOWS[3] = {
    {"slides\\ss_aboutvarrow_%02d.bmp", 7, u"FMT_MENU_AboutTheVarrowGame", true},
    {"slides\\ss_firstdeck_%02d.bmp", 7, u"STR_MENU_BuildingYourFirstDeck", false},
    {"slides\\ss_credits_%02d.bmp", 6, u"STR_MENU_Credits", false},
};

bool ValidShow(int show)
{
    return show >= 0 && show < 3;
}

} // namespace

SlideshowInterface::SlideshowInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\Slideshow.GUI");
}

int SlideshowInterface::GetSlideCount(int show)
{
    return ValidShow(show) ? SHOWS[show].slides : 0;
}

std::u16string SlideshowInterface::GetSlidePath(int show, int slide)
{
    if (!ValidShow(show))
        return {};
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, SHOWS[show].pattern, slide + 1);
    std::u16string out;
    for (const char* c = buffer; *c != '\0'; ++c)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
    return out;
}

void SlideshowInterface::SetShow(int show)
{
    m_Show = ValidShow(show) ? show : -1;
    m_Slide = 0;
    if (GUI_Window* const link = FindWindow(u"btnLink", GUI_KIND_ANY))
        link->SetHidden(true);
    if (auto* const heading = WindowCast<GUI_Label>(FindWindow(u"lblHeading", GUI_KIND_ANY)); heading != nullptr && m_Show >= 0) {
        heading->SetFormatted(SHOWS[m_Show].formatted);
        heading->SetTextID(SHOWS[m_Show].heading);
    }
    ShowSlide();
    UpdateSlideButtons();
    GetGUIManager()->RefreshMouse();
}

void SlideshowInterface::ShowSlide()
{
    auto* const picture = WindowCast<GUI_Picture>(FindWindow(u"picSlide", GUI_KIND_ANY));
    auto* const page = WindowCast<GUI_Label>(FindWindow(u"lblPage", GUI_KIND_ANY));
    if (picture == nullptr || page == nullptr)
        return;
    picture->SetImage(GetSlidePath(m_Show, m_Slide), true);
    page->SetText(FormatPosition(m_Slide + 1, GetSlideCount(m_Show)));
    if (GUI_Window* const link = FindWindow(u"btnLink", GUI_KIND_ANY))
        link->SetHidden(!(m_Show == 1 && m_Slide == 6));
}

void SlideshowInterface::SetSlide(int slide)
{
    slide = std::clamp(slide, 0, std::max(GetSlideCount(m_Show) - 1, 0));
    if (slide == m_Slide)
        return;
    m_Slide = slide;
    ShowSlide();
}

void SlideshowInterface::UpdateSlideButtons()
{
    const int count = GetSlideCount(m_Show);
    for (const char16_t* name : {u"btnPrevSlide", u"btnPrevLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(m_Slide < 1);
    }
    for (const char16_t* name : {u"btnNextSlide", u"btnNextLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(!(m_Slide < count - 1));
    }
}

bool SlideshowInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        if (SenderIs(event, u"btnPrevSlide") || SenderIs(event, u"btnPrevLabel")) {
            SetSlide(m_Slide - 1);
            UpdateSlideButtons();
            return true;
        }
        if (SenderIs(event, u"btnNextSlide") || SenderIs(event, u"btnNextLabel")) {
            SetSlide(m_Slide + 1);
            UpdateSlideButtons();
            return true;
        }
        if (SenderIs(event, u"btnLink")) {
            OpenWebPage(WebPage::Game);
            return true;
        }
        if (SenderIs(event, u"btnBack")) {
            GameDisplay* const display = GetGameDisplay();
            display->SetScreen(4, false);
            display->SetReturnScreen(1);
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}

void SlideshowInterface::Refresh()
{
    GameInterface::Refresh();
    ShowSlide();
}

void SlideshowInterface::OnResize(int width, int height)
{
    GameInterface::OnResize(width, height);
    ShowSlide();
}
