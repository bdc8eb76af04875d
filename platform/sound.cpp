#include "platform/sound.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/mixer.h"

SOUND Sound;

const char* const SOUND_FILES[SOUND_COUNT] = {
    "sounds/doorclose.wav",     // 0: the toilet door shuts behind the hero
    "sounds/inbubble.wav",      // 1: a bubble catches the hero
    "sounds/toiletrise.wav",    // 2: the toilet takes off
    "sounds/hitwall.wav",       // 3
    "sounds/boss1dies.wav",     // 4
    "sounds/boss3dies.wav",     // 5
    "sounds/bossappears.wav",   // 6
    "sounds/electricuted.wav",  // 7: a ray or spark touches the hero
    "sounds/deathray.wav",      // 8
    "sounds/herohurt.wav",      // 9
    "sounds/megajumpland.wav",  // 10: hero and flozer
    "sounds/smallhathurt.wav",  // 11
    "sounds/smallhatfire.wav",  // 12
    "sounds/megajumpland.wav",  // 13: hero
    "sounds/flozer.wav",        // 14
    "sounds/flozerhit.wav",     // 15
    "sounds/carrot.wav",        // 16
    "sounds/hotdog.wav",        // 17
    "sounds/bubblepop.wav",     // 18
    "sounds/bosshurt.wav",      // 19
    "sounds/binkcalls.wav",     // 20: a speech line starts
    "sounds/explosion.wav",     // 21: the time bomb
    "sounds/menumove.wav",      // 22: the pointer comes onto a menu entry
    "sounds/menuselect.wav",    // 23: a menu entry is clicked
    "sounds/teleport.wav",      // 24: the toilet sends the hero on
    "sounds/flozer2.wav",       // 25: a flozer is launched
};

namespace {

constexpr float MAX_MASTER_VOLUME = 1.5f;
constexpr float START_VOLUME = 1.2f;  // a little above full scale, limited by the gain cap

}  // namespace

SOUND::~SOUND() {
    Release();
}

void SOUND::Release() {
    for (Mix_Chunk* chunk : Chunks) {
        if (chunk) {
            MIXER::Free(chunk);
        }
    }
    Chunks.clear();
}

void SOUND::Init() {
    Release();
    if (MIXER::Open()) {
        // Every entry is kept, loaded or not, so the ids stay where they are.
        for (const char* file : SOUND_FILES) {
            Chunks.push_back(MIXER::Load(file));
        }
    }
    SetMasterVolume(START_VOLUME);
}

void SOUND::Play(int id, bool loop) {
    if (id >= 0 && id < SOUND_COUNT) {
        ++Started[id];
    }
    if (id < 0 || id >= int(Chunks.size()) || !Chunks[size_t(id)]) {
        return;
    }
    MIXER::PlayEffect(Chunks[size_t(id)], loop);
}

void SOUND::SetMasterVolume(float volume) {
    Volume = std::clamp(volume, 0.0f, MAX_MASTER_VOLUME);
    // Loudness falls with the square root of the setting, from -5 dB at 1
    // down to -40 dB at 0; above 1 it rises past -5 dB.
    double a = (1.0 - std::sqrt(double(Volume))) * -3500.0 - 500.0;
    AttenuationCentibels = int(std::trunc(a));
    int mixVolume = int(std::lround(Gain() * MIX_MAX_VOLUME));
    for (Mix_Chunk* chunk : Chunks) {
        if (chunk) {
            Mix_VolumeChunk(chunk, mixVolume);
        }
    }
}

float SOUND::Gain() const {
    // Hundredths of a decibel to amplitude; the mixer cannot go above full
    // scale, so a positive attenuation plays at full scale.
    return std::min(1.0f, float(std::pow(10.0, AttenuationCentibels / 2000.0)));
}

int SOUND::Sounding() const {
    return Chunks.empty() ? 0 : MIXER::EffectsSounding();
}
