#include "gamestate/OnlineAdviceWords.h"

int g_OnlineAdviceNumber = 0;
bool s_bAdvisorOn = false;
bool s_bCloseBlock = false;
bool s_bAttackExplained = false;

void ResetOnlineAdviceWords()
{
    g_OnlineAdviceNumber = 0;
    s_bAdvisorOn = false;
    s_bCloseBlock = false;
    s_bAttackExplained = false;
}
