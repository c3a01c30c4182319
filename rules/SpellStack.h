// The spell stack. Until the rules exist it holds no entries and has no window.
#pragma once

namespace SpellStack {

// Empties the entries and stores the side word (1 physical lesson, 0 online lesson).
void Reset(int side);
// Marks the stack active (its window comes with the toolkit).
void OpenWindow();
void Update();
void Draw();
int GetCount();
bool IsActive();
// Clears the active flag (shutdown).
void Shutdown();

} // namespace SpellStack
