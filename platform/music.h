#pragma once

#include <atomic>
#include <memory>
#include <string>

struct Mix_Chunk;

// One music track, decoded once and played on a mixer channel of its own, so
// several tracks can sound together (a level's track runs on under the menu
// music). A track never loops by itself: the game restarts it when
// IsPlaying turns false. A file that failed to load stays silent.
class MUSIC {
public:
    MUSIC() = default;
    MUSIC(const MUSIC&) = delete;
    MUSIC& operator=(const MUSIC&) = delete;
    ~MUSIC();

    // Replaces any loaded track; the new one waits, stopped at its end.
    void Load(const std::string& path);
    // From the beginning, over whatever this track was playing.
    void Play();
    // Stops and parks the track at its end.
    void Stop();
    bool IsPlaying();
    // 0..1 loudness on a square-root curve; -1 (left) .. 1 (right).
    void SetVolume(float volume);
    void SetBalance(float balance);
    void Release();

    // s of the decoded track, and how far the mixer has played it.
    double Duration() const;
    double Position() const;

private:
    bool Audible() const;
    void ApplyBalance();

    Mix_Chunk* Chunk = nullptr;  // the whole decoded track
    int Channel = -1;            // the mixer channel held while a track is loaded
    float Balance = 0.0f;        // -1..1
    // Bytes the mixer has played since the last Play, counted on its thread.
    std::shared_ptr<std::atomic<long long>> Played;
};
