#pragma once

#include <string>

// One music track, decoded once and played on a channel of its own, so
// several tracks can sound together.
class MUSIC {
public:
    MUSIC() = default;
    MUSIC(const MUSIC&) = delete;
    MUSIC& operator=(const MUSIC&) = delete;
    ~MUSIC();

    void Load(const std::string& path);
    void Play();
    void Stop();
    bool IsPlaying();
    void SetVolume(float volume);
    void SetBalance(float balance);
    void Release();
};
