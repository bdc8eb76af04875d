// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound-effect recipes and the synthesiser that turns them into samples.
//
// A recipe file names its loudness groups first, then holds one block per effect:
//
//     loudness GROUP DB    the loudness every effect of GROUP is brought to
//     effect NAME          starts an effect (written as NAME.wav)
//     group GROUP          the effect's loudness group
//     seed N               seeds the effect's noise voices
//     voice                starts a voice; the keys that follow set that voice
//     KEY VALUE...         one setting per line; '#' starts a comment
//
// The voices of an effect are mixed and the result is scaled to its group's loudness,
// so a voice's volume only matters relative to the other voices. Loudness is the RMS of
// the effect's loudest LOUDNESS_WINDOW, in dB of full scale: a 50 ms tick is judged by
// the tick, and a boom by its body rather than its long tail.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/audio/text_lines.h"
#include "tools/audio/wave_shapes.h"

namespace audio {

struct ARPEGGIO_STEP {
    double Time = 0;       // seconds after the voice (or its latest repeat) starts
    double Semitones = 0;  // added to the pitch from then on
};

struct EFFECT_VOICE {
    WAVE Wave = WAVE::SQUARE;
    double Frequency = 440;      // Hz at the start
    double Slide = 0;            // octaves per second
    double SlideAccel = 0;       // octaves per second, per second
    double FloorFrequency = 20;  // the slide never takes the pitch below this (Hz)
    double VibratoDepth = 0;     // semitones
    double VibratoSpeed = 0;     // Hz
    double TremoloDepth = 0;     // 0..1 of the level
    double TremoloSpeed = 0;     // Hz
    double Attack = 0;           // seconds
    double Sustain = 0.1;        // seconds
    double Decay = 0.1;          // seconds
    double Punch = 0;            // extra level at the start of the sustain, fading over it
    double LowPass = 0;          // cut-off in Hz, 0 leaves the filter open
    double LowPassSweep = 0;     // octaves per second
    double Resonance = 0;        // 0..0.95
    double HighPass = 0;         // cut-off in Hz, 0 leaves the filter open
    double Duty = 0.5;           // square only: part of the cycle spent high
    double DutySweep = 0;        // change of the duty per second
    double Repeat = 0;           // seconds between restarts of pitch and arpeggio, 0 = never
    std::vector<ARPEGGIO_STEP> Arpeggio;
    double Volume = 1;
    double Delay = 0;  // seconds of silence before the voice starts
};

struct EFFECT_RECIPE {
    std::string Name;
    uint32_t Seed = 1;
    int Line = 0;  // where the effect starts in its file
    std::string Group;
    double Loudness = 0;  // dB of full scale, its group's
    std::vector<EFFECT_VOICE> Voices;
};

constexpr double LOUDNESS_WINDOW = 0.1;  // s
// No finished effect peaks above this: about -1 dBFS.
constexpr double EFFECT_PEAK_CEILING = 0.891;

std::vector<EFFECT_RECIPE> ParseEffects(const std::string& text, const std::string& fileName);

// Length in seconds of one voice, and of the whole effect (its longest voice).
double VoiceLength(const EFFECT_VOICE& voice);
double EffectLength(const EFFECT_RECIPE& recipe);

// The RMS of the loudest LOUDNESS_WINDOW of the samples (all of them when shorter), in dB
// of full scale; -inf for silence.
double Loudness(const std::vector<float>& samples);

// Renders one voice at its own volume, at SAMPLE_RATE.
std::vector<float> RenderVoice(const EFFECT_VOICE& voice, uint32_t seed);

// Renders the whole effect, mixed and brought to its loudness. Throws std::runtime_error
// when that loudness would take its peak above EFFECT_PEAK_CEILING.
std::vector<float> RenderEffect(const EFFECT_RECIPE& recipe);

}  // namespace audio
