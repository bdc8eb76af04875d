// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls.h"

#include "platform/platform.h"

namespace {

bool MegaWasDown = false;
bool MegaToggled = false;

}  // namespace

namespace CONTROLS {

bool IsDown(int action) {
    if (action < 0 || action >= ACTION_COUNT) {
        return false;
    }
    const SETTINGS& s = SETTINGS_FILE::Current();
    for (int key : s.Keys[action]) {
        if (key != NO_KEY && PLATFORM::IsKeyboardKeyDown(key)) {
            return true;
        }
    }
    return PLATFORM::IsPadKeyDown(PadKeyOf(action));
}

void Sample() {
    bool down = IsDown(ACTION_MEGA_JUMP);
    if (down && !MegaWasDown) {
        MegaToggled = !MegaToggled;
    }
    MegaWasDown = down;
}

bool MegaJumpHeld() {
    return SETTINGS_FILE::Current().MegaJumpToggle ? MegaToggled : IsDown(ACTION_MEGA_JUMP);
}

void Reset() {
    MegaToggled = false;
    MegaWasDown = IsDown(ACTION_MEGA_JUMP);
}

}  // namespace CONTROLS
