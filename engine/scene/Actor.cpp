#include "engine/scene/Actor.h"

#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "platform/Platform.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int SPAWN_MARK = 3;
// States whose entry has an action besides state 0's, and the lesson events states 15 and 16 post.
constexpr int STATE_TURN_START = 1;
constexpr int STATE_RAISES_FLAG = 13;
constexpr int STATE_HUMAN_EVENT = 15;
constexpr int STATE_CPU_EVENT = 16;
constexpr int EVENT_HUMAN_STATE = 14;
constexpr int EVENT_CPU_STATE = 15;

// Update order; a vector so that removal and spawning during the update keep a valid position.
std::vector<Actor*> s_ActorList;
std::set<const Actor*> s_ActorSet;
std::map<std::u16string, Actor*, std::less<>> s_NameMap;
// The position whose behaviour is running; a removal at or before it moves it so no actor is skipped.
std::size_t s_Current = 0;
bool s_CurrentAdvanced = false;
// Set when the registry is cleared during the update: the pass ends there, so actors spawned afterwards wait
// for the next frame.
bool s_UpdateEnded = false;
std::vector<Actor*> s_ToFrontQueue;
// Removed actors wait here for the next purge: a behaviour may still be running on one of them.
std::vector<std::unique_ptr<Actor>> s_RemovedActors;
std::uint64_t s_NextSerial = 1;
ActorGameActions s_Game;

// Calls the game's action when one is bound.
template <typename Function, typename... Args>
void CallGame(Function* function, Args... args)
{
    if (function != nullptr) {
        function(args...);
    }
}

bool IsPlayerActor(const Actor* actor, const Actor* (*getPlayer)())
{
    return getPlayer != nullptr && actor == getPlayer();
}

void CallCamera(Actor* camera)
{
    if (const ActorBehaviour behaviour = LookUpBehaviour(u"camera")) {
        behaviour(camera);
    }
}

void InitialiseSpawned(Actor& actor, std::u16string_view name, int spawnValue, ActorBehaviour behaviour)
{
    actor.SetName(name);
    actor.m_Velocity = Vector3{};
    actor.m_PreRotation = Vector3{};
    actor.m_SpawnValue = spawnValue;
    actor.m_Behaviour = behaviour;
    actor.m_Flags = (ACTOR_FLAG_FIRST_FRAME | ACTOR_FLAG_SPAWN_SET) & ~ACTOR_FLAG_SPAWN_CLEAR;
    actor.m_Scale.Set(1.0f, 1.0f, 1.0f);
    actor.m_Pivot[0] = 0.5f;
    actor.m_Pivot[1] = 0.5f;
    actor.m_StackWord = -1;
    actor.m_BehaviourData = 0;
    actor.m_Alpha = 0;
    actor.m_FrameIndex = 0;
}

} // namespace

Actor::Actor(int type) : m_Type(type), m_Serial(s_NextSerial++)
{
    std::fill(std::begin(m_Matrix.m), std::end(m_Matrix.m), 0.0f);
    std::fill(std::begin(m_Matrix2.m), std::end(m_Matrix2.m), 0.0f);
}

void Actor::SetState(int state)
{
    if (state == m_State) {
        return;
    }
    m_State = state;
    ResetStateTime();
    switch (state) {
    case ACTOR_STATE_START:
        ClearHintPlayCounts();
        break;
    case STATE_TURN_START:
        if (IsPlayerActor(this, s_Game.GetHumanPlayerActor)) {
            CallGame(s_Game.StampLessonTime);
        }
        break;
    case STATE_RAISES_FLAG:
        CallGame(s_Game.RaiseState13Flag);
        break;
    case STATE_HUMAN_EVENT:
        if (IsPlayerActor(this, s_Game.GetHumanPlayerActor)) {
            CallGame(s_Game.PostDialogEvent, EVENT_HUMAN_STATE, static_cast<Actor*>(nullptr));
        }
        break;
    case STATE_CPU_EVENT:
        if (IsPlayerActor(this, s_Game.GetCpuPlayerActor)) {
            CallGame(s_Game.PostDialogEvent, EVENT_CPU_STATE, static_cast<Actor*>(nullptr));
        }
        break;
    default:
        break;
    }
}

void Actor::ResetStateTime()
{
    m_StateTime = plat::TimeGetTime();
}

void Actor::SetName(std::u16string_view name)
{
    std::fill(std::begin(m_Name), std::end(m_Name), u'\0');
    const std::size_t length = std::min<std::size_t>(name.size(), ACTOR_NAME_CAPACITY - 1);
    std::copy_n(name.begin(), length, m_Name);
}

Actor* CreateActor(int type)
{
    if (type == ACTOR_TYPE_CARD) {
        return s_Game.NewCardActor != nullptr ? s_Game.NewCardActor() : nullptr;
    }
    if (type != ACTOR_TYPE_PLAIN) {
        return nullptr;
    }
    return new (std::nothrow) Actor(type);
}

void RegisterActor(Actor* actor)
{
    // Registering twice would update the actor twice and leave a dangling entry after its removal.
    if (actor == nullptr || !s_ActorSet.insert(actor).second) {
        return;
    }
    // An actor removed and registered again before the purge must survive it.
    const auto pending = std::find_if(s_RemovedActors.begin(), s_RemovedActors.end(),
                                      [actor](const std::unique_ptr<Actor>& removed) { return removed.get() == actor; });
    if (pending != s_RemovedActors.end()) {
        pending->release();
        s_RemovedActors.erase(pending);
    }
    s_NameMap[std::u16string(actor->m_Name)] = actor;
    s_ActorList.push_back(actor);
}

Actor* SpawnActor(std::u16string_view name, int spawnValue, ActorBehaviour behaviour, float x, float y, float z,
                  float angleX, float angleY, float angleZ)
{
    Actor* actor = CreateActor(ACTOR_TYPE_PLAIN);
    if (actor == nullptr) {
        return nullptr;
    }
    actor->SetName(name);
    actor->SetState(ACTOR_STATE_START);
    actor->m_Position.Set(x, y, z);
    actor->m_PreviousPosition.Set(x, y, z);
    actor->m_Rotation.Set(angleX, angleY, angleZ);
    InitialiseSpawned(*actor, name, spawnValue, behaviour);
    actor->m_SpawnMark = SPAWN_MARK;
    RegisterActor(actor);
    return actor;
}

Actor* SpawnChildActor(const Actor* parent, std::u16string_view name, int spawnValue, ActorBehaviour behaviour,
                       float dx, float dy, float dz)
{
    Actor* actor = CreateActor(ACTOR_TYPE_PLAIN);
    if (actor == nullptr) {
        return nullptr;
    }
    if (parent != nullptr) {
        actor->m_Position = parent->m_Position.Plus(dx, dy, dz);
        actor->m_Rotation = parent->m_Rotation;
    }
    InitialiseSpawned(*actor, name, spawnValue, behaviour);
    RegisterActor(actor);
    return actor;
}

Actor* FindActorByName(std::u16string_view name)
{
    const auto found = s_NameMap.find(name);
    return found == s_NameMap.end() ? nullptr : found->second;
}

bool IsActorRegistered(const Actor* actor)
{
    return s_ActorSet.count(actor) != 0;
}

void RemoveActor(Actor* actor)
{
    if (actor == nullptr || s_ActorSet.erase(actor) == 0) {
        return;
    }
    const auto named = s_NameMap.find(std::u16string_view(actor->m_Name));
    if (named != s_NameMap.end() && named->second == actor) {
        s_NameMap.erase(named);
    }
    const auto element = std::find(s_ActorList.begin(), s_ActorList.end(), actor);
    if (element != s_ActorList.end()) {
        const auto index = static_cast<std::size_t>(element - s_ActorList.begin());
        if (index == s_Current) {
            s_CurrentAdvanced = true;
        } else if (index < s_Current) {
            --s_Current;
        }
        s_ActorList.erase(element);
    }
    if (actor->GetType() == ACTOR_TYPE_CARD) {
        std::erase(s_ToFrontQueue, actor);
    }
    CallGame(s_Game.ClearCardFromLists, actor);
    CallGame(s_Game.OnCardActorRemoved, actor);
    CallGame(s_Game.ReleaseActorCardWindow, actor);
    s_RemovedActors.emplace_back(actor);
}

void QueueActorToFront(Actor* actor)
{
    s_ToFrontQueue.push_back(actor);
}

void PurgeRemovedActors()
{
    const std::vector<Actor*> actors = s_ActorList;
    for (Actor* const actor : actors) {
        if ((actor->m_Flags & ACTOR_FLAG_REMOVE) != 0) {
            RemoveActor(actor);
        }
    }
    s_RemovedActors.clear();
}

void UpdateActors()
{
    if (GetGameDisplay()->m_SceneTag == 0) {
        CallCamera(nullptr);
        return;
    }
    s_UpdateEnded = false;
    for (s_Current = 0; s_Current < s_ActorList.size() && !s_UpdateEnded;) {
        Actor* const actor = s_ActorList[s_Current];
        s_CurrentAdvanced = false;
        actor->m_PreviousPosition = actor->m_Position;
        if (actor->m_Behaviour != nullptr && (actor->m_Flags & ACTOR_FLAG_SUSPENDED) == 0) {
            actor->m_Behaviour(actor);
        }
        if (!s_CurrentAdvanced) {
            ++s_Current;
        }
    }
    s_CurrentAdvanced = false;
    s_UpdateEnded = false;

    // Queued card actors move to the end of the list, each once however often it was queued.
    const std::vector<Actor*> queue = std::move(s_ToFrontQueue);
    s_ToFrontQueue.clear();
    for (Actor* const queued : queue) {
        const auto element = std::find(s_ActorList.begin(), s_ActorList.end(), queued);
        if (element != s_ActorList.end() && queued->GetType() == ACTOR_TYPE_CARD) {
            s_ActorList.erase(element);
            s_ActorList.push_back(queued);
        }
    }
    CallCamera(FindActorByName(u"camera"));
}

void DestroyAllActors()
{
    // The game lets go of each actor first, so no record keeps a pointer past the purge.
    for (Actor* const actor : s_ActorList) {
        CallGame(s_Game.OnCardActorRemoved, actor);
    }
    for (Actor* const actor : s_ActorList) {
        s_RemovedActors.emplace_back(actor);
    }
    s_ActorList.clear();
    s_ActorSet.clear();
    s_NameMap.clear();
    s_Current = 0;
    s_CurrentAdvanced = true;
    s_UpdateEnded = true;
    CallGame(s_Game.RebuildCardLists);
    CallGame(s_Game.ResetGameState);
    CallGame(s_Game.ClearGuiWindows);
    CallGame(s_Game.ClearSprites);
    CallGame(s_Game.DestroyIntro);
    s_ToFrontQueue.clear();
}

int GetActorCount()
{
    return static_cast<int>(s_ActorList.size());
}

Actor* GetActorAt(int index)
{
    return index >= 0 && index < GetActorCount() ? s_ActorList[static_cast<std::size_t>(index)] : nullptr;
}

bool IsOnlineLesson()
{
    // The running mode itself: while a switch is pending (-1) no lesson runs.
    return s_GameMode > 2;
}

bool IsPhysicalLesson()
{
    return s_GameMode == 1 || s_GameMode == 2;
}

void SetActorGameActions(const ActorGameActions& actions)
{
    s_Game = actions;
}

ActorBehaviour LookUpBehaviour(std::u16string_view typeName)
{
    return s_Game.FindBehaviour != nullptr ? s_Game.FindBehaviour(typeName) : nullptr;
}
