#include "lessons/LessonBoxCard.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gui/Messagebox.h"

#include <algorithm>

namespace {

constexpr int BOX_CARD_GAP = 5;

// Bound to the advice it was shown with: a box reused for other advice keeps the window (children go with the
// box) but it lets go of the card and is no longer drawn or found under the mouse.
class LessonBoxCardWindow final : public CardWindow {
public:
    explicit LessonBoxCardWindow(int boxKind) : m_BoxKind(boxKind) {}

    void Draw() override
    {
        if (CurrentCard() == nullptr)
            return;
        CardWindow::Draw();
    }

    CardActor* CurrentCard()
    {
        const auto* const box = dynamic_cast<const Messagebox*>(GetParent());
        CardActor* const card = GetCardActor();
        if (card != nullptr && (box == nullptr || box->GetKindNumber() != m_BoxKind || !IsActorRegistered(card))) {
            SetCardActor(nullptr);
            SetHidden(true);
        }
        return GetCardActor();
    }

private:
    int m_BoxKind;
};

LessonBoxCardWindow* FindBoxCard(const Messagebox& box)
{
    for (GUI_Window* const child : box.GetChildren()) {
        if (auto* const window = dynamic_cast<LessonBoxCardWindow*>(child))
            return window;
    }
    return nullptr;
}

} // namespace

void ShowCardInLessonBox(Messagebox& box, CardActor* card)
{
    if (LessonBoxCardWindow* const old = FindBoxCard(box)) {
        box.RemoveChild(old);
        delete old;
    }
    const GameDisplay* const display = GetGameDisplay();
    if (card == nullptr || display == nullptr)
        return;
    const int width = std::max(display->GetCardWidth(), 1);
    const int height = std::max(display->GetCardHeight(), 1);
    box.SetRect(box.GetLeft(), box.GetTop(), box.GetRight(), box.GetBottom() + height + BOX_CARD_GAP, true);
    box.RelayoutButtons();
    const int buttonRow = box.GetButtonRowExtent(box.GetButtonCount(), box.GetArrangement());
    const int bottom = box.GetBottom() - box.GetInsetBottom() - BOX_CARD_GAP - buttonRow;
    const int left = box.GetLeft() + (box.GetWidth() - width) / 2;
    auto* const window = new LessonBoxCardWindow(box.GetKindNumber());
    window->SetCardActor(card);
    // At the box's own depth: drawn after the box's face, it shows on it.
    window->SetDepth(box.GetDepth());
    window->SetRect(left, bottom - height, left + width, bottom, true);
    box.AddChild(window);
}

CardActor* GetLessonBoxCard(const Messagebox& box)
{
    LessonBoxCardWindow* const window = FindBoxCard(box);
    return window != nullptr ? window->CurrentCard() : nullptr;
}
