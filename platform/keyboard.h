// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/keys.h"
#include "platform/platform.h"

// Live key state by virtual-key number, read whenever the game needs it.
namespace KEYBOARD {
inline bool IsDown(int vk) {
    return PLATFORM::IsKeyDown(vk);
}
}  // namespace KEYBOARD
