// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Virtual-key numbers the game asks the keyboard about.
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_P = 0x50;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
// Digits and letters are their own character codes, '0'..'9' and 'A'..'Z'.
inline constexpr int VK_0 = 0x30;
inline constexpr int VK_9 = 0x39;
inline constexpr int VK_A = 0x41;
inline constexpr int VK_D = 0x44;
inline constexpr int VK_J = 0x4A;
inline constexpr int VK_S = 0x53;
inline constexpr int VK_W = 0x57;
inline constexpr int VK_Z = 0x5A;
