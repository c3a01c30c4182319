#include "rules/CombatDamage.h"

void ClearCombatDamageRecords()
{
}

int GetCombatDamageRecordCount()
{
    return 0;
}
