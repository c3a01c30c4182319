// What the frame loop does for the CPU's demonstration hands between two steps of a turn driver: the clock moves
// on a frame, the hand image glides and every card eases toward its place. Driver tests call it once a frame.
#pragma once

#include "cards/CardActor.h"
#include "cards/CardBehaviour.h"
#include "engine/core/Easing.h"
#include "gui/SpriteList.h"
#include "lessons/HandDemos.h"
#include "platform/Headless.h"
#include "rules/BoardQueries.h"

namespace lessontest {

constexpr std::uint32_t HAND_FRAME_MS = 17;

inline void AnimateHandDemosFrame()
{
    plat::headless::AdvanceTime(HAND_FRAME_MS);
    g_FrameMilliseconds = static_cast<float>(HAND_FRAME_MS);
    GetSpriteList()->UpdateAll();
    for (CardActor* const card : GetCardActors())
        CardBehaviour(card);
}

// The hands take up whatever waits for them and carry it out, frame by frame, before the driver's next step: a
// driver test counts the driver's own frames.
inline void FinishHandDemos(int maxFrames = 2000)
{
    StepHandDemos();
    for (int i = 0; i < maxFrames && !AreHandDemosIdle(); ++i) {
        AnimateHandDemosFrame();
        StepHandDemos();
    }
}

} // namespace lessontest
