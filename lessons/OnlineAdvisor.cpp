#include "lessons/OnlineAdvisor.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "rules/TableSelection.h"

#include <memory>

namespace {

constexpr int ADVICE_WENORTH_MODE = 153;
constexpr int BOX_WIDTH = 320;
constexpr int BOX_HEIGHT = 200;
constexpr int STATE_GAIN_LIFE = 1;

std::unique_ptr<Messagebox> s_pAdviceBox;
int s_Advice = 0;

void TakeBoxDown()
{
    s_Advice = 0;
    GameDisplay* const display = GetGameDisplay();
    if (s_pAdviceBox != nullptr && display != nullptr && display->IsWindowRegistered(s_pAdviceBox.get()))
        display->UnregisterWindow(s_pAdviceBox.get());
}

// The instant the learner is preparing, while it still waits for its target.
CardActor* AdvisedCard()
{
    const TableSelection& selection = GetTableSelection();
    CardActor* const card = selection.spellPayment ? selection.pendingSpell : nullptr;
    if (card == nullptr || card->GetChosenTarget() != nullptr)
        return nullptr;
    return card;
}

bool AsksGainOrPrevent(const CardActor* card)
{
    return card != nullptr && card->GetId() == CD_WENORTH && card->GetState() == 0 &&
           card->GetSpellEffect()->needsTarget;
}

void ShowWenorthMode()
{
    if (s_pAdviceBox == nullptr)
        s_pAdviceBox = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
    Messagebox& box = *s_pAdviceBox;
    box.Reset();
    box.ClearButtons();
    box.SetScaledSize(BOX_WIDTH, BOX_HEIGHT);
    box.SetText(GetString(u"ONL_WenorthMode"), false, false);
    for (const char16_t* const key : {u"STR_GainLife", u"STR_PreventDamage"})
        box.AddButton(GetString(key), PackColour(255, 255, 255), PackColour(224, 248, 248), PackColour(36, 83, 83),
                      MESSAGEBOX_BUTTON_FONT, -1, -1);
    box.MakeButtonsSameWidth();
    box.AutoSize();
    GameDisplay* const display = GetGameDisplay();
    display->PlaceAdviceWindow(&box);
    display->RegisterWindow(&box);
    s_Advice = ADVICE_WENORTH_MODE;
}

} // namespace

// Both online games ask: without an answer the spell could never be aimed, and the turn could not go on.
void OnlineAdvisor()
{
    if (!IsOnlineLesson() || GetGameDisplay() == nullptr)
        return;
    CardActor* const card = AdvisedCard();
    if (s_Advice == ADVICE_WENORTH_MODE) {
        const int answer = s_pAdviceBox->GetAnswer();
        if (answer >= 0 && AsksGainOrPrevent(card))
            card->SetState(STATE_GAIN_LIFE + answer);
        // Answered, or the spell was given up through the message field's Cancel.
        if (answer >= 0 || !AsksGainOrPrevent(card))
            TakeBoxDown();
        return;
    }
    if (AsksGainOrPrevent(card))
        ShowWenorthMode();
}

Messagebox* GetOnlineAdviceBox()
{
    GameDisplay* const display = GetGameDisplay();
    if (s_pAdviceBox == nullptr || display == nullptr || !display->IsWindowRegistered(s_pAdviceBox.get()))
        return nullptr;
    return s_pAdviceBox.get();
}

int GetOnlineAdvice()
{
    return s_Advice;
}

void DeleteOnlineAdviceBox()
{
    TakeBoxDown();
    if (s_pAdviceBox == nullptr)
        return;
    if (GUI_Manager* const manager = GetGUIManager())
        manager->UnregisterWindow(s_pAdviceBox.get());
    s_pAdviceBox.reset();
}
