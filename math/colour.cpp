// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "math/colour.h"

namespace {

uint32_t Channel(float v) {
    // NaN fails both comparisons, so test for "not above 0" to send it to 0.
    if (!(v > 0.0f)) {
        v = 0.0f;
    }
    if (v > 1.0f) {
        v = 1.0f;
    }
    return static_cast<uint32_t>(v * 255.0f + 0.5f);
}

}  // namespace

ARGB ColourFromFloats(float r, float g, float b, float a) {
    return (Channel(a) << 24) | (Channel(r) << 16) | (Channel(g) << 8) | Channel(b);
}
