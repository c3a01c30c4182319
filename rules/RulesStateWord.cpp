#include "rules/RulesStateWord.h"

namespace {

int s_RulesStateWord = 0;

} // namespace

int GetRulesStateWord()
{
    return s_RulesStateWord;
}

void SetRulesStateWord(int value)
{
    s_RulesStateWord = value;
}
