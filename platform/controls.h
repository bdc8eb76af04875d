// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/settings.h"

// The hero's actions as the player bound them: either of an action's two
// keys, or the pad's fixed button for it.
namespace CONTROLS {
bool IsDown(int action);
// Once per frame, before the update: notes the mega jump key's presses,
// so the "toggle" way of aiming sees a press as a switch.
void Sample();
// Whether the mega jump is being aimed: the key held, or (toggle) switched
// on by one press and off by the next.
bool MegaJumpHeld();
// Forgets a toggled aim (a level starts or is left).
void Reset();
}  // namespace CONTROLS
