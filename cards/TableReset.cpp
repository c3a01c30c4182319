#include "cards/TableReset.h"

#include "cards/LifeToken.h"
#include "cards/PhysQuitButton.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/GameBlock.h"
#include "gamestate/SettingsMenu.h"
#include "gamestate/TableLessonCalls.h"
#include "rules/Decks.h"
#include "rules/GameGlobals.h"
#include "rules/PlayerState.h"
#include "rules/RulesStateWord.h"
#include "rules/SpellStack.h"

namespace {

int s_PreviousGameMode = 0;

} // namespace

int GetPreviousGameMode()
{
    return s_PreviousGameMode;
}

void ResetTable(int mode)
{
    if (Raster* const raster = GetRaster())
        raster->SetActive(false);
    GameBlock& block = GetGameBlock();
    if (mode <= 0 && GetForcedFirstCard(PLAYER_HUMAN) == 0)
        block.menuWords.fill(-1);
    ResetSettingsMenu();
    GetSpellStack().EndResolution();
    StopAllEffects();
    StopVoiceQueue();
    DestroyAllActors();
    if (GameDisplay* const display = GetGameDisplay())
        display->ClearWindows();
    DestroyLifeTokens();
    DestroyPhysQuitButton();
    s_RequestedGameMode = mode;
    s_PreviousGameMode = s_GameMode;
    s_GameMode = -1;
    block.flowWords.fill(0);
    s_FramesPerSecond = s_MaxFramesPerSecond;
    block.resetWord = 0;
    InitSound();
    // The level script spawns the scene's actors; the reset spawns none.
    ResetPlayerStates();
    SetRulesStateWord(0);
    if (g_TableLessonCalls.ResetTableScene != nullptr)
        g_TableLessonCalls.ResetTableScene();
}
