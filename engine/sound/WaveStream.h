// The music stream's part of the sound module, as the effect code drives it (the public calls are in Wave.h).
#pragma once

// The stream slot stops being in use once its buffer has stopped (UpdateVoices).
void NoteStreamStopped();
// Releases the stream's buffer and reader and frees the slot (ShutdownSound).
void ReleaseStream();
