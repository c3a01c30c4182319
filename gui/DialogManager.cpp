#include "gui/DialogManager.h"

#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gui/CardSpecificDialog.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace {

DialogGameQueries s_Queries;
CardSpecificDialog* s_pCurrent = nullptr;
std::deque<CardSpecificDialog*> s_PriorityQueue;
std::deque<CardSpecificDialog*> s_NormalQueue;
// Every dialog is owned by exactly one of these two.
std::vector<std::unique_ptr<CardSpecificDialog>> s_Armed;
std::vector<std::unique_ptr<CardSpecificDialog>> s_Retired;

bool IsShown(const CardSpecificDialog* dialog)
{
    return dialog != nullptr && GetGameDisplay()->IsWindowRegistered(dialog);
}

bool IsTableBusy()
{
    const bool pending = s_Queries.CountPendingCards != nullptr && s_Queries.CountPendingCards(0) > 0;
    const bool tokenBusy = s_Queries.IsLifeTokenReady != nullptr && !s_Queries.IsLifeTokenReady();
    return pending || tokenBusy;
}

void DropObsolete(std::deque<CardSpecificDialog*>& queue, int event, Actor* card)
{
    std::erase_if(queue, [&](CardSpecificDialog* dialog) { return dialog->TestCardEvent(event, card); });
}

// The front of the queue becomes current and is shown.
void ShowNext(std::deque<CardSpecificDialog*>& queue)
{
    GameDisplay* const display = GetGameDisplay();
    if (s_pCurrent != nullptr && display->IsWindowRegistered(s_pCurrent))
        display->UnregisterWindow(s_pCurrent);
    s_pCurrent = queue.front();
    queue.pop_front();
    s_pCurrent->ColorLinkLabels();
    s_pCurrent->PlaceOnScreen();
    display->RegisterWindow(s_pCurrent);
}

bool IsDialogShown(bool modal)
{
    return s_pCurrent != nullptr && s_pCurrent->IsModal() == modal && !s_pCurrent->IsHidden() &&
           IsShown(s_pCurrent);
}

} // namespace

void SetDialogGameQueries(const DialogGameQueries& queries)
{
    s_Queries = queries;
}

void AddArmedDialog(std::unique_ptr<CardSpecificDialog> dialog)
{
    if (dialog != nullptr)
        s_Armed.push_back(std::move(dialog));
}

void PostDialogEvent(int event, Actor* card)
{
    if (IsOnlineLesson())
        return;
    if (IsShown(s_pCurrent) && s_pCurrent->TestCardEvent(event, card)) {
        GetGameDisplay()->UnregisterWindow(s_pCurrent);
        s_pCurrent = nullptr;
    }
    DropObsolete(s_PriorityQueue, event, card);
    DropObsolete(s_NormalQueue, event, card);

    for (auto it = s_Armed.begin(); it != s_Armed.end();) {
        CardSpecificDialog* const dialog = it->get();
        if (!dialog->TestEvent(event, card)) {
            ++it;
            continue;
        }
        (dialog->IsModal() ? s_PriorityQueue : s_NormalQueue).push_back(dialog);
        dialog->IncShownCount();
        if (dialog->IsExhausted()) {
            s_Retired.push_back(std::move(*it));
            it = s_Armed.erase(it);
        } else {
            ++it;
        }
    }
}

bool UpdateDialogQueue()
{
    if (IsOnlineLesson())
        return false;
    if (IsShown(s_pCurrent)) {
        if (IsTableBusy()) {
            s_pCurrent->SetHidden(true);
            return false;
        }
        s_pCurrent->SetHidden(false);
        if (!s_pCurrent->IsAnswered()) {
            const int link = s_pCurrent->GetPressedButton();
            if (link >= 0) {
                SetWindowColor(s_pCurrent->FindExtraWindowByTag(link), 0, 160, 224, 255);
                s_pCurrent->ClearPressedButton();
                s_pCurrent->OpenExplanation(link);
            }
            return true;
        }
        GetGameDisplay()->UnregisterWindow(s_pCurrent);
        s_pCurrent = nullptr;
        GetHintRegistry()->StopVoices();
    }
    if (!s_PriorityQueue.empty()) {
        ShowNext(s_PriorityQueue);
        return true;
    }
    if (!s_NormalQueue.empty()) {
        ShowNext(s_NormalQueue);
        return true;
    }
    return false;
}

void DestroyAllDialogs()
{
    GameDisplay* const display = GetGameDisplay();
    if (s_pCurrent != nullptr && display->IsWindowRegistered(s_pCurrent))
        display->UnregisterWindow(s_pCurrent);
    s_pCurrent = nullptr;
    s_PriorityQueue.clear();
    s_NormalQueue.clear();
    s_Armed.clear();
    s_Retired.clear();
}

bool IsPriorityDialogShown()
{
    return IsDialogShown(true);
}

bool IsNormalDialogShown()
{
    return IsDialogShown(false);
}

bool HasPriorityDialogQueued()
{
    return !s_PriorityQueue.empty();
}

bool HasNormalDialogQueued()
{
    return !s_NormalQueue.empty();
}

void HideCurrentDialog()
{
    if (IsShown(s_pCurrent))
        s_pCurrent->SetHidden(true);
}

CardSpecificDialog* GetCurrentDialog()
{
    return s_pCurrent;
}

int CountArmedDialogs()
{
    return static_cast<int>(s_Armed.size());
}

CardSpecificDialog* GetArmedDialog(int index)
{
    return index >= 0 && index < CountArmedDialogs() ? s_Armed[static_cast<std::size_t>(index)].get() : nullptr;
}
