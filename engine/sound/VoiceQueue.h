// Spoken clips played whole, one after another, each started when the previous one's estimated length has run
// out. Runs on the main thread; the platform's clip player sounds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t VOICE_QUEUE_CAPACITY = 32;
// A clip path holds at most this many units.
constexpr std::size_t VOICE_PATH_CAPACITY = 259;

// The estimated playing time of a clip file of size bytes, in milliseconds.
std::uint32_t EstimateVoiceLength(std::uint64_t size);

// Queues a clip: a path beginning "data\" is used as it is, any other lies in the language data folder.
// clearFirst stops the queue first. Nothing while muted or for a null path; dropped when the queue is full.
void QueueVoice(const char16_t* path, bool clearFirst);
// Stops the clip that plays and empties the queue (not while muted).
void StopVoiceQueue();
// Once a frame: starts the next clip when the playing one has run out.
void UpdateVoiceQueue();
// Non-zero while a clip plays within its estimated length.
int GetCurrentVoice();
// Empties the queue's bookkeeping without touching the player (start-up).
void ResetVoiceQueue();
// While muted nothing is queued, played or stopped.
void SetVoiceMuted(bool muted);
bool IsVoiceMuted();
// Clips waiting or playing.
std::size_t VoiceQueueLength();
// The resolved path of a clip in the queue (0 the first), empty past its end.
std::u16string GetQueuedVoicePath(std::size_t index);
