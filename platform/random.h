// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The game's random numbers: 0..32767, from a fixed start, so every run on
// every machine draws the same sequence (replays depend on it).
int Rand();
void ResetRand(unsigned seed = 1);
