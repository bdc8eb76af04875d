// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/wave_shapes.h"

#include <cmath>

namespace audio {

namespace {

// What smooths a jump from -1 up to +1 at phase 0, for a sample t turns past it.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

bool ParseWave(const std::string& name, WAVE& wave) {
    if (name == "square") {
        wave = WAVE::SQUARE;
    } else if (name == "saw") {
        wave = WAVE::SAW;
    } else if (name == "sine") {
        wave = WAVE::SINE;
    } else if (name == "noise") {
        wave = WAVE::NOISE;
    } else if (name == "triangle") {
        wave = WAVE::TRIANGLE;
    } else {
        return false;
    }
    return true;
}

double BandLimitedSaw(double phase, double step) {
    return 1.0 - 2.0 * phase + PolyBlep(phase, step);
}

double BandLimitedPulse(double phase, double step, double duty) {
    // Up at the start of the cycle, down again at duty.
    double x = phase < duty ? 1.0 : -1.0;
    x += PolyBlep(phase, step);
    x -= PolyBlep(std::fmod(phase + 1.0 - duty, 1.0), step);
    return x;
}

}  // namespace audio
