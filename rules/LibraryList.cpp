// The stack's library list: the cards a search or a look at the top of a library shows, and the taking of the
// chosen card out of the human's library.
#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/LibraryDialog.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/Targets.h"

#include <memory>
#include <utility>

namespace {

constexpr int OPPONENT_HALF_ZONE = 12;

std::unique_ptr<LibraryDialog> s_pLibraryList;

int ListIndexOf(const CardActor* shown)
{
    if (s_pLibraryList == nullptr)
        return -1;
    for (int i = 0; i < s_pLibraryList->GetCardCount(); ++i) {
        const CardWindow* const window = s_pLibraryList->GetCardWindow(i);
        if (window != nullptr && window->GetCardActor() == shown)
            return i;
    }
    return -1;
}

bool IsTutorResolving(const SpellStack& stack)
{
    return stack.m_ResolvingCard != nullptr && stack.m_ResolvingEffect != nullptr &&
           stack.m_ResolvingEffect->effectType == EFFECT_TUTOR;
}

// The chosen card leaves the human's library: its entry goes to the next-draw place, which moves on past it.
void TakeFromLibrary(SpellStack& stack, const CardActor& shown)
{
    const int index = ListIndexOf(&shown);
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    const int next = human.m_NextDrawIndex;
    if (index < 0 || next < 0 || next + index >= human.m_LibraryCount || next + index >= LIBRARY_CAPACITY)
        return;
    CardActor* const card = CreateCardActor(shown.GetId(), PLAYER_HUMAN);
    if (card == nullptr)
        return;
    if (index != 0)
        std::swap(human.m_Library[static_cast<std::size_t>(next)],
                  human.m_Library[static_cast<std::size_t>(next + index)]);
    ++human.m_NextDrawIndex;
    card->SetInLibrary(false);
    card->SetHeld(false);
    card->m_Position = shown.m_Position;
    stack.m_ResolvingTargetCard = card;
}

bool ChooseFromList(CardActor* card, int /*index*/)
{
    SpellStack& stack = GetSpellStack();
    // One card per search: a second press finds the first still being taken.
    if (card == nullptr || !IsTutorResolving(stack) || stack.m_ResolvingTargetCard != nullptr)
        return false;
    if (ChooseTarget(stack.m_ResolvingCard, card, stack.m_ResolvingIsAbility, true, false, nullptr) == nullptr)
        return false;
    if (stack.m_Physical == 0)
        TakeFromLibrary(stack, *card);
    return true;
}

bool Overlaps(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const RasterRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void DropFromList(CardActor* card, int /*index*/)
{
    SpellStack& stack = GetSpellStack();
    if (card == nullptr || s_pLibraryList == nullptr || !IsTutorResolving(stack) ||
        stack.m_ResolvingTargetCard != nullptr)
        return;
    const int kind = stack.m_ResolvingEffect->raiseTutorType;
    if (kind != RAISETUTOR_TOPLAY && kind != RAISETUTOR_TOPLAYTAPPED)
        return;
    const GameDisplay& display = *GetGameDisplay();
    int width = 0;
    int height = 0;
    display.GetCardDrawSize(card, width, height, false);
    const int left = static_cast<int>(card->m_Position.x);
    const int top = static_cast<int>(card->m_Position.y);
    const RasterRect rect{left, top, left + width, top + height};
    RasterRect area{};
    if (card->IsLand())
        display.GetPlayerLandArea(area);
    else
        display.GetPlayAreaRect(area);
    const LibraryDialog& dialog = *s_pLibraryList;
    const RasterRect list{dialog.GetLeft(), dialog.GetTop(), dialog.GetRight(), dialog.GetBottom()};
    const bool inside = Contains(list, rect.left, rect.top) && Contains(list, rect.right - 1, rect.top) &&
                        Contains(list, rect.left, rect.bottom - 1) && Contains(list, rect.right - 1, rect.bottom - 1);
    if (Overlaps(rect, area) && !inside)
        TakeFromLibrary(stack, *card);
}

void Unregister(GUI_Window* window)
{
    if (window == nullptr)
        return;
    GameDisplay* const display = GetGameDisplay();
    if (display->IsWindowRegistered(window))
        display->UnregisterWindow(window);
    GetGUIManager()->UnregisterWindow(window);
}

} // namespace

LibraryDialog* SpellStack::GetLibraryList() const
{
    return s_pLibraryList.get();
}

bool SpellStack::IsLibraryListOpen() const
{
    return s_pLibraryList != nullptr && GetGameDisplay()->IsWindowRegistered(s_pLibraryList.get());
}

void SpellStack::OpenLibraryList(int player, int count, bool choosing)
{
    if (IsLibraryListOpen())
        return;
    if (s_pLibraryList != nullptr && s_pLibraryList->GetPlayer() != player)
        CloseLibraryList();
    if (s_pLibraryList == nullptr)
        s_pLibraryList = std::make_unique<LibraryDialog>(player, count);
    LibraryDialog& list = *s_pLibraryList;
    list.SetMayDragTest(choosing ? ChooseFromList : nullptr);
    list.SetDroppedNotification(choosing && m_Physical != 0 ? DropFromList : nullptr);
    list.SetCardsMovable(choosing && m_Physical != 0);
    GameDisplay& display = *GetGameDisplay();
    const RasterRect& zone = display.GetZoneRectByIndex(OPPONENT_HALF_ZONE);
    list.SetRect(zone.left, zone.top, zone.right, zone.bottom, true);
    list.FillCards();
    display.RegisterWindow(&list);
    if (Messagebox* const window = GetWindow()) {
        display.PlaceAdviceWindow(window);
        window->MoveTo(window->GetLeft(), list.GetBottom(), true);
    }
}

void SpellStack::CloseLibraryList()
{
    if (s_pLibraryList == nullptr)
        return;
    Unregister(s_pLibraryList.get());
    s_pLibraryList.reset();
    if (Messagebox* const window = GetWindow())
        GetGameDisplay()->PlaceAdviceWindow(window);
}

void SpellStack::RelayoutLibraryList()
{
    // The list keeps the opponent's half it was opened on: the library's own relayout would move it onto the
    // player's half, over the land area a searched land is dragged to.
    if (IsLibraryListOpen())
        s_pLibraryList->CardListDialog::Relayout();
}
