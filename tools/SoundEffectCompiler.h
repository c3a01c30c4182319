// Sound effects and streams, synthesised from short recipes (data/sounds/*.txt) into canonical 44-byte-header
// PCM waves at 22050 Hz, 16-bit, mono.
//
// Recipe syntax: one sound a line, "<path> <milliseconds> <layer> ...", the path as the program opens it under
// the install folder ("data\sfx\cs00040.wav"); '#' starts a comment line. Layers are mixed:
//   sine:F0:F1:A     a sine gliding from F0 to F1 Hz at amplitude A (0..1)
//   square:F0:F1:A   the same, as a soft square wave
//   noise:A          white noise; lownoise:A a darker, rumbling noise
//   chime:F:A        a bell: F and its ringing partials
//   notes:BPM:A:N,.. a tune of notes ("C4", "F#5", "-" a rest), one per beat
// and shapes: decay:MS (an exponential fade with that time constant), attack:MS (a fade-in; 3 ms by default).
#pragma once

#include "tools/Diagnostics.h"
#include "tools/WaveData.h"

#include <string>
#include <string_view>
#include <vector>

namespace datac {

// Synthesises one recipe line's layers; false with a reason for a bad layer.
bool SynthesizeRecipe(int milliseconds, const std::vector<std::string>& layers, MonoSound& out, std::string& reason);

bool CompileSoundRecipes(const std::vector<std::string>& sourcePaths, const std::string& installFolder,
                         Diagnostics& diagnostics);

} // namespace datac
