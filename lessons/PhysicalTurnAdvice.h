// The per-frame gate of the physical lesson's turn advice: which advice belongs to the moment, and whether the
// calling turn driver may run its step. UpdatePhysicalTurnAdvice itself is declared with the turn advice.
#pragma once

// Lesson box kinds the gate shows itself.
constexpr int KIND_ATTACK_DROP_ERROR = 12;
constexpr int KIND_GAME_OVER = 18;
constexpr int KIND_INSTANT_ANSWER = 19;
constexpr int KIND_CLEANUP_DAMAGE = 28;

// The current language's reading delay, stored as the advice delay (after an untap step).
void StoreAdviceDelayForLanguage();
