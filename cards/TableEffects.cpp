#include "cards/TableEffects.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/CardPicking.h"
#include "cards/TableScene.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

namespace {

constexpr float SPARK_DEPTH = 40.0f;
constexpr float FLASH_DEPTH = 1.0f;
constexpr int SPARK_FRAMES = 8;
constexpr int FLASH_LAST_FRAME = 8;

int s_GlobeRunning = 0;
int s_GlobeSeen = 0;
bool s_GlobesEnded = false;
int s_FrameRequest = 0;

float FrameRate()
{
    return s_FramesPerSecond > 0.0f ? s_FramesPerSecond : 60.0f;
}

} // namespace

int GetGlobeRunningWord()
{
    return s_GlobeRunning;
}

int GetGlobeSeenWord()
{
    return s_GlobeSeen;
}

bool TakeLifeGlobesEnded()
{
    const bool ended = s_GlobesEnded;
    s_GlobesEnded = false;
    return ended;
}

int GetFrameRequestWord()
{
    return s_FrameRequest;
}

void SetFrameRequestWord(int value)
{
    s_FrameRequest = value;
}

void ClearTableEffectWords()
{
    s_GlobeRunning = 0;
    s_GlobeSeen = 0;
    s_GlobesEnded = false;
    s_FrameRequest = 0;
}

void SparkleBehaviour(Actor* actor)
{
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        actor->m_BehaviourData = GetTextureByName(u"spark");
        actor->m_Age = 0;
        actor->m_FrameIndex = plat::Rand() & 7;
        actor->m_Alpha = 50;
        actor->m_ScaleWords[0] = 100;
        actor->m_ScaleWords[1] = 100;
    }
    actor->m_Alpha = 0;
    GetGameDisplay()->DrawTexture(static_cast<int>(actor->m_BehaviourData) + actor->m_FrameIndex, actor->m_Position.x,
                                  actor->m_Position.y, SPARK_DEPTH, 0, 0);
    if ((s_FrameCounter & 1) == 0)
        actor->m_FrameIndex = (actor->m_FrameIndex + 1) % SPARK_FRAMES;
    ++actor->m_Age;
    // Lifetimes count frames at 60 per second; the fall per second is the same at any rate.
    const float rate = FrameRate();
    if (static_cast<float>(actor->m_Age) <= static_cast<float>(actor->m_Lifetime) * (rate / 60.0f)) {
        actor->m_Position.y += actor->m_Velocity.y;
        actor->m_Velocity.y += 0.125f / (rate / 30.0f);
    } else {
        RemoveActor(actor);
    }
}

void BigSparkBehaviour(Actor* actor)
{
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        actor->m_Flags |= ACTOR_FLAG_COIN_TOSS;
        actor->m_ScaleWords[0] = 200;
        actor->m_ScaleWords[1] = 200;
        actor->m_Position.y = 262.0f;
        actor->m_FrameIndex = 3;
    }
    actor->m_ScaleWords[0] = 200;
    actor->m_ScaleWords[1] = 200;
    actor->m_Position.x = 44.0f;
    actor->m_Position.z = 1.0f;
    GameDisplay& display = *GetGameDisplay();
    display.DrawTexture(GetTextureByName(u"flash") + actor->m_FrameIndex, 44.0f, actor->m_Position.y, FLASH_DEPTH, 0,
                        0);
    display.DrawTexture(GetTextureByName(u"flipf") + actor->m_FrameIndex, 300.0f, actor->m_Position.y, FLASH_DEPTH, 0,
                        0);
    actor->m_FrameIndex += static_cast<int>(s_FrameStep);
    if (actor->m_FrameIndex >= FLASH_LAST_FRAME)
        RemoveActor(actor);
}

// A globe never outlives the frame it first runs in; the words tell the lesson it happened.
void LifeGlobeBehaviour(Actor* actor)
{
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        s_GlobeRunning = 1;
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        const bool first = actor->m_SpawnValue != 0;
        actor->m_BehaviourData = GetTextureByName(first ? u"globe1" : u"globe2");
        actor->m_TargetPoint = Vector3{246.0f, first ? 100.0f : 556.0f, 0.0f};
        actor->m_Position = Vector3{359.0f, first ? 166.0f : 326.0f, actor->m_Position.z};
        actor->m_Lifetime = first ? 120 : 60;
        s_GlobeSeen = 0;
    }
    s_GlobeSeen = 1;
    RemoveActor(actor);
    RemoveActor(FindActorByName(u"lifeglobe"));
    s_GlobeRunning = 0;
    s_GlobesEnded = true;
}

void LilCardFrameBehaviour(Actor* actor)
{
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) == 0)
        return;
    actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    actor->m_BehaviourData = GetTextureByName(u"frame");
    actor->m_Age = 0;
    actor->m_FrameIndex = 0;
    actor->m_Alpha = 0;
    actor->m_Position.x = 150.0f;
    actor->m_Position.y = 250.0f;
    CardActor* shown = nullptr;
    for (int i = 0; i < GetActorCount() && shown == nullptr; ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == 0 && card->IsHeld() && card->GetId() == CD_KAVORVIN)
            shown = card;
    }
    RequestCardPreview(shown, PREVIEW_REQUEST_MS);
    s_FrameRequest = 0;
}
