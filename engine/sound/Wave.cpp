#include "engine/sound/Wave.h"

#include "engine/core/UndecodableFile.h"
#include "engine/scene/Actor.h"
#include "engine/sound/SoundError.h"
#include "engine/sound/WaveHeader.h"
#include "engine/sound/WaveStream.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct EffectFile {
    int slot;
    const char16_t* name;
};

constexpr EffectFile s_EffectTable[] = {
    {9, u"cs00040.wav"},   {19, u"cs00090.wav"},      {20, u"cs00095.wav"},     {21, u"cs00100.wav"},
    {23, u"awww.wav"},     {24, u"cs00115.wav"},      {27, u"cs00130.wav"},     {30, u"cs00145.wav"},
    {41, u"w10a.wav"},     {42, u"w10b.wav"},         {43, u"w10c.wav"},        {44, u"w10d.wav"},
    {45, u"w11a.wav"},     {46, u"w11b.wav"},         {47, u"w11c.wav"},        {48, u"w11d.wav"},
    {49, u"w12a.wav"},     {50, u"w12b.wav"},         {51, u"w12c.wav"},        {52, u"w12d.wav"},
    {53, u"w13a.wav"},     {54, u"w13b.wav"},         {55, u"w13c.wav"},        {56, u"w13d.wav"},
    {59, u"w20a.wav"},     {60, u"w20b.wav"},         {61, u"w20c.wav"},        {62, u"w20d.wav"},
    {63, u"w21a.wav"},     {64, u"w21b.wav"},         {65, u"w21e.wav"},        {66, u"w21g.wav"},
    {67, u"w22a.wav"},     {68, u"w22b.wav"},         {69, u"w22c.wav"},        {70, u"w22d.wav"},
    {71, u"fizzle.wav"},   {72, u"preventdmg.wav"},   {73, u"gainlife.wav"},    {74, u"buried.wav"},
    {75, u"returncard.wav"}, {76, u"counterspell.wav"}, {77, u"discard.wav"},   {78, u"enchant.wav"},
    {79, u"pump.wav"},     {80, u"regen.wav"},        {81, u"sorcery.wav"},     {82, u"cancel.wav"},
};

constexpr char16_t EFFECT_FOLDER[] = u"data\\sfx\\";
// Beyond this distance a placed sound is silent.
constexpr float HEARING_DISTANCE = 20000.0f;

struct VoiceRecord {
    plat::AudioBuffer buffer = 0;
    int volumeArgument = 0;
    int volume = 0;
    int pan = 0;
    const Actor* actor = nullptr;
};

bool s_bSoundOn = false;
bool s_bDeviceOpen = false;
std::array<plat::AudioBuffer, EFFECT_SLOT_COUNT> s_Slots{};
std::array<VoiceRecord, VOICE_COUNT> s_Voices{};

// The listener is the actor named "hero"; a sound whose actor has left the registry is not placed.
bool PlaceByHero(const Actor* actor, float offset[3])
{
    const Actor* const hero = FindActorByName(u"hero");
    if (hero == nullptr || !IsActorRegistered(actor))
        return false;
    offset[0] = actor->m_Position.x - hero->m_Position.x;
    offset[1] = actor->m_Position.y - hero->m_Position.y;
    offset[2] = actor->m_Position.z - hero->m_Position.z;
    return true;
}

SoundPlacementFunction s_Placement = PlaceByHero;

int LevelVolume(int level)
{
    if (level == 0)
        return SOUND_VOLUME_MIN;
    return std::clamp(level * 20 - 2000, SOUND_VOLUME_MIN, 0);
}

void ReleaseSlot(int slot)
{
    plat::AudioReleaseBuffer(s_Slots[slot]);
    s_Slots[slot] = 0;
}

void ReleaseVoice(VoiceRecord& voice)
{
    plat::AudioReleaseBuffer(voice.buffer);
    voice = VoiceRecord{};
}

void ReleaseEffectsAndVoices()
{
    for (int slot = 0; slot < EFFECT_SLOT_COUNT; ++slot)
        ReleaseSlot(slot);
    for (VoiceRecord& voice : s_Voices)
        ReleaseVoice(voice);
}

// The positional rule, when a placement is known; otherwise the recorded values stay.
void PlaceVoice(VoiceRecord& voice)
{
    float offset[3] = {0.0f, 0.0f, 0.0f};
    if (voice.actor == nullptr || !s_Placement(voice.actor, offset))
        return;
    ComputePlacedSound(EFFECT_VOLUME_LEVEL, offset, voice.volume, voice.pan);
}

// -1 when every voice is busy (or a status query failed); a voice that has finished gives up its buffer.
int FindFreeVoice()
{
    for (int i = 0; i < VOICE_COUNT; ++i) {
        VoiceRecord& voice = s_Voices[i];
        if (voice.buffer == 0)
            return i;
        bool playing = false;
        if (!CheckSoundCall(plat::AudioGetStatus(voice.buffer, playing), __LINE__))
            return -1;
        if (!playing) {
            ReleaseVoice(voice);
            return i;
        }
    }
    return -1;
}

} // namespace

void SetSoundOn(bool on)
{
    s_bSoundOn = on;
}

bool IsSoundOn()
{
    return s_bSoundOn;
}

bool IsSoundDeviceOpen()
{
    return s_bDeviceOpen;
}

void SetSoundPlacement(SoundPlacementFunction function)
{
    s_Placement = function != nullptr ? function : PlaceByHero;
}

bool InitSound()
{
    ShutdownSound();
    // Whatever a start without sound left behind goes too.
    ReleaseEffectsAndVoices();
    s_bDeviceOpen = false;
    if (!CheckSoundCall(plat::AudioOpen(), __LINE__))
        return false;
    s_bDeviceOpen = true;
    for (const EffectFile& effect : s_EffectTable)
        LoadEffect(std::u16string(EFFECT_FOLDER) + effect.name, effect.slot);
    return true;
}

void ShutdownSound()
{
    if (!s_bSoundOn)
        return;
    ReleaseStream();
    ReleaseEffectsAndVoices();
    plat::AudioClose();
    s_bDeviceOpen = false;
}

bool StopAllEffects()
{
    if (!s_bSoundOn)
        return true;
    for (const VoiceRecord& voice : s_Voices) {
        bool playing = false;
        if (voice.buffer != 0 && plat::AudioGetStatus(voice.buffer, playing) == plat::AudioResult::Ok && playing)
            CheckSoundCall(plat::AudioStop(voice.buffer), __LINE__);
    }
    StopStream(0);
    return true;
}

void LoadEffect(std::u16string_view path, int slot, std::uint32_t /*flags*/)
{
    if (slot < 0 || slot >= EFFECT_SLOT_COUNT)
        return;
    plat::File file;
    if (!file.Open(path, "rb"))
        return;
    std::uint8_t header[EFFECT_HEADER_BYTES];
    EffectHeader effect;
    const auto fileSize = static_cast<std::uint64_t>(std::max<std::int64_t>(file.Size(), 0));
    if (file.Read(header, sizeof header) != sizeof header || !ParseEffectHeader(header, fileSize, effect)) {
        ReportUndecodableFile(path, "a .wav sound");
        ReleaseSlot(slot);
        return;
    }
    ReleaseSlot(slot);
    plat::AudioFormat format;
    format.channels = effect.channels;
    format.sampleRate = effect.sampleRate;
    format.blockAlign = effect.blockAlign;
    format.bitsPerSample = effect.bitsPerSample;
    plat::AudioBuffer buffer = 0;
    if (!CheckSoundCall(plat::AudioCreateBuffer(format, effect.dataSize, buffer), __LINE__))
        return;
    std::vector<std::uint8_t> data(effect.dataSize);
    // A file that shrank since its size was taken leaves the rest silent.
    const std::size_t got = file.Seek(EFFECT_HEADER_BYTES, 0) ? file.Read(data.data(), data.size()) : 0;
    if (!CheckSoundCall(plat::AudioWriteBuffer(buffer, 0, data.data(), got), __LINE__)) {
        plat::AudioReleaseBuffer(buffer);
        return;
    }
    s_Slots[slot] = buffer;
}

bool IsEffectLoaded(int slot)
{
    return slot >= 0 && slot < EFFECT_SLOT_COUNT && s_Slots[slot] != 0;
}

namespace {

// Every request per slot, played or not: what the program asked to hear.
std::array<int, 256> s_EffectRequests{};

} // namespace

int CountEffectRequests(int slot)
{
    return s_EffectRequests[static_cast<std::size_t>(slot) & 0xFF];
}

int PlayEffect(int slot, int volume, int pan, int frequency, int loop, const Actor* actor)
{
    ++s_EffectRequests[static_cast<std::size_t>(slot) & 0xFF];
    if (!s_bDeviceOpen)
        return 0;
    if (!s_bSoundOn)
        return 1;
    if (!IsEffectLoaded(slot))
        return 0;
    const int index = FindFreeVoice();
    if (index < 0)
        return 0;
    VoiceRecord& voice = s_Voices[index];
    if (!CheckSoundCall(plat::AudioDuplicateBuffer(s_Slots[slot], voice.buffer), __LINE__))
        return 0;
    voice.volumeArgument = volume;
    voice.volume = LevelVolume(EFFECT_VOLUME_LEVEL);
    voice.pan = pan;
    voice.actor = actor;
    PlaceVoice(voice);
    // Everything is set before the sound starts: a refused value leaves nothing sounding behind a failure.
    const bool ready = CheckSoundCall(plat::AudioSetVolume(voice.buffer, voice.volume), __LINE__) &&
                       CheckSoundCall(plat::AudioSetPan(voice.buffer, voice.pan), __LINE__) &&
                       (frequency == 0 || CheckSoundCall(plat::AudioSetFrequency(voice.buffer, frequency), __LINE__)) &&
                       CheckSoundCall(plat::AudioPlay(voice.buffer, loop != 0), __LINE__);
    if (!ready) {
        ReleaseVoice(voice);
        return 0;
    }
    return index;
}

bool UpdateVoices()
{
    for (VoiceRecord& voice : s_Voices) {
        if (voice.buffer == 0)
            continue;
        bool playing = false;
        if (!CheckSoundCall(plat::AudioGetStatus(voice.buffer, playing), __LINE__))
            return false;
        if (!playing)
            continue;
        if (voice.actor != nullptr) {
            PlaceVoice(voice);
            CheckSoundCall(plat::AudioSetVolume(voice.buffer, voice.volume), __LINE__);
            CheckSoundCall(plat::AudioSetPan(voice.buffer, voice.pan), __LINE__);
            continue;
        }
        const std::int64_t volume = EFFECT_VOLUME_LEVEL == 0
                                        ? SOUND_VOLUME_MIN
                                        : std::int64_t{EFFECT_VOLUME_LEVEL * 20 / 255} * voice.volumeArgument - 2000;
        const auto clamped = static_cast<int>(std::clamp<std::int64_t>(volume, SOUND_VOLUME_MIN, 0));
        CheckSoundCall(plat::AudioSetVolume(voice.buffer, clamped), __LINE__);
    }
    NoteStreamStopped();
    return true;
}

void ComputePlacedSound(int level, const float offset[3], int& volume, int& pan)
{
    const float distance = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
    if (!std::isfinite(distance)) {
        volume = SOUND_VOLUME_MIN;
        pan = 0;
        return;
    }
    if (distance < HEARING_DISTANCE) {
        const int base = level * 20 - 2000;
        volume = static_cast<int>(-(2000 - base) * distance / 10000.0f);
    } else {
        volume = SOUND_VOLUME_MIN;
    }
    if (volume > 0)
        volume = 0;
    if (volume < SOUND_VOLUME_MIN + 1)
        volume = SOUND_VOLUME_MIN;
    // The listener's first column stays the x axis; at the listener itself the sound is centred.
    const float direction = distance > 0.0f ? offset[0] / distance : 0.0f;
    pan = std::clamp(static_cast<int>(2000.0f * direction), SOUND_PAN_LEFT, SOUND_PAN_RIGHT);
}
