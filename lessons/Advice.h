// The physical lesson's advice state that the table asks about.
#pragma once

// True while a card waits on its payment, is unaffordable or mistimed, or a blocking lesson box is up.
bool IsAdviceBlocked();
// Placeholder until the lesson's advice exists: what IsAdviceBlocked answers.
void SetAdviceBlocked(bool blocked);
// The player's library glows while the display asks for it and no advice blocks the table.
bool IsLibraryHighlightWanted();

struct StackEntry;

// The lesson's advice at a waiting combat-damage entry or CPU entry: true once the learner has answered;
// respond tells whether the learner chose to respond.
bool ShowMultipleBlockersAdvice(int side);
bool ShowCombatDamageAdvice(int side, bool* respond);
bool ShowOpponentSpellAdvice(const StackEntry* entry, bool* respond);
// Placeholder until the lesson's advice exists: whether the advice counts as answered, and the learner's answer.
void SetStackAdviceAnswer(bool done, bool respond);
// The online human driver has started the game.
bool IsOnlineGameStarted();
