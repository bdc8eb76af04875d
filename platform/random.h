#pragma once

// The game's random numbers: 0..32767, from a fixed start, so every run on
// every machine draws the same sequence (replays depend on it).
int Rand();
void ResetRand(unsigned seed = 1);
