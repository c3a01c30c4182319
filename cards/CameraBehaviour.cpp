#include "cards/CameraBehaviour.h"

#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"

void CameraBehaviour(Actor* camera)
{
    if (s_RequestedGameMode != s_GameMode)
        return;
    // The frame tick calls the camera itself: the ordinary actor update must not run it a second time.
    if (camera != nullptr && (camera->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        camera->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        camera->m_Flags |= ACTOR_FLAG_SUSPENDED;
    }
    UpdateVoiceQueue();
    if (GameDisplay* const display = GetGameDisplay())
        display->DrawMatAndHud();
}
