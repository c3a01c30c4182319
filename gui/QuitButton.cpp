#include "gui/QuitButton.h"

#include "engine/core/TextHelpers.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"

namespace {

constexpr std::u16string_view QUIT_BUTTON_NAME = u"btnPhysQuit";
constexpr int FULL_VOLUME = 255;

} // namespace

QuitButton::QuitButton() : GUI_Window(TEXT_BUTTON_KIND), GUI_TextButton(TEXT_BUTTON_KIND)
{
}

bool QuitButton::HandleInput(const GUI_InputEvent& event)
{
    if (event.type == GUI_EVENT_COMMAND && event.sender != nullptr &&
        EqualsNoCase(event.sender->GetName(), QUIT_BUTTON_NAME)) {
        StopVoiceQueue();
        const GUI_Button* const sender = dynamic_cast<const GUI_Button*>(event.sender);
        if (sender != nullptr)
            PlayEffect(static_cast<int>(sender->GetClickEffect()), FULL_VOLUME, 0, 0, 0, nullptr);
        ShowQuitWarning();
        return true;
    }
    return GUI_TextButton::HandleInput(event);
}
