#pragma once

#include <cstddef>
#include <vector>

struct Mix_Chunk;

inline constexpr int SOUND_COUNT = 26;

// The sound effects' files, in the order of their ids. The mega-jump landing
// is there twice (10 and 13): the hero and the flozer each have their own.
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
