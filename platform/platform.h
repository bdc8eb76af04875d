// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/input_script.h"

// How this run of the game was asked to behave. Without any option it is the
// game as a player knows it; the automation options serve tests and replays.
struct PLATFORM_OPTIONS {
    bool Headless = false;       // no window, no sound device, offscreen drawing
    bool Windowed = false;       // a resizable 800 x 600 window instead of full screen
    bool NoVsync = false;        // present as fast as possible (for measuring)
    bool WindowedGiven = false;  // --windowed or --fullscreen named on the command line
    int64_t Frames = -1;         // quit after this many frames; -1 runs until quit
    double FixedDt = 0.0;        // s per frame; 0 measures real time
    std::string InputPath;       // input script to play instead of the keyboard and mouse
    std::string RecordPath;
    std::string TracePath;
    std::string DataDir;
    std::string UserDir;
    std::vector<std::pair<int64_t, std::string>> Screenshots;  // frame, PNG path
    int Level = -1;                                            // start this level at once (0..11)
};

namespace PLATFORM {

// Reads the input script and opens the recording, before anything else, so
// a bad script is reported as a usage error.
bool PrepareInput(const PLATFORM_OPTIONS& options, std::string* error);

// Brings up SDL (video, audio, timer, game controllers). Headless runs use
// SDL's dummy drivers. Fails with a message for stderr.
bool Init(const PLATFORM_OPTIONS& options, std::string* error);
void Shutdown();

// Tells the player why the game cannot start: stderr always, and a message
// box where a display exists.
void ShowStartError(const std::string& message);
const PLATFORM_OPTIONS& Options();

// The per-user folder (with a trailing '/') where progress, the log and
// settings live; created if missing.
const std::string& UserDir();
std::string UserPath(const std::string& name);

// Moves the working directory to the game's data folder, so every data path
// stays relative. Returns the folder chosen, or "" when none was found.
std::string ChangeToDataDir(const std::string& programPath);

// Reads the queued window events. Returns false once the game should end
// (the window was closed, or Quit posted it).
bool PollEvents();
void PostQuit();
bool QuitRequested();

// Per frame: applies the input script's events for this frame (or samples
// the real devices), and records what the frame sees, before its update.
void BeginFrame(int64_t frame);
int64_t CurrentFrame();

// The time step the input script gives this frame (0 when none), and
// whether it gives any (a recording replays at its own time steps).
double ScriptDt();
bool ScriptHasDt();
// Records the time step this frame runs with.
void RecordDt(double dt);
// Closes the recording; false when any of it could not be written.
bool FinishRecording();

// Live state of a key by its virtual-key number, from the script when one
// plays, else from the keyboard, the mouse buttons and any gamepad.
bool IsKeyDown(int vk);
// The same from the keyboard and mouse alone, and from the pads alone: a
// key the player bound elsewhere must not drag the pad's fixed map along.
bool IsKeyboardKeyDown(int vk);
bool IsPadKeyDown(int vk);

// The relative mouse motion this frame's mouse read sees, and whether a real
// pointer position should be followed instead (a window without a script).
void ScriptMouseMotion(int* dx, int* dy);
bool InputScripted();
void RecordMouseMotion(int dx, int dy);

// True once after the window lost the input focus (the game pauses then).
bool TakeFocusLost();
// What a focus-lost window event does; tests call it as the window would.
void NoteFocusLost();
// What a mouse button's press event does: the button counts as held for the
// next frame, however soon it is let go. Tests call it as the window would.
void NoteButtonPressed(int vk);

// The millisecond clock. It follows the game's own time (the sum of the
// frames' time steps) once the frame loop sets it, so guards keyed to it
// behave the same on every run and in a replay of a recorded session.
uint32_t GetTickCount();
void SetSimulatedTime(double seconds);

// For tools and tests that drive the game in-process: plays the events as
// --input does, with the clock following frames of fixedDt seconds.
void PlayScript(std::vector<INPUT_EVENT> events, double fixedDt);

// Seconds between two real time stamps, for the frame loop.
double Seconds();

}  // namespace PLATFORM

// The clock under the name the game code uses for it.
inline uint32_t GetTickCount() {
    return PLATFORM::GetTickCount();
}
