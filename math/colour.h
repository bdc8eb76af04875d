// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// Colours travel as 32-bit ARGB: alpha in bits 24-31, then red, green, blue.
using ARGB = uint32_t;

// Four 0..1 floats to ARGB: each clamped, scaled by 255, rounded by +0.5 and
// truncated.
ARGB ColourFromFloats(float r, float g, float b, float a);

// White at the given opacity, the colour of every fading picture.
inline ARGB WhiteWithAlpha(float a) {
    return ColourFromFloats(1.0f, 1.0f, 1.0f, a);
}

inline constexpr ARGB COLOUR_WHITE = 0xFFFFFFFFu;
