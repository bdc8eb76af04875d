// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <vector>

struct Mix_Chunk;

// Every sound effect by name; the value is its place in SOUND_FILES. The
// mega-jump landing file is there twice: SOUND_LAUNCH (the hero's take-off,
// and a flozer popping) and SOUND_MEGAJUMP_LAND each have their own copy.
enum SOUND_ID : int {
    SOUND_DOOR_CLOSE,     // the toilet door shuts behind the hero
    SOUND_IN_BUBBLE,      // a bubble catches the hero
    SOUND_TOILET_RISE,    // the toilet takes off
    SOUND_HIT_WALL,       // the hero bangs into a wall
    SOUND_BOSS1_DIES,     // the first and second bosses turn over
    SOUND_BOSS3_DIES,     // the third boss turns over
    SOUND_BOSS_APPEARS,   // a boss starts its tour
    SOUND_ELECTROCUTED,   // a ray or spark touches the hero
    SOUND_DEATHRAY,       // the third boss's ray appears
    SOUND_HERO_HURT,      // a hurt, a stumble, the start of dying
    SOUND_LAUNCH,         // a mega jump takes off; a drifting flozer pops
    SOUND_SMALLHAT_HURT,  // a small hat is destroyed
    SOUND_SMALLHAT_FIRE,  // a small hat fires sparks
    SOUND_MEGAJUMP_LAND,  // a hard landing
    SOUND_FLOZER,         // a flozer stops drifting and spins up
    SOUND_FLOZER_HIT,     // a flozer cuts the hero or bounces off the tiles
    SOUND_CARROT,         // a carrot is picked up
    SOUND_HOTDOG,         // a hot dog is picked up
    SOUND_BUBBLE_POP,     // a bubble bursts
    SOUND_BOSS_HURT,      // a boss is stomped
    SOUND_BINK_CALLS,     // a speech line starts
    SOUND_EXPLOSION,      // the time bomb goes off
    SOUND_MENU_MOVE,      // the pointer comes onto a menu entry
    SOUND_MENU_SELECT,    // a menu entry is clicked
    SOUND_TELEPORT,       // the toilet sends the hero on
    SOUND_FLOZER_THROWN,  // a flozer is launched
    SOUND_COUNT
};

// The sound effects' files, by SOUND_ID.
extern const char* const SOUND_FILES[SOUND_COUNT];

// The table of sound effects, one process-wide object. Every Play starts at
// once over whatever is already sounding; nothing is ever refused or cut.
// An id that failed to load, or a table never initialised, plays silence.
class SOUND {
public:
    SOUND() = default;
    SOUND(const SOUND&) = delete;
    SOUND& operator=(const SOUND&) = delete;
    ~SOUND();

    // Opens the mixer and loads the table; a file that fails stays silent.
    void Init();
    void Play(int id, bool loop);
    // 0..1.5; the loudness of every effect, sounding ones included.
    void SetMasterVolume(float volume);

    float MasterVolume() const { return Volume; }
    // The master volume in hundredths of a decibel, and as a linear gain.
    int Attenuation() const { return AttenuationCentibels; }
    float Gain() const;
    // Entries loaded (SOUND_COUNT after Init, loaded or not), and copies of
    // any effect sounding right now.
    int Count() const { return int(Chunks.size()); }
    bool IsLoaded(int id) const { return id >= 0 && id < Count() && Chunks[size_t(id)] != nullptr; }
    int Sounding() const;

    // How often each id was asked to play since the start, loaded or not:
    // tests count the game's cues by it.
    int Started[SOUND_COUNT] = {};

private:
    void Release();

    std::vector<Mix_Chunk*> Chunks;   // by id; null where the file failed
    float Volume = 1.0f;              // 0..1.5, as last set
    int AttenuationCentibels = -500;  // hundredths of a dB
};

extern SOUND Sound;
