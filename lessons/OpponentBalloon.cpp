#include "lessons/OpponentBalloon.h"

#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/LessonState.h"
#include "gui/DialogManager.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/PlayerResponse.h"
#include "rules/PlayerState.h"

namespace {

constexpr std::uint32_t BALLOON_TEXT = 0xFFFFFF;
constexpr std::uint32_t BALLOON_HIGHLIGHT = 0xE0FFFF;
constexpr std::uint32_t BALLOON_PRESSED = 0x004040;
constexpr int BALLOON_FONT = 8;

const char16_t* Text(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? text : u"";
}

bool IsRegistered(const WordBalloon* balloon)
{
    const GameDisplay* const display = GetGameDisplay();
    return balloon != nullptr && display != nullptr && display->IsWindowRegistered(balloon);
}

} // namespace

WordBalloon* ShowOpponentBalloon(const OpponentBalloonContent& content)
{
    const bool isNew = GetCpuTurnBalloon() == nullptr;
    WordBalloon& balloon = *MakeCpuTurnBalloon();
    balloon.SetKind(content.kind);
    balloon.Reset();
    balloon.SetScaledSize(content.width, content.height);
    balloon.SetPointerSide(POINTER_TOP_LEFT);
    if (!content.widthLines.empty()) {
        balloon.FitWidthToLines(content.widthLines.c_str());
    }
    balloon.CopyText(content.text);
    balloon.AddButton(Text(u"STR_OK"), BALLOON_TEXT, BALLOON_HIGHLIGHT, BALLOON_PRESSED, BALLOON_FONT, -1, -1);
    if (content.respondButton) {
        balloon.AddButton(Text(u"PHYSDLG_BUTTON_Respond"), BALLOON_TEXT, BALLOON_HIGHLIGHT, BALLOON_PRESSED,
                          BALLOON_FONT, -1, -1);
        if (!CanPlayerRespond(PLAYER_HUMAN))
            balloon.SetButtonDisabled(1, true);
        balloon.MakeButtonsSameWidth();
    }
    balloon.AutoSize();
    if (isNew && content.centreWhenNew)
        balloon.CenterOnScreen();
    PositionLessonBox(&balloon);
    if (GameDisplay* const display = GetGameDisplay(); display != nullptr && !display->IsWindowRegistered(&balloon))
        display->RegisterWindow(&balloon);
    return &balloon;
}

WordBalloon* GetShownOpponentBalloon(int kind)
{
    WordBalloon* const balloon = GetCpuTurnBalloon();
    if (!IsRegistered(balloon) || balloon->GetKindNumber() != kind)
        return nullptr;
    return balloon;
}

int GetOpponentBalloonAnswer(int kind)
{
    const WordBalloon* const balloon = GetShownOpponentBalloon(kind);
    return balloon != nullptr ? balloon->GetAnswer() : -1;
}

void DeleteOpponentBalloon()
{
    DeleteCpuTurnBalloon();
}

void UnregisterOpponentBalloon()
{
    WordBalloon* const balloon = GetCpuTurnBalloon();
    if (IsRegistered(balloon))
        GetGameDisplay()->UnregisterWindow(balloon);
    if (balloon != nullptr)
        balloon->ClearClickedButton();
}

bool AreCardDialogsQuiet()
{
    return !IsPriorityDialogShown() && !IsNormalDialogShown() && !HasPriorityDialogQueued() &&
           !HasNormalDialogQueued();
}
