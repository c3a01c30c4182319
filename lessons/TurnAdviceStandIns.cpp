#include "lessons/TurnAdviceStandIns.h"

#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalAdviceState.h"
#include "lessons/PlayerResponse.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

bool CheckDropToAttack(CardActor* /*card*/)
{
    return false;
}

bool IsCardInCombatSet(const CardActor* card)
{
    return card != nullptr && GetPhysicalAdviceState().combatSet.contains(card);
}

bool ShowCombatResult(int /*side*/)
{
    return false;
}

void ShowBlockInstantPrompt()
{
    LessonBoxContent content;
    content.kind = 27;
    content.width = 320;
    content.height = 200;
    content.textKey = u"PHYSDLG_PlayerBlock_IA_Prompt";
    content.buttons = {u"PHYSDLG_BUTTON_Pass"};
    content.placing = LessonBoxPlacing::OnlyNew;
    if (s_GameMode == 2) {
        content.buttons.push_back(u"PHYSDLG_BUTTON_Respond");
        if (!CanPlayerRespond(PLAYER_HUMAN))
            content.disabled = {1};
    }
    ShowLessonBox(content);
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(u"vo_phys\\adv_BlockIA_Prompt.wav", 1, true);
}

// Until the drawing hand deals card actors, the CPU's opening hand is dealt at once; its backs still fly.
void StartHandAnimation(int count)
{
    if (count > 0)
        DealCpuOpeningHand();
}
