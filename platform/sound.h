#pragma once

#include <vector>

struct Mix_Chunk;

inline constexpr int SOUND_COUNT = 26;

// The table of sound effects, one process-wide object. Every Play starts at
// once over whatever is already sounding.
class SOUND {
public:
    SOUND() = default;
    SOUND(const SOUND&) = delete;
    SOUND& operator=(const SOUND&) = delete;
    ~SOUND();

    void Init();
    void Play(int id, bool loop);
    void SetMasterVolume(float volume);

private:
    std::vector<Mix_Chunk*> Chunks;
    float Volume = 1.0f;
};

extern SOUND Sound;
