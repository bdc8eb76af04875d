// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Small building blocks shared by the effect and music synthesisers.
#pragma once

#include <cstdint>
#include <string>

namespace audio {

constexpr int SAMPLE_RATE = 44100;
constexpr double TWO_PI = 6.283185307179586476925;

enum class WAVE { SQUARE, SAW, SINE, NOISE, TRIANGLE };

// Reads a wave name ("square", "saw", "sine", "noise", "triangle"); false when unknown.
bool ParseWave(const std::string& name, WAVE& wave);

// Saw and pulse waves with their jumps rounded off by a polynomial band-limited step
// (PolyBLEP), so a high or sweeping note does not fold its upper harmonics back into the
// band as inharmonic whine. phase is in turns, 0 <= phase < 1; step is the phase advanced
// per sample (frequency / rate), below 0.5. The pulse is high for the first duty of the cycle.
double BandLimitedSaw(double phase, double step);
double BandLimitedPulse(double phase, double step, double duty);

// A tiny xorshift generator: every noise source is seeded from its recipe so that two
// renders of the same sources give the same bytes.
class RANDOM {
public:
    explicit RANDOM(uint32_t seed) : State(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // Uniform in [-1, 1).
    double Bipolar() { return (Next() >> 8) * (2.0 / 16777216.0) - 1.0; }

private:
    uint32_t State;
};

}  // namespace audio
