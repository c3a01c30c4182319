// The steps of the human's turn in the physical lesson, kept in the "player" actor's state.
#pragma once

class Actor;

constexpr int HUMAN_STEP_START = 0;
constexpr int HUMAN_STEP_UNTAP = 1;
constexpr int HUMAN_STEP_DRAW = 2;
constexpr int HUMAN_STEP_MAIN1 = 3;
constexpr int HUMAN_STEP_MAIN2 = 4;
constexpr int HUMAN_STEP_MAIN = 5;
constexpr int HUMAN_STEP_BEGIN_COMBAT = 6;
constexpr int HUMAN_STEP_ATTACK = 7;
constexpr int HUMAN_STEP_DAMAGE = 9;
constexpr int HUMAN_STEP_DAMAGE_STACK = 10;
constexpr int HUMAN_STEP_FIRST_STRIKE = 11;
constexpr int HUMAN_STEP_FIRST_STRIKE_STACK = 12;
constexpr int HUMAN_STEP_END_COMBAT = 13;
constexpr int HUMAN_STEP_POST_COMBAT_BURN = 14;
constexpr int HUMAN_STEP_END_PROMPTS = 15;
constexpr int HUMAN_STEP_LAST_CHANCE = 16;
constexpr int HUMAN_STEP_END_BURN = 17;
constexpr int HUMAN_STEP_END = 18;
constexpr int HUMAN_STEP_HAND_OVER = 19;
constexpr int HUMAN_STEP_OPENING_DRAW = 20;

// One frame of the step the actor's state names; a step that keeps the state waits.
void RunHumanTurnStep(Actor* actor);
