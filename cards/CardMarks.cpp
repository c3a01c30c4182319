#include "cards/CardMarks.h"

#include "cards/CardActor.h"

bool ShouldShowPowerToughness(const CardActor& card)
{
    const CARD* const definition = card.GetCard();
    if (definition == nullptr)
        return false;
    const CreatureStats& printed = *definition->GetCreatureStats();
    return card.GetStats().power != printed.power || card.GetStats().toughness != printed.toughness;
}
