// Placeholder until the card windows exist: a window of the card kind is bound to its card here, and the table
// creates no windows of its own yet.
#include "cards/CardWindows.h"

#include "cards/CardActor.h"
#include "gui/GUI_Window.h"

#include <map>

namespace {

std::map<const GUI_Window*, CardActor*>& Bindings()
{
    static std::map<const GUI_Window*, CardActor*> s_bindings;
    return s_bindings;
}

} // namespace

void ReleaseActorCardWindow(Actor* actor)
{
    std::erase_if(Bindings(), [actor](const auto& binding) {
        return binding.second != nullptr && static_cast<Actor*>(binding.second) == actor;
    });
}

CardActor* GetCardWindowActor(const GUI_Window* window)
{
    if (window == nullptr || window->GetKind() != CARD_WINDOW_KIND)
        return nullptr;
    const auto found = Bindings().find(window);
    return found == Bindings().end() ? nullptr : found->second;
}

void BindCardWindow(GUI_Window* window, CardActor* card)
{
    if (card == nullptr)
        Bindings().erase(window);
    else
        Bindings()[window] = card;
}

void CreateCardWindowForActor(CardActor* /*card*/, int /*width*/, int /*height*/)
{
}
