// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

class MOUSE;

// The menu screens worked without the mouse: the arrow keys (or a pad's
// d-pad) put the drawn cursor on the next or previous button that can be
// clicked, and Enter, Space (or the pad's A) click the button under it.
// The mouse keeps working as before; the keys only move its cursor.
class MENU_KEYS {
public:
    // Once per frame, before the screens are drawn: reads the keys, so a
    // press counts on the frame it starts only.
    void Sample();
    // Forgets the buttons of the last frame; call before drawing the screen.
    void BeginScreen();
    // A button that can be clicked now (visible and selectable), in screen
    // pixels, edges included.
    void AddButton(int left, int top, int right, int bottom);
    // Forgets this frame's presses (a key being bound is no click).
    void DropPresses() { Pressed = 0; }
    // Enter or Space went down this frame.
    bool ClickPressed() const;
    // After the screen's buttons are drawn: moves the cursor onto the next
    // or previous button when an arrow went down this frame.
    void MoveCursor(MOUSE& mouse) const;

private:
    struct BUTTON {
        int Left, Top, Right, Bottom;  // px, screen
    };
    enum : uint32_t { NEXT = 1, PREVIOUS = 2, CLICK = 4 };
    uint32_t Held = 0;     // this frame
    uint32_t Pressed = 0;  // went down this frame
    std::vector<BUTTON> Buttons;
};
