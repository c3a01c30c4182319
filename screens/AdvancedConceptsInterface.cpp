#include "screens/AdvancedConceptsInterface.h"

#include "gui/GUI_Label.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_Window.h"
#include "screens/WebPages.h"

#include <cstdio>

namespace {

struct Topic {
    std::u16string_view button;
    const char* pattern;
    int slides;
};
constexpr Topic TOPICS[ADVANCED_TOPIC_COUNT] = {
    {u"btnPartsOfATurn", "slides\\ac_partsofturn_%02d.bmp", 6},
    {u"btnMana", "slides\\ac_mana_%02d.bmp", 3},
    {u"btnActivatedAbilities", "slides\\ac_activeabilities_%02d.bmp", 5},
    {u"btnLandwalk", "slides\\ac_landwalk_%02d.bmp", 3},
    {u"btnSacrifice", "slides\\ac_sacrifice_%02d.bmp", 1},
    {u"btnTheStack", "slides\\ac_stack_%02d.bmp", 6},
    {u"btnCounteringSpells", "slides\\ac_counterspells_%02d.bmp", 4},
    {u"btnPreventingDamage", "slides\\ac_preventdamage_%02d.bmp", 5},
    {u"btnRegeneration", "slides\\ac_regen_%02d.bmp", 3},
};

std::u16string Ascii(const char* text)
{
    std::u16string out;
    for (const char* c = text; *c != '\0'; ++c)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
    return out;
}

} // namespace

std::u16string FormatPosition(int position, int count)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d/%d", position, count);
    return Ascii(buffer);
}

AdvancedConceptsInterface::AdvancedConceptsInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\AdvConcepts.GUI");
}

GUI_Window* AdvancedConceptsInterface::GetTopicButton(int topic) const
{
    if (topic < 0 || topic >= ADVANCED_TOPIC_COUNT)
        return nullptr;
    return FindWindow(TOPICS[topic].button, GUI_KIND_ANY);
}

int AdvancedConceptsInterface::GetSlideCount(int topic)
{
    return topic >= 0 && topic < ADVANCED_TOPIC_COUNT ? TOPICS[topic].slides : 0;
}

std::u16string AdvancedConceptsInterface::GetSlidePath(int topic, int slide)
{
    if (topic < 0 || topic >= ADVANCED_TOPIC_COUNT)
        return {};
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, TOPICS[topic].pattern, slide + 1);
    return Ascii(buffer);
}

void AdvancedConceptsInterface::ShowTopic(int topic)
{
    for (const char16_t* name : {u"btnLink1", u"btnLink2"}) {
        if (GUI_Window* const link = FindWindow(name, GUI_KIND_ANY))
            link->SetHidden(true);
    }
    if (topic == m_Topic)
        return;
    if (GUI_Window* const old = GetTopicButton(m_Topic))
        old->SetDisabled(false);
    m_Topic = topic < 0 ? -1 : topic;
    if (GUI_Window* const chosen = GetTopicButton(m_Topic))
        chosen->SetDisabled(true);
    m_Slide = 0;
    ShowSlide();
    UpdateSlideButtons();
    GetGUIManager()->RefreshMouse();
}

void AdvancedConceptsInterface::ShowSlide()
{
    auto* const picture = WindowCast<GUI_Picture>(FindWindow(u"picSlide", GUI_KIND_ANY));
    if (picture == nullptr)
        return;
    const int count = GetSlideCount(m_Topic);
    // Without a topic the picture shows the screen's own opening slide.
    picture->SetImage(m_Topic < 0 ? u"slides\\ac_intro.bmp" : GetSlidePath(m_Topic, m_Slide), true);
    if (auto* const number = WindowCast<GUI_Label>(FindWindow(u"lblSlideNum", GUI_KIND_ANY)))
        number->SetText(m_Topic < 0 ? std::u16string() : FormatPosition(m_Slide + 1, count));
    if (GUI_Window* const link = FindWindow(u"btnLink1", GUI_KIND_ANY))
        link->SetHidden(!(m_Topic == 0 && m_Slide == 5));
    if (GUI_Window* const link = FindWindow(u"btnLink2", GUI_KIND_ANY))
        link->SetHidden(!((m_Topic == 5 && m_Slide == 5) || (m_Topic == 8 && m_Slide == 2)));
}

void AdvancedConceptsInterface::SetSlide(int slide)
{
    // The ends are clamped: a stray click past them shows nothing new.
    const int count = GetSlideCount(m_Topic);
    if (slide >= count)
        slide = count - 1;
    if (slide < 0)
        slide = 0;
    if (slide == m_Slide)
        return;
    m_Slide = slide;
    ShowSlide();
}

void AdvancedConceptsInterface::UpdateSlideButtons()
{
    const int count = GetSlideCount(m_Topic);
    for (const char16_t* name : {u"btnPrevSlide", u"btnPrevLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(m_Slide < 1);
    }
    for (const char16_t* name : {u"btnNextSlide", u"btnNextLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(!(m_Slide < count - 1));
    }
}

void AdvancedConceptsInterface::Refresh()
{
    ShowTopic(-1);
    UpdateSlideButtons();
    GameInterface::Refresh();
}

bool AdvancedConceptsInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        for (int topic = 0; topic < ADVANCED_TOPIC_COUNT; ++topic) {
            GUI_Window* const button = GetTopicButton(topic);
            if (button != nullptr && event.sender == button) {
                ShowTopic(topic);
                return true;
            }
        }
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
        if (SenderIs(event, u"btnBack")) {
            GoBack();
            return true;
        }
        if (SenderIs(event, u"btnLink1") || SenderIs(event, u"btnLink2")) {
            OpenWebPage(WebPage::Game);
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}
