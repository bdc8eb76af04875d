// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/input_script.h"

class APPLICATION;

// A busy moment of play the benchmarks come back to: a level, the input
// that leads there and on, and the frames to skip before measuring.
struct SCENE {
    const char* Name;
    int Level;
    int64_t Skip;         // frames played, drawn, before the measured ones
    int64_t Frames;       // frames measured
    std::string Script;   // input-script text, frames counted from the level's start
    float StartX = 0.0f;  // px, where the hero is put when the level starts
    float StartY = 0.0f;  // (his feet); 0, 0 keeps the level's own start
};

// The scenes every figure is measured on: Level 3-3 with its small hats
// firing, the third boss sweeping its ray, and Bink speaking.
const std::vector<SCENE>& Scenes();

// A fresh game in this process, as `vortigan --headless --level N
// --fixed-dt DT --input SCRIPT` would run it: the same random numbers, the
// same clock, the offscreen screen.
class PLAY_SCENE {
public:
    static constexpr double DT = 0.0166667;  // s per frame, as the replays run

    PLAY_SCENE();
    ~PLAY_SCENE();
    PLAY_SCENE(const PLAY_SCENE&) = delete;
    PLAY_SCENE& operator=(const PLAY_SCENE&) = delete;

    // Starts the scene's level and plays (and draws) up to its first
    // measured frame. False with *error when the data folder, the screen or
    // the level cannot be had.
    bool Open(const SCENE& scene, std::string* error);
    void Close();

    // One frame as the entry point runs it. zoom > 0 holds the camera's zoom
    // there for this frame (the game would ease it by the hero's flight).
    void Update(float zoom = 0.0f);
    void Render(float zoom = 0.0f);
    // What a frame's drawing moves on without being seen: Bink's speech
    // runs its course as it is drawn, so it is drawn while he speaks.
    void Advance();
    // The world's and the hero's updates alone, as the play frame makes
    // them, without the screens, the music or the camera.
    void Simulate();
    // Takes the level's cast away, leaving the hero alone on its tiles.
    void ClearCast();

    int64_t Frame() const { return Next; }
    size_t Objects() const;
    bool Speaking() const;
    APPLICATION* App() { return Game.get(); }
    DEVICE* Device() { return &Screen; }

private:
    DEVICE Screen;
    std::unique_ptr<APPLICATION> Game;
    int64_t Next = 0;    // the next frame to play
    std::string Before;  // the working folder to go back to
};

// The folder with the baked data: $VORTIGAN_DATA, else this build's own.
std::string BenchDataDir();
