// The rules-state word a table reset clears.
#pragma once

int GetRulesStateWord();
void SetRulesStateWord(int value);
