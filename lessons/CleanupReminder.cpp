#include "lessons/CleanupReminder.h"

#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"

namespace {

constexpr int CLEANUP_CHECKS = 3;
constexpr int CLEANUP_TIMER = 180;

int s_ChecksLeft = CLEANUP_CHECKS;
int s_Timer = -1;

bool IsDamagedCreatureOnTable()
{
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == nullptr || card->GetCardType() != CT_CREATURE)
            continue;
        if (card->IsNotLeaving() && !card->IsHeld() && card->GetDamage() > card->GetShields())
            return true;
    }
    return false;
}

} // namespace

bool ShowCleanupReminder()
{
    if (s_GameMode == 3 && s_Timer == -1) {
        const int checks = s_ChecksLeft--;
        if (checks > 0 && IsDamagedCreatureOnTable())
            s_Timer = CLEANUP_TIMER;
    }
    if (s_Timer > 0) {
        --s_Timer;
        if (GameDisplay* const display = GetGameDisplay())
            display->AddMessageWindow(0, 100, GetString(u"STR_Cleanup"), 320, 160, nullptr, false, 0, 0, 1,
                                      u"psok", u"psokmo", nullptr, 30, 0, 0);
    }
    s_Timer = -1;
    return false;
}

void ResetCleanupReminder()
{
    s_ChecksLeft = CLEANUP_CHECKS;
    s_Timer = -1;
}
