// The coin toss's result prompt: a text with its buttons in the message field.
#include "engine/scene/GameDisplay.h"

namespace {

constexpr int ONE_BUTTON = 1;
constexpr int TWO_BUTTONS = 2;

} // namespace

int GameDisplay::DrawTextureInRect(std::u16string_view text, int buttons)
{
    return ShowMessagePrompt(text, buttons >= TWO_BUTTONS ? TWO_BUTTONS : ONE_BUTTON);
}
