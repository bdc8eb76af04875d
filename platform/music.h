// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct Mix_Chunk;

// One music track, decoded once and played on a mixer channel of its own, so
// several tracks can sound together (a level's track runs on under the menu
// music). A track plays once and then counts as no longer playing, unless
// it is set to loop: then the mixer runs its end straight on into its start,
// with no gap for a restart to leave. A file that failed to load stays
// silent.
//
// An MP3 decodes on a thread of its own, so loading one never holds up a
// frame: Load reads the file, checks that it is an MP3 and returns (other
// files load at once, as a missing one fails at once). Played before its
// decode is done, a track counts as playing and starts sounding as soon as
// its samples are there; Duration and Position wait for them.
class MUSIC {
public:
    MUSIC() = default;
    MUSIC(const MUSIC&) = delete;
    MUSIC& operator=(const MUSIC&) = delete;
    ~MUSIC();

    // Replaces any loaded track; the new one waits, stopped at its end.
    // False when the file could not be read or is no track at all; a track
    // that fails only while it decodes turns silent later.
    bool Load(const std::string& path);
    // The file of the track loaded last, empty when none is.
    const std::string& Source() const { return Path; }
    // From the beginning, over whatever this track was playing.
    void Play();
    // Stops and parks the track at its end.
    void Stop();
    bool IsPlaying();
    // Whether the tracks this player loads loop, from the next Play on; they
    // play once until told otherwise.
    void SetLooping(bool loop);
    // 0..1 loudness on a square-root curve; -1 (left) .. 1 (right).
    void SetVolume(float volume);
    void SetBalance(float balance);
    void Release();

    // s of the decoded track, and how far the mixer has played it (of the
    // current time round, for a loop).
    double Duration() const;
    double Position() const;

    // Cuts short every decode still running and waits for them all; the
    // mixer calls it before it closes.
    static void FinishDecoding();

private:
    bool Audible() const;
    void ApplyBalance();
    void Start();                        // plays the decoded track from its beginning
    void TakeDecoded(Mix_Chunk* chunk);  // from the decoding thread
    void WaitForDecode() const;

    std::string Path;            // the file loaded
    Mix_Chunk* Chunk = nullptr;  // the whole decoded track
    int Channel = -1;            // the mixer channel held while a track is loaded
    float Balance = 0.0f;        // -1..1
    bool Looping = false;
    // Bytes the mixer has played since the last Play, counted on its thread.
    std::shared_ptr<std::atomic<long long>> Played;

    // The decode: its thread hands the chunk over under the lock, and plays
    // it at once when a Play came first.
    std::thread Decoder;
    std::shared_ptr<std::atomic<bool>> Cancel;  // set by Release: stop early
    mutable std::mutex Lock;
    mutable std::condition_variable Decoded;
    bool Decoding = false;    // the thread has not handed its chunk over yet
    bool PlayWanted = false;  // Play came while decoding
};
