#include "cards/TableReset.h"

#include "cards/LifeToken.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "rules/GameGlobals.h"
#include "lessons/TableSceneReset.h"

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
    StopVoiceQueue();
    DestroyAllActors();
    DestroyLifeTokens();
    s_RequestedGameMode = mode;
    s_PreviousGameMode = s_GameMode;
    s_GameMode = -1;
    s_FramesPerSecond = s_MaxFramesPerSecond;
    // The level script spawns the scene's actors; the reset spawns none.
    ResetTableScene();
}
