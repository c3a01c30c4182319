// Room engine/sound: sound. Effects and the stream here, wave files, the voice-over queue and hint counts.
//
// The sound module: numbered effects played on a fixed set of voices, and one music stream. Everything runs on
// the main thread; the platform's mixer plays what is set up here.
#pragma once

#include <cstdint>
#include <string_view>

class Actor;

constexpr int EFFECT_SLOT_COUNT = 256;
constexpr int VOICE_COUNT = 20;
// Volume levels on a 0-100 scale; both are full in this program.
constexpr int EFFECT_VOLUME_LEVEL = 100;
constexpr int STREAM_VOLUME_LEVEL = 100;
constexpr int SOUND_VOLUME_MIN = -10000;
constexpr int SOUND_PAN_LEFT = -10000;
constexpr int SOUND_PAN_RIGHT = 10000;
constexpr int STREAM_FAILED = -1;

// Whether sound started (set by start-up from InitSound's result). While off, PlayEffect plays nothing and
// reports success, and stopping and shutting down do nothing.
void SetSoundOn(bool on);
bool IsSoundOn();
// Whether the mixer was opened by the last InitSound.
bool IsSoundDeviceOpen();

// Opens the mixer and loads the effect table from "data\sfx\"; false (with the error in the log) when there is
// no sound device.
bool InitSound();
void ShutdownSound();
bool StopAllEffects();

// Loads a 44-byte-header PCM wave into a slot; a missing file leaves the slot as it was, a bad header empties it.
void LoadEffect(std::u16string_view path, int slot, std::uint32_t flags = 0);
bool IsEffectLoaded(int slot);
// Plays a slot on a free voice: the voice index, or 0 when nothing sounds (1 while sound is off).
// Pan in hundredths of a decibel; frequency 0 keeps the recorded rate; actor places the sound (nullptr: none).
int PlayEffect(int slot, int volume, int pan, int frequency, int loop, const Actor* actor);
// How often PlayEffect was asked for the slot in this run, whether or not it sounded.
int CountEffectRequests(int slot);
// Once a frame: settles the volume (and place) of every playing voice; false when a status query failed.
bool UpdateVoices();

// The one stream slot (0), or STREAM_FAILED when it is busy or the file cannot be played.
int PlayStream(std::u16string_view path);
void StopStream(int slot);
// Once per pass of the main loop: keeps the stream's two halves filled ahead of the mixer.
void UpdateStream();
bool IsStreamPlaying();

// Where a placed sound is: offset receives the actor's position minus the hero's (the actor named "hero"). False
// when there is no hero, which leaves the voice's volume and pan as recorded. nullptr restores that rule.
using SoundPlacementFunction = bool (*)(const Actor* actor, float offset[3]);
void SetSoundPlacement(SoundPlacementFunction function);
// Volume and pan of a sound at offset from the listener, for the effect level.
void ComputePlacedSound(int level, const float offset[3], int& volume, int& pan);
