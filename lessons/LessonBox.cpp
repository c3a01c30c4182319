#include "lessons/LessonBox.h"

#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gui/Messagebox.h"

#include <memory>

namespace {

CardActor* s_pCardBeingPaid = nullptr;
bool s_bSpellPayment = false;

} // namespace

Messagebox* GetLessonBox()
{
    return s_pLessonBox.get();
}

void SetLessonBox(Messagebox* box)
{
    if (box == s_pLessonBox.get())
        return;
    s_pLessonBox.reset(box);
}

Messagebox* ReuseLessonBox()
{
    if (s_pLessonBox == nullptr) {
        s_pLessonBox = std::make_unique<Messagebox>();
        return s_pLessonBox.get();
    }
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && display->IsWindowRegistered(s_pLessonBox.get()))
        display->UnregisterWindow(s_pLessonBox.get());
    return s_pLessonBox.get();
}

void CloseLessonBox()
{
    if (s_pLessonBox == nullptr)
        return;
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr || !display->IsWindowRegistered(s_pLessonBox.get()))
        return;
    display->UnregisterWindow(s_pLessonBox.get());
    s_pLessonBox.reset();
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void DeleteLessonBox()
{
    s_pLessonBox.reset();
}

CardActor* GetCardBeingPaid()
{
    return s_pCardBeingPaid;
}

void SetCardBeingPaid(CardActor* card)
{
    s_pCardBeingPaid = card;
}

bool IsSpellPaymentUnderWay()
{
    return s_bSpellPayment;
}

void SetSpellPaymentUnderWay(bool underWay)
{
    s_bSpellPayment = underWay;
}

Messagebox* GetShownLessonBox(int kind)
{
    const GameDisplay* const display = GetGameDisplay();
    if (s_pLessonBox == nullptr || display == nullptr || !display->IsWindowRegistered(s_pLessonBox.get()))
        return nullptr;
    return s_pLessonBox->GetKindNumber() == kind ? s_pLessonBox.get() : nullptr;
}
