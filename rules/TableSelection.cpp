#include "rules/TableSelection.h"

#include <initializer_list>

namespace {

TableSelection s_Selection;

} // namespace

TableSelection& GetTableSelection()
{
    return s_Selection;
}

void ClearTableSelection()
{
    s_Selection = TableSelection();
}

void ForgetSelectedCard(const CardActor* card)
{
    if (card == nullptr)
        return;
    for (CardActor** slot : {&s_Selection.selectedCard, &s_Selection.pendingAbility, &s_Selection.pendingSpell,
                             &s_Selection.xCostCard}) {
        if (*slot == card)
            *slot = nullptr;
    }
}
