#include "screens/MessageBoxInterface.h"

#include "gui/GUI_Label.h"
#include "gui/GUI_TextButton.h"
#include "gui/GUI_Window.h"

#include <array>
#include <vector>

namespace {

constexpr std::u16string_view BUTTON_NAMES[3] = {u"btnButton1", u"btnButton2", u"btnButton3"};
constexpr int BASE_LINE_INSET = 5;

} // namespace

MessageBoxInterface::MessageBoxInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\MessageBox.GUI");
}

GUI_Window* MessageBoxInterface::Button(int index) const
{
    return FindWindow(BUTTON_NAMES[index], GUI_KIND_ANY);
}

void MessageBoxInterface::SetText(std::u16string_view key)
{
    if (auto* label = WindowCast<GUI_Label>(FindWindow(u"lblText", GUI_KIND_ANY))) {
        label->SetFormatted(true);
        label->SetTextID(key);
    }
}

void MessageBoxInterface::SetButtons(int kind)
{
    struct Set {
        std::array<std::u16string_view, 3> keys;
        int shown;
    };
    static constexpr Set SETS[4] = {
        {{u"STR_OK", u"", u""}, 1},
        {{u"STR_Cancel", u"", u""}, 1},
        {{u"STR_Yes", u"STR_No", u""}, 2},
        {{u"STR_Yes", u"STR_No", u"STR_Cancel"}, 3},
    };
    if (kind < 0 || kind > 3)
        return;
    const Set& set = SETS[kind];
    for (int i = 0; i < 3; ++i) {
        GUI_Window* const button = Button(i);
        if (button == nullptr)
            continue;
        if (i < set.shown) {
            if (auto* label = WindowCast<GUI_Label>(button))
                label->SetTextID(set.keys[static_cast<std::size_t>(i)]);
        }
        button->SetHidden(i >= set.shown);
    }
    FitButtons();
}

void MessageBoxInterface::FitButtons()
{
    std::vector<GUI_Window*> shown;
    for (int i = 0; i < 3; ++i) {
        GUI_Window* const button = Button(i);
        if (button != nullptr && !button->IsHidden())
            shown.push_back(button);
    }
    if (shown.empty())
        return;
    // Every button takes the last one's width.
    const int width = shown.back()->GetWidth();
    for (GUI_Window* const button : shown)
        button->SetRect(button->GetLeft(), button->GetTop(), button->GetLeft() + width, button->GetBottom(), true);
    Rearrange();
}

void MessageBoxInterface::Rearrange()
{
    ArrangeButtons(m_Arrangement, m_Gap);
}

void MessageBoxInterface::ArrangeButtons(int arrangement, int gap)
{
    m_Arrangement = arrangement;
    m_Gap = gap;
    GUI_Window* const box = FindWindow(u"winMessageBox", GUI_KIND_ANY);
    if (box == nullptr)
        return;
    int x0 = 0;
    int y0 = 0;
    int width = 0;
    int height = 0;
    box->GetClientRect(x0, y0, width, height);
    int x1 = x0 + width;
    int y1 = y0 + height;
    box->FromClient(x0, y0);
    box->FromClient(x1, y1);
    const int left = x0;
    const int right = x1;
    const int base = y1 - BASE_LINE_INSET;
    std::vector<GUI_Window*> buttons;
    for (int i = 0; i < 3; ++i) {
        GUI_Window* const button = Button(i);
        if (button != nullptr && !button->IsHidden())
            buttons.push_back(button);
    }
    switch (arrangement) {
    case 0:
    case 1: {
        int x = left;
        if (arrangement == 1) {
            int total = 0;
            for (const GUI_Window* const button : buttons)
                total += button->GetWidth();
            if (!buttons.empty())
                total += gap * static_cast<int>(buttons.size() - 1);
            x = left + (right - left - total) / 2;
        }
        for (GUI_Window* const button : buttons) {
            button->MoveTo(x, base - button->GetHeight(), true);
            x += button->GetWidth() + gap;
        }
        break;
    }
    case 2: {
        int x = right;
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
            (*it)->MoveTo(x - (*it)->GetWidth(), base - (*it)->GetHeight(), true);
            x -= (*it)->GetWidth() + gap;
        }
        break;
    }
    case 3: {
        int y = base;
        for (GUI_Window* const button : buttons) {
            button->MoveTo(left, y - button->GetHeight(), true);
            y -= button->GetHeight() + gap;
        }
        break;
    }
    case 4: {
        int y = base;
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
            (*it)->MoveTo(right - (*it)->GetWidth(), y - (*it)->GetHeight(), true);
            y -= (*it)->GetHeight() + gap;
        }
        break;
    }
    default:
        break;
    }
}

bool MessageBoxInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        for (int i = 0; i < 3; ++i) {
            if (SenderIs(event, BUTTON_NAMES[i])) {
                m_Result = i;
                return true;
            }
        }
    }
    return GameInterface::HandleInput(event);
}
