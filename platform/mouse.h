// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

class DEVICE;
class SPRITE;
class TEXTURE;

// The menu's mouse: a cursor moved by the pointer's motion and kept on the
// 800 x 600 screen, and the left button. Full screen it reads relative
// motion; in a window the cursor follows the system pointer; an input script
// (and a headless run) supplies the motion instead.
class MOUSE {
public:
    MOUSE() = default;
    MOUSE(const MOUSE&) = delete;
    MOUSE& operator=(const MOUSE&) = delete;
    ~MOUSE();

    // Logs "Error in MOUSE::InitMouse()" when the mouse cannot be set up;
    // the game goes on without one.
    void InitMouse(DEVICE* device);
    // Reads the mouse once a frame and moves the cursor.
    void Update();
    // Moves the cursor by a relative motion (in mouse units) and clamps it.
    void Move(int dx, int dy);
    bool IsLeftDown() const { return LeftDown; }
    // Edges included.
    bool IsInside(int left, int top, int right, int bottom) const;
    // The button held (not freshly pressed) with the cursor inside.
    bool ClickedIn(int left, int top, int right, int bottom) const;
    // The cursor picture, from the game's stuff sheet (none yet: nothing is
    // drawn), with its top-left corner, the hot spot, at (X, Y).
    void DrawCursor(const TEXTURE* sheet);

    int X = 0;  // px, screen; the centre after InitMouse
    int Y = 0;
    float Sensitivity = 1.5f;  // screen px per unit of mouse motion
    // Cursor limits, inclusive: the cursor can stand one past the last pixel.
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

private:
    enum class SOURCE { NONE, SCRIPT, RELATIVE, POINTER };

    void ReadPointer(int* dx, int* dy);
    void UseRelativeMode(bool on);

    DEVICE* Device = nullptr;
    SPRITE* Sprite = nullptr;  // owned; the cursor's own batch
    SOURCE Source = SOURCE::NONE;
    bool LeftDown = false;
    bool RelativeMode = false;  // the system pointer is captured
    int PointerX = -1;          // px in the window, the system pointer at the last read
    int PointerY = -1;
};
