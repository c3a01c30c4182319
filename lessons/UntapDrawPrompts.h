// The boxes that prompt the learner's untap and draw at the start of a turn in the physical lesson, the errors
// shown when the learner acts before doing them, and the turn facts they rest on: who began the game, whether the
// basic lesson is in its early turns, which box kinds belong to the untap family.
#pragma once

// Non-zero when the CPU took the first turn (the learner then draws on its first turn); -1 before the first game,
// which counts as a CPU start.
extern int s_bCpuStarted;

// Lesson box kinds of these prompts.
constexpr int KIND_UNTAP_PROMPT = 0;
constexpr int KIND_DRAW_STEP = 1;
constexpr int KIND_SKIPPED_UNTAP = 40;
constexpr int KIND_SKIPPED_DRAW = 43;

// After the coin toss: 1 the CPU begins, 0 the learner begins; any other value changes nothing.
void SetFirstPlayer(int cpuFirst);
// The basic lesson's first turns: up to the learner's turn 4 after a CPU start, 5 after the learner's.
bool IsEarlyBasicTurn();
// The basic lesson's driver states 6, 14, 15 and 17 explain a card on the table.
bool IsBasicLessonStep(int state);
// The untap prompt (0) and the untap advice and error boxes (36 to 40).
bool IsUntapKind(int kind);
bool ShowUntapPrompt();
// The learner acted before untapping: the basic lesson's error, the advanced lesson's untap prompt.
bool ShowSkippedUntapError();
// The learner acted before drawing: the basic lesson's error, the advanced lesson's draw-step box.
bool ShowSkippedDrawError();
bool ShowDrawStepPrompt();
