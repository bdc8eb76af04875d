// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/random.h"

#include <cstdint>

namespace {
uint32_t State = 1;
}

int Rand() {
    // A plain linear congruential generator; only its upper bits are used.
    State = State * 214013u + 2531011u;
    return static_cast<int>((State >> 16) & 0x7FFFu);
}

void ResetRand(unsigned seed) {
    State = seed;
}
