// The real audio output under the software mixer (SDL2). Used only inside platform/.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::audio_device {

// Fills frames of interleaved stereo 16-bit output; called on the device's own thread.
using MixFunction = void (*)(std::int16_t* out, std::size_t frames);

// Opens the device at AUDIO_OUTPUT_RATE, stereo, 16 bits, and starts pulling from mix; false when there is none.
bool Open(MixFunction mix);
// Stops pulling and closes the device; when it returns, mix is no longer running. The backend calls it before
// shutting SDL down.
void Close();
bool IsOpen();

} // namespace plat::audio_device
