#include "screens/ExplainInterface.h"

#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_ScrollBar.h"
#include "screens/AdvancedConceptsInterface.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Topic {
    std::u16string_view button;
    const char* picture;
    const char* key;
    int pages;
};
constexpr Topic TOPICS[2] = {
    {u"btnExplainCost", "slides\\ExplainCost_%d.bmp", "FMT_PHYS_ENDGAME_ExplainCost%d", 2},
    {u"btnExplainCombat", "slides\\ExplainCombat_%d.bmp", "FMT_PHYS_ENDGAME_Combat%d", 5},
};

std::u16string Format(const char* pattern, int number)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, number);
    std::u16string out;
    for (const char* c = buffer; *c != '\0'; ++c)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
    return out;
}

} // namespace

ExplainInterface::ExplainInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\Explain.GUI");
    auto* const up = WindowCast<GUI_Button>(FindWindow(u"btnScrollUp", GUI_KIND_ANY));
    auto* const down = WindowCast<GUI_Button>(FindWindow(u"btnScrollDown", GUI_KIND_ANY));
    auto* const track = WindowCast<GUI_Button>(FindWindow(u"btnScrollBG", GUI_KIND_ANY));
    auto* const thumb = WindowCast<GUI_Button>(FindWindow(u"btnScrollThumb", GUI_KIND_ANY));
    for (GUI_Button* const part : {up, down, track}) {
        if (part != nullptr)
            part->SetClickEffect(MENU_CLICK_EFFECT);
    }
    m_pScrollBar = std::make_unique<GUI_ScrollBar>(up, down, track, thumb);
    m_pScrollBar->SetLineStep(GetLineStep());
}

ExplainInterface::~ExplainInterface() = default;

GUI_Label* ExplainInterface::GetTextLabel() const
{
    return WindowCast<GUI_Label>(FindWindow(u"lblExplain", GUI_KIND_ANY));
}

// A text line: the label font's height (the layouts give no extra spacing); never 0, so arrows always move.
int ExplainInterface::GetLineStep() const
{
    const GUI_Label* const label = GetTextLabel();
    const Raster* const raster = GetRaster();
    const int height = label != nullptr && raster != nullptr ? raster->GetFontHeight(label->GetFont()) : 0;
    return std::max(height, 1);
}

GUI_Window* ExplainInterface::GetTopicButton(int topic) const
{
    return topic >= 0 && topic < 2 ? FindWindow(TOPICS[topic].button, GUI_KIND_ANY) : nullptr;
}

int ExplainInterface::GetPageCount(int topic)
{
    return topic >= 0 && topic < 2 ? TOPICS[topic].pages : 0;
}

std::u16string ExplainInterface::GetSlidePath(int topic, int page)
{
    return topic >= 0 && topic < 2 ? Format(TOPICS[topic].picture, page + 1) : std::u16string();
}

std::u16string ExplainInterface::GetTextKey(int topic, int page)
{
    return topic >= 0 && topic < 2 ? Format(TOPICS[topic].key, page + 1) : std::u16string();
}

void ExplainInterface::SetTopic(int topic)
{
    if (GUI_Window* const old = GetTopicButton(m_Topic))
        old->SetDisabled(false);
    m_Topic = topic < 0 ? -1 : topic;
    if (GUI_Window* const chosen = GetTopicButton(m_Topic))
        chosen->SetDisabled(true);
    m_Page = 0;
    m_pScrollBar->SetPosition(0);
    SetTextOffset(0);
    ShowPage();
    UpdatePageButtons();
    GetGUIManager()->RefreshMouse();
}

void ExplainInterface::ShowPage()
{
    GUI_Label* const label = GetTextLabel();
    auto* const picture = WindowCast<GUI_Picture>(FindWindow(u"picSlide", GUI_KIND_ANY));
    if (label == nullptr || picture == nullptr)
        return;
    picture->SetImage(GetSlidePath(m_Topic, m_Page), true);
    label->SetFormatted(true);
    label->SetTextID(GetTextKey(m_Topic, m_Page));
    if (auto* const number = WindowCast<GUI_Label>(FindWindow(u"lblSlideNum", GUI_KIND_ANY)))
        number->SetText(FormatPosition(m_Page + 1, GetPageCount(m_Topic)));
    const int textHeight = label->GetTextHeight();
    const int visible = std::min(textHeight, label->GetTextRect().Height());
    const int hidden = textHeight - visible;
    GUI_Window* const thumb = FindWindow(u"btnScrollThumb", GUI_KIND_ANY);
    if (hidden < 1) {
        m_pScrollBar->SetMaximum(0);
        m_pScrollBar->SetPageSize(100.0f);
        m_pScrollBar->SetDisabled(true);
        if (thumb != nullptr)
            thumb->SetHidden(true);
        return;
    }
    const int line = GetLineStep();
    m_pScrollBar->SetMaximum(hidden);
    m_pScrollBar->SetPageSize(static_cast<float>(visible) * 100.0f / static_cast<float>(textHeight));
    m_pScrollBar->SetLineStep(line);
    m_pScrollBar->SetPageStep(std::max(visible - line - visible % line, line));
    m_pScrollBar->SetDisabled(false);
    if (thumb != nullptr)
        thumb->SetHidden(false);
}

void ExplainInterface::SetPage(int page)
{
    page = std::clamp(page, 0, std::max(GetPageCount(m_Topic) - 1, 0));
    if (page == m_Page)
        return;
    m_Page = page;
    m_pScrollBar->SetPosition(0);
    SetTextOffset(0);
    ShowPage();
}

void ExplainInterface::UpdatePageButtons()
{
    const int count = GetPageCount(m_Topic);
    for (const char16_t* name : {u"btnPrevSlide", u"btnPrev", u"btnPrevLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(m_Page < 1);
    }
    for (const char16_t* name : {u"btnNextSlide", u"btnNext", u"btnNextLabel"}) {
        if (GUI_Window* const button = FindWindow(name, GUI_KIND_ANY))
            button->SetDisabled(!(m_Page < count - 1));
    }
}

void ExplainInterface::SetTextOffset(int pixels)
{
    if (GUI_Label* const label = GetTextLabel()) {
        label->SetTextOffset(pixels);
        label->Invalidate();
    }
}

void ExplainInterface::Update()
{
    GameInterface::Update();
    m_pScrollBar->Update();
    if (m_pScrollBar->GetPosition() != m_LastScrollPosition) {
        m_LastScrollPosition = m_pScrollBar->GetPosition();
        SetTextOffset(-m_LastScrollPosition);
    }
}

bool ExplainInterface::HandleInput(const GUI_InputEvent& event)
{
    if (m_pScrollBar->HandleInput(event)) {
        if (event.IsMouse() && (event.code == GUI_MOUSE_LEFT_DOWN || event.code == GUI_MOUSE_LEFT_DBLCLK))
            PlayEffect(MENU_CLICK_EFFECT, 255, 0, 0, 0, nullptr);
        return true;
    }
    if (IsCommand(event)) {
        PlayClickEffect(event);
        for (int topic = 0; topic < 2; ++topic) {
            if (SenderIs(event, TOPICS[topic].button)) {
                SetTopic(topic);
                return true;
            }
        }
        if (SenderStartsWith(event, u"btnPrev")) {
            SetPage(m_Page - 1);
            UpdatePageButtons();
            return true;
        }
        if (SenderStartsWith(event, u"btnNext")) {
            SetPage(m_Page + 1);
            UpdatePageButtons();
            return true;
        }
        if (SenderIs(event, u"btnExit")) {
            GameDisplay* const display = GetGameDisplay();
            display->SetScreen(1, false);
            display->SetReturnScreen(1);
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}

void ExplainInterface::Refresh()
{
    GameInterface::Refresh();
    m_pScrollBar->Refresh();
    ShowPage();
}

void ExplainInterface::OnResize(int width, int height)
{
    GameInterface::OnResize(width, height);
    ShowPage();
    m_pScrollBar->Layout();
    SetTextOffset(-m_pScrollBar->GetPosition());
}
