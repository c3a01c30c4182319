// The combat damage records that the damage assignment fills. Until the rules exist the list stays empty.
#pragma once

// Frees every record and its entries; the counters return to 0 (shutdown, and the assignment's start).
void ClearCombatDamageRecords();
int GetCombatDamageRecordCount();
