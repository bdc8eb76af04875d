// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/data_file.h"
#include "platform/music.h"

namespace {

// Channel groups: effects share one pool; a track channel is either held by
// a track or idle, waiting for the next track to take it.
constexpr int EFFECT_GROUP = 1;
constexpr int TRACK_GROUP = 2;
constexpr int IDLE_TRACK_GROUP = 3;

constexpr int FREQUENCY = 44100;      // Hz
constexpr int BUFFER_SAMPLES = 1024;  // per channel; about 23 ms of latency
constexpr int EFFECT_CHANNELS = 16;   // to start with; grows on demand
constexpr int TRACK_CHANNELS = 4;     // to start with; the game holds four tracks

bool Opened = false;
bool Tried = false;  // a failed open is not retried every frame
int OutputBytesPerSecond = FREQUENCY * 4;
bool Measurable = false;  // the output is 16-bit stereo, which the peak meter reads
std::vector<int> Groups;  // of every channel, as the mixer's tags have them

float MusicLevel = 1.0f;  // the player's volumes, 0..1
float EffectLevel = 1.0f;
// Each channel's volume as the game sets it (a track's own volume), before
// the player's setting scales it; 0..MIX_MAX_VOLUME.
std::vector<int> OwnVolumes;

// Applies the channel's own volume under the player's setting for its group.
void ApplyVolume(int channel) {
    float level = Groups[size_t(channel)] == EFFECT_GROUP ? EffectLevel : MusicLevel;
    Mix_Volume(channel, int(std::lround(level * float(OwnVolumes[size_t(channel)]))));
}

std::atomic<int> PeakLeft{0};
std::atomic<int> PeakRight{0};
std::atomic<long long> MixedBytes{0};

// Watches the finished mix on the audio thread.
void MeasurePeaks(void*, Uint8* stream, int length) {
    MixedBytes.fetch_add(length);
    if (!Measurable) {
        return;
    }
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int left = PeakLeft.load();
    int right = PeakRight.load();
    for (int i = 0; i + 1 < length / 2; i += 2) {
        left = std::max(left, std::abs(int(samples[i])));
        right = std::max(right, std::abs(int(samples[i + 1])));
    }
    PeakLeft.store(left);
    PeakRight.store(right);
}

void SetGroup(int channel, int group) {
    Mix_GroupChannel(channel, group);
    Groups[size_t(channel)] = group;
    OwnVolumes[size_t(channel)] = MIX_MAX_VOLUME;
    ApplyVolume(channel);
}

// Adds `count` channels at the end, all in `group`; returns the first.
int Grow(int count, int group) {
    int first = Mix_AllocateChannels(-1);
    if (Mix_AllocateChannels(first + count) != first + count) {
        return -1;
    }
    Groups.resize(size_t(first + count));
    OwnVolumes.resize(Groups.size());
    for (int c = first; c < first + count; ++c) {
        SetGroup(c, group);
    }
    return first;
}

}  // namespace

namespace MIXER {

bool Open() {
    if (Opened) {
        return true;
    }
    if (Tried) {
        return false;
    }
    Tried = true;
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(FREQUENCY, AUDIO_S16SYS, 2, BUFFER_SAMPLES) != 0) {
        return false;
    }
    int frequency = FREQUENCY;
    Uint16 format = AUDIO_S16SYS;
    int channels = 2;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0) {
        OutputBytesPerSecond = frequency * channels * int(SDL_AUDIO_BITSIZE(format) / 8);
        Measurable = format == AUDIO_S16SYS && channels == 2;
    }
    Opened = true;
    // The mixer's own first channels join the effects.
    int first = Mix_AllocateChannels(-1);
    Groups.assign(size_t(first), EFFECT_GROUP);
    OwnVolumes.assign(Groups.size(), MIX_MAX_VOLUME);
    for (int c = 0; c < first; ++c) {
        SetGroup(c, EFFECT_GROUP);
    }
    if (first < EFFECT_CHANNELS) {
        Grow(EFFECT_CHANNELS - first, EFFECT_GROUP);
    }
    Grow(TRACK_CHANNELS, IDLE_TRACK_GROUP);
    Mix_SetPostMix(MeasurePeaks, nullptr);
    return true;
}

bool IsOpen() {
    return Opened;
}

void Close() {
    if (!Opened) {
        return;
    }
    // Tracks still decoding stop first: the decoders use the mixer.
    MUSIC::FinishDecoding();
    Mix_HaltChannel(-1);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    Groups.clear();
    OwnVolumes.clear();
    Opened = false;
    Tried = false;
}

void StaySilent() {
    Close();
    Tried = true;
}

Mix_Chunk* Load(const char* path) {
    std::string bytes;
    if (!Open() || FILES::Read(path, FILES::KIND::SOUND, &bytes) != FILES::RESULT::OK) {
        return nullptr;
    }
    return LoadFromMemory(bytes);
}

Mix_Chunk* LoadFromMemory(const std::string& bytes) {
    if (!Open()) {
        return nullptr;
    }
    // The chunk gets samples of its own; the file's bytes may go after.
    SDL_RWops* file = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    return file ? Mix_LoadWAV_RW(file, 1) : nullptr;
}

void Free(Mix_Chunk* chunk) {
    // Freeing a chunk stops any channel that still plays it.
    Mix_FreeChunk(chunk);
}

int PlayEffect(Mix_Chunk* chunk, bool loop) {
    if (!Opened || !chunk) {
        return -1;
    }
    int channel = Mix_GroupAvailable(EFFECT_GROUP);
    if (channel < 0) {
        // Every effect channel is busy: double the pool rather than cut a
        // sound short or refuse this one.
        int count = Mix_GroupCount(EFFECT_GROUP);
        channel = Grow(count > 0 ? count : EFFECT_CHANNELS, EFFECT_GROUP);
        if (channel < 0) {
            return -1;
        }
    }
    return Mix_PlayChannel(channel, chunk, loop ? -1 : 0);
}

int EffectsSounding() {
    if (!Opened) {
        return 0;
    }
    int sounding = 0;
    for (size_t c = 0; c < Groups.size(); ++c) {
        if (Groups[c] == EFFECT_GROUP && Mix_Playing(int(c))) {
            ++sounding;
        }
    }
    return sounding;
}

int TakeTrackChannel() {
    if (!Open()) {
        return -1;
    }
    int channel = Mix_GroupAvailable(IDLE_TRACK_GROUP);
    if (channel < 0) {
        channel = Grow(1, IDLE_TRACK_GROUP);
        if (channel < 0) {
            return -1;
        }
    }
    SetGroup(channel, TRACK_GROUP);
    return channel;
}

void GiveBackTrackChannel(int channel) {
    if (!Opened || channel < 0) {
        return;
    }
    Mix_HaltChannel(channel);
    Mix_UnregisterAllEffects(channel);
    if (size_t(channel) < Groups.size()) {
        SetGroup(channel, IDLE_TRACK_GROUP);
    }
}

void SetVolumes(float music, float effects) {
    MusicLevel = std::clamp(music, 0.0f, 1.0f);
    EffectLevel = std::clamp(effects, 0.0f, 1.0f);
    for (size_t c = 0; Opened && c < Groups.size(); ++c) {
        ApplyVolume(int(c));
    }
}

void SetTrackVolume(int channel, int volume) {
    if (!Opened || channel < 0 || size_t(channel) >= Groups.size()) {
        return;
    }
    OwnVolumes[size_t(channel)] = std::clamp(volume, 0, MIX_MAX_VOLUME);
    ApplyVolume(channel);
}

int BytesPerSecond() {
    return OutputBytesPerSecond;
}

int Channels() {
    return Opened ? Mix_AllocateChannels(-1) : 0;
}

void ResetPeaks() {
    PeakLeft.store(0);
    PeakRight.store(0);
}

void Peaks(int* left, int* right) {
    *left = PeakLeft.load();
    *right = PeakRight.load();
}

long long Mixed() {
    return MixedBytes.load();
}

}  // namespace MIXER
