// What the lesson's turn drivers share with the actor registry: the two player actors, the advice timer and the
// state-13 flag.
#pragma once

#include <cstdint>

class Actor;

// The human's and the CPU's player actors (null when the scene has none or the actor was removed).
const Actor* GetHumanPlayerActor();
const Actor* GetCpuPlayerActor();
void SetPlayerActors(const Actor* human, const Actor* cpu);
// Each driver names its own actor on its first frame.
void SetHumanPlayerActor(const Actor* human);
void SetCpuPlayerActor(const Actor* cpu);
// The registry removed the actor: a player slot naming it is emptied.
void ForgetPlayerActor(const Actor* actor);

// The lesson time stamp: the moment of the last stamped lesson event (the human player's actor entering state 1).
// Stamps the clock and returns it.
std::uint32_t StampLessonTime();
std::uint32_t GetLessonTime();

// Raised when any actor enters state 13; the physical turn drivers test and clear it. Starts raised.
void SetState13Flag();
bool TakeState13Flag();
