// Placeholder until the CPU's choices exist.
#include "rules/CpuChoices.h"

#include "cards/CardActor.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"

#include <algorithm>

void CpuRespond(bool /*respond*/)
{
}

void ClearCpuTappedSources()
{
}

int PayCpuCost(const ManaCost& cost)
{
    ManaCost owed = cost;
    int tapped = 0;
    const std::vector<CardActor*> cards = GetCardActors();
    // Coloured mana first, then anything for generic; newest sources first.
    for (const bool forGeneric : {false, true}) {
        for (auto it = cards.rbegin(); it != cards.rend() && owed.Total() > 0; ++it) {
            CardActor* const card = *it;
            if (card->GetOwner() != PLAYER_CPU || !card->CanAct() || card->GetTapState() != TAP_READY ||
                !IsManaSource(*card, true))
                continue;
            const ManaCost& production = GetManaProduction(*card);
            int used = 0;
            for (int i = 1; i < 6; ++i) {
                const int take = std::min(owed.At(i), production.At(i));
                owed.At(i) -= take;
                used += take;
            }
            if (forGeneric && used < production.Total() && owed.generic > 0) {
                const int take = std::min(owed.generic, production.Total() - used);
                owed.generic -= take;
                used += take;
            }
            if (used > 0) {
                card->SetTapState(TAP_TAPPED);
                ++tapped;
            }
        }
    }
    UpdateCpuAvailableMana();
    return tapped;
}

void ClearCpuChoiceTable()
{
}
