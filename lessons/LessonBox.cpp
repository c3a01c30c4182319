#include "lessons/LessonBox.h"

#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonQueries.h"

namespace {

constexpr std::uint32_t BUTTON_TEXT = 0xFFFFFF;
constexpr std::uint32_t BUTTON_HIGHLIGHT = 0xF8F8E0;
constexpr std::uint32_t BUTTON_PRESSED = 0xF8F8E0;
constexpr int BUTTON_FONT = 8;
// The layout values the balloon is placed by: the side panel's zone and the opponent's panel, whose lower right
// corner is the anchor a pointing balloon starts from.
constexpr int SIDE_PANEL_ZONE = 14;
constexpr int OPPONENT_PANEL_ZONE = 2;
constexpr int ANCHOR_OFFSET_X = 5;
constexpr int ANCHOR_OFFSET_Y = 8;

bool s_bSpellPayment = false;
std::uint32_t s_AdviceDelay = INITIAL_ADVICE_DELAY;

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void SetContentText(Messagebox& box, const LessonBoxContent& content)
{
    if (content.textKey != nullptr)
        box.SetText(GetString(content.textKey), false, false);
    else
        box.CopyText(content.builtText);
}

void AddContentButtons(Messagebox& box, const LessonBoxContent& content)
{
    if (content.buttons.empty())
        return;
    for (const char16_t* const key : content.buttons) {
        const char16_t* const label = GetString(key);
        box.AddButton(label != nullptr ? label : u"", BUTTON_TEXT, BUTTON_HIGHLIGHT, BUTTON_PRESSED, BUTTON_FONT, -1,
                      -1);
    }
    box.MakeButtonsSameWidth();
    for (const int index : content.disabled)
        box.SetButtonDisabled(index, true);
}

} // namespace

Messagebox* ShowLessonBox(const LessonBoxContent& content)
{
    Messagebox* box = GetLessonBox();
    bool place = box == nullptr;
    if (box == nullptr) {
        box = new Messagebox(DIALOG_KIND_MESSAGEBOX);
        SetLessonBox(box);
    } else if (content.placing == LessonBoxPlacing::NewOrOtherKind) {
        place = box->GetKindNumber() != content.kind;
    }
    box->Reset();
    box->SetScaledSize(content.width, content.height);
    box->SetKind(content.kind);
    SetContentText(*box, content);
    AddContentButtons(*box, content);
    AddExplanationLinkLabel(box, content.explanationLink);
    box->AutoSize();
    if (content.keepNominalHeight && box->GetHeight() < content.height)
        box->SetScaledSize(content.width, content.height);
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return box;
    if (place)
        display->PlaceAdviceWindow(box);
    if (content.avoidCard != nullptr)
        display->CardsOverlap(box, content.avoidCard);
    display->RegisterWindow(box);
    return box;
}

Messagebox* ReuseLessonBox()
{
    Messagebox* const box = GetLessonBox();
    if (box == nullptr) {
        SetLessonBox(new Messagebox(DIALOG_KIND_MESSAGEBOX));
        return GetLessonBox();
    }
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && display->IsWindowRegistered(box))
        display->UnregisterWindow(box);
    return box;
}

void CloseLessonBox()
{
    if (!IsLessonBoxShowing())
        return;
    GetGameDisplay()->UnregisterWindow(GetLessonBox());
    DeleteLessonBox();
    StopVoices();
}

Messagebox* GetShownLessonBox(int kind)
{
    if (!IsLessonBoxShowing())
        return nullptr;
    Messagebox* const box = GetLessonBox();
    return box->GetKindNumber() == kind ? box : nullptr;
}

int TakeLessonBoxAnswer(int kind)
{
    const Messagebox* const box = GetShownLessonBox(kind);
    if (box == nullptr || box->GetAnswer() < 0)
        return -1;
    const int answer = box->GetAnswer();
    CloseLessonBox();
    return answer;
}

bool IsSpellPaymentUnderWay()
{
    return s_bSpellPayment;
}

void SetSpellPaymentUnderWay(bool underWay)
{
    s_bSpellPayment = underWay;
}

void PositionLessonBox(WordBalloon* balloon)
{
    const GameDisplay* const display = GetGameDisplay();
    if (balloon == nullptr || display == nullptr)
        return;
    if (balloon->GetPointerSide() > 0) {
        const RasterRect& anchor = display->GetZoneRectByIndex(OPPONENT_PANEL_ZONE);
        balloon->MoveTo(anchor.right + ANCHOR_OFFSET_X, anchor.bottom + ANCHOR_OFFSET_Y, true);
        return;
    }
    const RasterRect& panel = display->GetZoneRectByIndex(SIDE_PANEL_ZONE);
    const int baseLine = panel.top;
    const int halfPanel = (panel.bottom - panel.top) / 2;
    // The side panel stands at the screen's left edge in this layout: where the balloon would leave the screen
    // it stands beside the panel's other edge.
    int left = panel.left - balloon->GetWidth();
    if (left < 0)
        left = panel.right;
    balloon->MoveTo(left, baseLine + halfPanel - balloon->GetHeight(), true);
}

std::uint32_t GetAdviceDelay()
{
    return s_AdviceDelay;
}

void SetAdviceDelay(std::uint32_t delay)
{
    s_AdviceDelay = delay;
}

std::uint32_t GetAdviceDelayForLanguage(int languageId)
{
    switch (languageId) {
    case 2:
    case 3:
    case 10:
    case 11:
        return 6500;
    case 9:
        return 7000;
    default:
        return 6000;
    }
}

bool IsProtectedAdviceWindow(const Messagebox* window)
{
    if (window == nullptr || window != GetCpuTurnBalloon())
        return false;
    const int kind = window->GetKindNumber();
    const int lastKind = s_GameMode == 1 ? 57 : s_GameMode == 2 ? 59 : -1;
    if (kind < 56 || kind > lastKind)
        return false;
    return IsPriorityDialogShown() || IsNormalDialogShown() || HasPriorityDialogQueued() || HasNormalDialogQueued() ||
           IsLessonBoxShowing();
}
