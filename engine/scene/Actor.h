// Actors: every scene object that acts on its own each frame, and the one registry that owns them, updates them
// in list order and removes them (also from inside their own behaviour).
#pragma once

#include "engine/core/Matrix4.h"
#include "engine/core/Vector3.h"

#include <cstdint>
#include <string_view>

class Actor;
using ActorBehaviour = void (*)(Actor* actor);

// Name field of 32 units: at most 31 are stored.
constexpr int ACTOR_NAME_CAPACITY = 32;

constexpr int ACTOR_TYPE_PLAIN = 0;
constexpr int ACTOR_TYPE_CARD = 1;

// Flag bits (m_Flags).
constexpr std::uint32_t ACTOR_FLAG_REMOVE = 0x1;
constexpr std::uint32_t ACTOR_FLAG_FIRST_FRAME = 0x2;
constexpr std::uint32_t ACTOR_FLAG_COIN_TOSS = 0x20;  // also the big spark
constexpr std::uint32_t ACTOR_FLAG_SUSPENDED = 0x40;
constexpr std::uint32_t ACTOR_FLAG_SPAWN_SET = 0x2000;
constexpr std::uint32_t ACTOR_FLAG_AWAITING_HAND = 0x4000;
constexpr std::uint32_t ACTOR_FLAG_SPAWN_CLEAR = 0x80000;
constexpr std::uint32_t ACTOR_FLAG_CPU_REVEALED = 0x10000000;
constexpr std::uint32_t ACTOR_FLAG_HOLD_POSITION = 0x20000000;
constexpr std::uint32_t ACTOR_FLAG_KEEP_UPRIGHT = 0x40000000;
constexpr std::uint32_t ACTOR_FLAG_PREVIEW_COPY = 0x80000000;

// States whose entry has an action.
constexpr int ACTOR_STATE_START = 0;
constexpr int ACTOR_STATE_LAST_WITH_ACTION = 16;

class Actor {
public:
    explicit Actor(int type);
    virtual ~Actor() = default;
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    // Entering a new state stamps its time and runs the state's entry action; the current state does nothing.
    virtual void SetState(int state);
    void ResetStateTime();
    int GetType() const { return m_Type; }
    int GetState() const { return m_State; }
    std::uint32_t GetStateTime() const { return m_StateTime; }
    const char16_t* GetName() const { return m_Name; }
    // Copies at most 31 units.
    void SetName(std::u16string_view name);
    // Creation order: ties between actors are broken by it, so a seeded game replays the same way.
    std::uint64_t GetSerial() const { return m_Serial; }

    char16_t m_Name[ACTOR_NAME_CAPACITY] = {};
    int m_Age = 0;
    int m_Lifetime = 0;
    Vector3 m_Position;
    Vector3 m_PreviousPosition;
    Vector3 m_Velocity;
    Vector3 m_PreRotation;
    Vector3 m_Rotation;
    Vector3 m_TargetPoint;
    Matrix4 m_Matrix;
    std::intptr_t m_BehaviourData = 0;
    int m_SpawnValue = 0;
    ActorBehaviour m_Behaviour = nullptr;
    Vector3 m_Scale;
    std::uint32_t m_Flags = 0;
    int m_Alpha = 0;
    int m_FrameIndex = 0;
    int m_ScaleWords[2] = {};
    float m_Pivot[2] = {};
    int m_SpawnMark = 0;  // 3 for actors made by SpawnActor
    Matrix4 m_Matrix2;
    int m_Countdown = 0;
    int m_StackWord = -1;
    int m_Type = ACTOR_TYPE_PLAIN;
    int m_State = 0;
    std::uint32_t m_StateTime = 0;

private:
    std::uint64_t m_Serial = 0;
};

// Type 0 makes a plain actor, type 1 a card actor (through the game's table); any other type gives null. Not
// registered.
Actor* CreateActor(int type);
void RegisterActor(Actor* actor);
Actor* SpawnActor(std::u16string_view name, int spawnValue, ActorBehaviour behaviour, float x, float y, float z,
                  float angleX, float angleY, float angleZ);
// Parent position plus the offset and the parent's rotation; no parent gives the origin and no rotation.
Actor* SpawnChildActor(const Actor* parent, std::u16string_view name, int spawnValue, ActorBehaviour behaviour,
                       float dx, float dy, float dz);
// The last registered actor of exactly that name, or null.
Actor* FindActorByName(std::u16string_view name);
bool IsActorRegistered(const Actor* actor);
// The actor leaves every container at once (it is never updated again) and is deleted at the next
// PurgeRemovedActors, so a behaviour may remove its own actor or any other. Unknown or null actors are ignored.
void RemoveActor(Actor* actor);
void QueueActorToFront(Actor* actor);
// First step of each frame: removes the actors marked for removal and deletes every removed actor.
void PurgeRemovedActors();
// Once a frame: every registered actor in list order, actors spawned meanwhile included, then the camera.
void UpdateActors();
// Every actor leaves the registry; deletion waits for the next purge. From inside a behaviour it also ends the
// update pass: actors spawned afterwards first run in the next frame.
void DestroyAllActors();
// Registered actors, for tests and the console.
int GetActorCount();
// The registered actor at that place of the update order; null outside it.
Actor* GetActorAt(int index);
// True when the running game mode is an online lesson (3 or 4); the scene loader sets the mode.
bool IsOnlineLesson();
// True when the running game mode is a physical lesson (1 or 2); false for the menus and while a switch is pending.
bool IsPhysicalLesson();

// What the game does when the registry calls up into it; app/ fills these at start-up. An entry left null
// does nothing (a lookup answers null).
struct ActorGameActions {
    // Actor type 1: a new card actor without a card.
    Actor* (*NewCardActor)() = nullptr;
    // The behaviour table: a level script's actor type name to its behaviour.
    ActorBehaviour (*FindBehaviour)(std::u16string_view typeName) = nullptr;
    // State entry: the player actors, and what states 1, 13, 15 and 16 start.
    const Actor* (*GetHumanPlayerActor)() = nullptr;
    const Actor* (*GetCpuPlayerActor)() = nullptr;
    void (*StampLessonTime)() = nullptr;
    void (*RaiseState13Flag)() = nullptr;
    void (*PostDialogEvent)(int event, Actor* card) = nullptr;
    // Removal: the card lists, the game's records and the card window let go of the actor. Destroying every
    // actor also calls OnCardActorRemoved for each.
    void (*ClearCardFromLists)(Actor* actor) = nullptr;
    void (*OnCardActorRemoved)(Actor* actor) = nullptr;
    void (*ReleaseActorCardWindow)(Actor* actor) = nullptr;
    // Destroying every actor also empties the game's lists, state, windows, sprites and intro.
    void (*RebuildCardLists)() = nullptr;
    void (*ResetGameState)() = nullptr;
    void (*ClearGuiWindows)() = nullptr;
    void (*ClearSprites)() = nullptr;
    void (*DestroyIntro)() = nullptr;
};
void SetActorGameActions(const ActorGameActions& actions);
// The behaviour the table names for a level script's type name; null when none does.
ActorBehaviour LookUpBehaviour(std::u16string_view typeName);
