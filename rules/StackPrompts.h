// The stack's window and its prompts. Until they exist nothing is drawn.
#pragma once

void DrawStackWindow();
