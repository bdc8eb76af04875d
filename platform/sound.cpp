// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sound.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/mixer.h"

SOUND Sound;

// In SOUND_ID order: an entry out of place would give every later id the
// wrong sound.
const char* const SOUND_FILES[SOUND_COUNT] = {
    "sounds/doorclose.wav",     // SOUND_DOOR_CLOSE
    "sounds/inbubble.wav",      // SOUND_IN_BUBBLE
    "sounds/toiletrise.wav",    // SOUND_TOILET_RISE
    "sounds/hitwall.wav",       // SOUND_HIT_WALL
    "sounds/boss1dies.wav",     // SOUND_BOSS1_DIES
    "sounds/boss3dies.wav",     // SOUND_BOSS3_DIES
    "sounds/bossappears.wav",   // SOUND_BOSS_APPEARS
    "sounds/electricuted.wav",  // SOUND_ELECTROCUTED
    "sounds/deathray.wav",      // SOUND_DEATHRAY
    "sounds/herohurt.wav",      // SOUND_HERO_HURT
    "sounds/megajumpland.wav",  // SOUND_LAUNCH
    "sounds/smallhathurt.wav",  // SOUND_SMALLHAT_HURT
    "sounds/smallhatfire.wav",  // SOUND_SMALLHAT_FIRE
    "sounds/megajumpland.wav",  // SOUND_MEGAJUMP_LAND
    "sounds/flozer.wav",        // SOUND_FLOZER
    "sounds/flozerhit.wav",     // SOUND_FLOZER_HIT
    "sounds/carrot.wav",        // SOUND_CARROT
    "sounds/hotdog.wav",        // SOUND_HOTDOG
    "sounds/bubblepop.wav",     // SOUND_BUBBLE_POP
    "sounds/bosshurt.wav",      // SOUND_BOSS_HURT
    "sounds/binkcalls.wav",     // SOUND_BINK_CALLS
    "sounds/explosion.wav",     // SOUND_EXPLOSION
    "sounds/menumove.wav",      // SOUND_MENU_MOVE
    "sounds/menuselect.wav",    // SOUND_MENU_SELECT
    "sounds/teleport.wav",      // SOUND_TELEPORT
    "sounds/flozer2.wav",       // SOUND_FLOZER_THROWN
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
