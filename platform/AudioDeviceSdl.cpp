#include "platform/AudioDevice.h"

#include "platform/Platform.h"

#include <SDL.h>

namespace plat::audio_device {

namespace {

SDL_AudioDeviceID s_device = 0;
MixFunction s_mix = nullptr;
bool s_subsystemStarted = false;

void SDLCALL FillAudio(void* /*userdata*/, Uint8* stream, int len)
{
    const std::size_t frames = static_cast<std::size_t>(len) / (2 * sizeof(std::int16_t));
    s_mix(reinterpret_cast<std::int16_t*>(stream), frames);
}

} // namespace

bool Open(MixFunction mix)
{
    if (s_device != 0)
        return true;
    if (mix == nullptr)
        return false;
    if (!s_subsystemStarted) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        s_subsystemStarted = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = AUDIO_OUTPUT_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &FillAudio;
    s_mix = mix;
    // No allowed changes: SDL converts to whatever the hardware takes.
    SDL_AudioSpec obtained{};
    s_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (s_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s_subsystemStarted = false;
        return false;
    }
    SDL_PauseAudioDevice(s_device, 0);
    return true;
}

void Close()
{
    if (s_device != 0) {
        SDL_CloseAudioDevice(s_device);
        s_device = 0;
    }
    if (s_subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s_subsystemStarted = false;
    }
}

bool IsOpen()
{
    return s_device != 0;
}

} // namespace plat::audio_device
