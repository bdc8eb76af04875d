// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The keys an input script can hold, in the order scripts name them.
enum class INPUT_KEY : int {
    LEFT,
    RIGHT,
    UP,
    DOWN,
    SPACE,
    RETURN,
    ESCAPE,
    P,
    F1,
    LBUTTON,
    RBUTTON,
    // Keys a player may bind an action to.
    SHIFT,
    CTRL,
    A,
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J,
    K,
    L,
    M,
    N,
    O,
    Q,
    R,
    S,
    T,
    U,
    V,
    W,
    X,
    Y,
    Z,
    COUNT
};

inline constexpr int INPUT_KEY_COUNT = static_cast<int>(INPUT_KEY::COUNT);

const char* InputKeyName(INPUT_KEY key);
// The script key for a virtual-key number, or COUNT when scripts cannot hold it.
INPUT_KEY InputKeyFromVirtualKey(int vk);
int VirtualKeyFromInputKey(INPUT_KEY key);

// One line of a script: a key pressed or released, a mouse motion, or the
// frame's time step, taking effect before the update of its frame.
struct INPUT_EVENT {
    enum class TYPE { PRESS, RELEASE, MOUSE, DT } Type = TYPE::PRESS;
    int64_t Frame = 0;
    INPUT_KEY Key = INPUT_KEY::COUNT;
    int MouseDx = 0;  // px of relative motion
    int MouseDy = 0;
    double Dt = 0.0;  // s the frame lasts
    int Line = 0;     // where it stood in the file
};

// A frame's time step in a script is above 0 and at most this long, as
// --fixed-dt takes it.
inline constexpr double MAX_SCRIPT_DT = 1.0;  // s

// Parses a whole script. A bad line fails with a message naming the line.
bool ParseInputScript(const std::string& text, std::vector<INPUT_EVENT>* events,
                      std::string* error);

// Plays a parsed script frame by frame: key states and the mouse motion that
// this frame's mouse read sees.
class INPUT_PLAYER {
public:
    explicit INPUT_PLAYER(std::vector<INPUT_EVENT> events);
    void BeginFrame(int64_t frame);
    bool IsDown(INPUT_KEY key) const;
    void MouseMotion(int* dx, int* dy) const;
    // The time step the script gives this frame; 0 when it gives none.
    double FrameDt() const { return Dt; }
    // True when the script gives any frame its time step (a recording).
    bool HasDt() const { return AnyDt; }

private:
    std::vector<INPUT_EVENT> Events;  // sorted by frame, file order kept within a frame
    size_t Next = 0;
    bool Held[INPUT_KEY_COUNT] = {};
    int FrameDx = 0;
    int FrameDy = 0;
    double Dt = 0.0;  // s
    bool AnyDt = false;
};

// Writes a session's input in the script format, so it can be replayed.
class INPUT_RECORDER {
public:
    bool Open(const std::string& path);
    void Frame(int64_t frame, const bool held[INPUT_KEY_COUNT], int mouseDx, int mouseDy);
    // The frame's time step, written exactly, so a live session replays
    // frame for frame.
    void FrameDt(int64_t frame, double dt);
    bool IsOpen() const { return File != nullptr; }
    // Finishes the file; false when any of it could not be written.
    bool Close();
    ~INPUT_RECORDER();

private:
    std::FILE* File = nullptr;
    bool Failed = false;
    bool Held[INPUT_KEY_COUNT] = {};
};
