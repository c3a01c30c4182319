// Binds the game and the toolkit into the engine's start-up tables, so that the engine calls up without
// including the layers above it. Start-up runs it before anything else; so does every test program.
#pragma once

void BindGameToEngine();
