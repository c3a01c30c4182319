// The physical lesson's turn driver of the CPU side, run once a frame by the "cpuplayer" actor: untap, the
// drawing hand, land and spells, attack, combat damage, the turn balloon and the discard to seven; its blocks
// while the human attacks. The actor's state is the step (0 to 21); m_Countdown counts the frames of the turn and
// m_BehaviourData is the combat sub-step that the turn advice moves from 2 to 3.
#pragma once

class Actor;
class CardActor;
class WordBalloon;

// States of the "cpuplayer" actor in the physical lesson.
constexpr int CPU_STEP_TURN_START = 0;
constexpr int CPU_STEP_UNTAP = 1;
constexpr int CPU_STEP_MAIN1 = 3;
constexpr int CPU_STEP_MAIN2 = 4;
constexpr int CPU_STEP_MAIN = 5;
constexpr int CPU_STEP_PRE_COMBAT_BURN = 6;
constexpr int CPU_STEP_ATTACK = 7;
constexpr int CPU_STEP_DAMAGE = 9;
constexpr int CPU_STEP_DAMAGE_STACK = 10;
constexpr int CPU_STEP_FIRST_STRIKE = 11;
constexpr int CPU_STEP_FIRST_STRIKE_STACK = 12;
constexpr int CPU_STEP_END_COMBAT = 13;
constexpr int CPU_STEP_POST_COMBAT_BURN = 14;
constexpr int CPU_STEP_END_BURN = 15;
constexpr int CPU_STEP_TURN_OVER = 16;
constexpr int CPU_STEP_END_STEP_BURN = 17;
constexpr int CPU_STEP_DISCARD = 18;
constexpr int CPU_STEP_HAND_OVER = 19;
constexpr int CPU_STEP_DRAW = 21;

// Lesson tag of the CPU's turn-over balloon.
constexpr int CPU_TURN_BALLOON_TAG = 57;

void CpuPhysicalTurn(Actor* actor);
// The balloon is created on first use and kept until the scene reset.
WordBalloon* GetCpuTurnBalloon();
// The turn advice's explanations of the CPU's moves share this one balloon.
WordBalloon* MakeCpuTurnBalloon();
// The CPU's blocks for the human's declared attackers (blocking step 1), or the wait for the attack to end (2).
void DecideCpuPhysicalBlocks();
// The discard to seven at the end of the CPU's turn; returns how many cards went.
int DiscardCpuPhysicalHand();
// The scene reset: every word back to its start, the balloon gone, the CPU to begin.
void ResetCpuPhysicalTurn();
// Unregisters and deletes the balloon; nothing when there is none.
void DeleteCpuTurnBalloon();
