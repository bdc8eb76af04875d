// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/effect_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "tools/audio/text_lines.h"

namespace audio {

namespace {

// The voices run at OVERSAMPLE times the output rate, where the filters keep their shape
// up to the top of the band, and are brought down by the decimation filter below.
constexpr int OVERSAMPLE = 8;
constexpr double SUB_RATE = static_cast<double>(SAMPLE_RATE) * OVERSAMPLE;
constexpr double MAX_FREQUENCY = 20000;

// The decimation filter, a Kaiser-windowed sinc: flat to PASS_EDGE and at least 90 dB down
// from STOP_EDGE, so nothing the oscillators, noise and filters make above the band folds
// back into it, and nothing hisses above 18 kHz.
constexpr double PASS_EDGE = 16000;   // Hz
constexpr double STOP_EDGE = 18000;   // Hz
constexpr double KAISER_BETA = 8.96;  // the window for 90 dB
// Kaiser's length for 90 dB over a 2 kHz edge at the sub-sample rate is about 1010 taps.
constexpr int FILTER_HALF = 512;  // taps either side of the centre

using SETTER = std::function<void(EFFECT_VOICE&, const std::vector<double>&)>;

struct VOICE_KEY {
    size_t Count;
    SETTER Set;
};

const std::map<std::string, VOICE_KEY>& VoiceKeys() {
    static const std::map<std::string, VOICE_KEY> KEYS = {
        {"freq", {1, [](EFFECT_VOICE& v, const auto& a) { v.Frequency = a[0]; }}},
        {"slide", {1, [](EFFECT_VOICE& v, const auto& a) { v.Slide = a[0]; }}},
        {"accel", {1, [](EFFECT_VOICE& v, const auto& a) { v.SlideAccel = a[0]; }}},
        {"floor", {1, [](EFFECT_VOICE& v, const auto& a) { v.FloorFrequency = a[0]; }}},
        {"vibrato",
         {2,
          [](EFFECT_VOICE& v, const auto& a) {
              v.VibratoDepth = a[0];
              v.VibratoSpeed = a[1];
          }}},
        {"tremolo",
         {2,
          [](EFFECT_VOICE& v, const auto& a) {
              v.TremoloDepth = a[0];
              v.TremoloSpeed = a[1];
          }}},
        {"attack", {1, [](EFFECT_VOICE& v, const auto& a) { v.Attack = a[0]; }}},
        {"sustain", {1, [](EFFECT_VOICE& v, const auto& a) { v.Sustain = a[0]; }}},
        {"decay", {1, [](EFFECT_VOICE& v, const auto& a) { v.Decay = a[0]; }}},
        {"punch", {1, [](EFFECT_VOICE& v, const auto& a) { v.Punch = a[0]; }}},
        {"lowpass", {1, [](EFFECT_VOICE& v, const auto& a) { v.LowPass = a[0]; }}},
        {"lpsweep", {1, [](EFFECT_VOICE& v, const auto& a) { v.LowPassSweep = a[0]; }}},
        {"resonance", {1, [](EFFECT_VOICE& v, const auto& a) { v.Resonance = a[0]; }}},
        {"highpass", {1, [](EFFECT_VOICE& v, const auto& a) { v.HighPass = a[0]; }}},
        {"duty", {1, [](EFFECT_VOICE& v, const auto& a) { v.Duty = a[0]; }}},
        {"dutysweep", {1, [](EFFECT_VOICE& v, const auto& a) { v.DutySweep = a[0]; }}},
        {"repeat", {1, [](EFFECT_VOICE& v, const auto& a) { v.Repeat = a[0]; }}},
        {"arp",
         {2,
          [](EFFECT_VOICE& v, const auto& a) {
              v.Arpeggio.push_back({a[0], a[1]});
          }}},
        {"volume", {1, [](EFFECT_VOICE& v, const auto& a) { v.Volume = a[0]; }}},
        {"delay", {1, [](EFFECT_VOICE& v, const auto& a) { v.Delay = a[0]; }}},
    };
    return KEYS;
}

void CheckVoice(const EFFECT_VOICE& v, const std::string& file, int line) {
    if (v.Frequency <= 0 || v.Frequency > MAX_FREQUENCY) {
        throw PARSE_ERROR(file, line, "freq must be between 0 and 20000 Hz");
    }
    if (v.Attack < 0 || v.Sustain < 0 || v.Decay < 0 || v.Delay < 0 || v.Repeat < 0) {
        throw PARSE_ERROR(file, line, "times must not be negative");
    }
    if (v.Attack + v.Sustain + v.Decay <= 0) {
        throw PARSE_ERROR(file, line, "voice has no length");
    }
    if (v.Resonance < 0 || v.Resonance > 0.95) {
        throw PARSE_ERROR(file, line, "resonance must be between 0 and 0.95");
    }
    if (v.Duty <= 0 || v.Duty >= 1) {
        throw PARSE_ERROR(file, line, "duty must be between 0 and 1");
    }
}

// The modified Bessel function I0, by its power series: enough terms for the window.
double BesselI0(double x) {
    double term = 1, sum = 1;
    for (int k = 1; k < 50; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}

const std::vector<double>& DecimationTaps() {
    static const std::vector<double> TAPS = [] {
        const double cutoff = 0.5 * (PASS_EDGE + STOP_EDGE) / SUB_RATE;  // cycles per sample
        std::vector<double> taps(2 * FILTER_HALF + 1);
        double sum = 0;
        for (int n = -FILTER_HALF; n <= FILTER_HALF; ++n) {
            const double sinc =
                n == 0 ? 2.0 * cutoff : std::sin(TWO_PI * cutoff * n) / (TWO_PI / 2.0 * n);
            const double r = static_cast<double>(n) / FILTER_HALF;
            const double window = BesselI0(KAISER_BETA * std::sqrt(1.0 - r * r));
            taps[n + FILTER_HALF] = sinc * window;
            sum += taps[n + FILTER_HALF];
        }
        for (double& tap : taps) {
            tap /= sum;  // unity gain at 0 Hz
        }
        return taps;
    }();
    return TAPS;
}

// Low-passes the sub-samples and keeps every OVERSAMPLE-th: output sample i sits at
// sub-sample i * OVERSAMPLE, so the filter adds no delay.
std::vector<float> Decimate(const std::vector<float>& sub) {
    const std::vector<double>& taps = DecimationTaps();
    const long count = static_cast<long>(sub.size());
    std::vector<float> out(sub.size() / OVERSAMPLE);
    for (size_t i = 0; i < out.size(); ++i) {
        const long centre = static_cast<long>(i) * OVERSAMPLE;
        const long from = std::max<long>(-FILTER_HALF, -centre);
        const long to = std::min<long>(FILTER_HALF, count - 1 - centre);
        double sum = 0;
        for (long k = from; k <= to; ++k) {
            sum += taps[k + FILTER_HALF] * sub[centre + k];
        }
        out[i] = static_cast<float>(sum);
    }
    return out;
}

void AddGroup(const TEXT_LINE& line, const std::string& fileName,
              std::map<std::string, double>& groups) {
    double level = 0;
    if (line.Words.size() != 3 || !ParseNumber(line.Words[2], level)) {
        throw PARSE_ERROR(fileName, line.Number, "loudness needs a group and a level in dB");
    }
    if (level > 0 || level < -60) {
        throw PARSE_ERROR(fileName, line.Number, "loudness must be between -60 and 0 dB");
    }
    if (!groups.emplace(line.Words[1], level).second) {
        throw PARSE_ERROR(fileName, line.Number, "group '" + line.Words[1] + "' repeated");
    }
}

void StartEffect(const TEXT_LINE& line, const std::string& fileName,
                 std::vector<EFFECT_RECIPE>& effects) {
    if (line.Words.size() != 2) {
        throw PARSE_ERROR(fileName, line.Number, "effect needs exactly one name");
    }
    for (const EFFECT_RECIPE& e : effects) {
        if (e.Name == line.Words[1]) {
            throw PARSE_ERROR(fileName, line.Number, "effect '" + e.Name + "' repeated");
        }
    }
    effects.push_back({});
    effects.back().Name = line.Words[1];
    effects.back().Line = line.Number;
}

void SetGroup(const TEXT_LINE& line, const std::string& fileName,
              const std::map<std::string, double>& groups, EFFECT_RECIPE& effect) {
    if (line.Words.size() != 2) {
        throw PARSE_ERROR(fileName, line.Number, "group needs exactly one name");
    }
    auto found = groups.find(line.Words[1]);
    if (found == groups.end()) {
        throw PARSE_ERROR(fileName, line.Number,
                          "no loudness line for group '" + line.Words[1] + "' before the effects");
    }
    effect.Group = found->first;
    effect.Loudness = found->second;
}

void CheckEffect(const EFFECT_RECIPE& effect, const std::string& fileName) {
    if (effect.Voices.empty()) {
        throw PARSE_ERROR(fileName, effect.Line, "effect has no voice");
    }
    if (effect.Group.empty()) {
        throw PARSE_ERROR(fileName, effect.Line, "effect has no loudness group");
    }
}

void SetVoiceKey(const TEXT_LINE& line, const std::string& fileName, EFFECT_VOICE& voice) {
    const std::string& key = line.Words[0];
    if (key == "wave") {
        if (line.Words.size() != 2 || !ParseWave(line.Words[1], voice.Wave)) {
            throw PARSE_ERROR(fileName, line.Number,
                              "wave must be square, saw, sine, noise or triangle");
        }
        return;
    }
    auto found = VoiceKeys().find(key);
    if (found == VoiceKeys().end()) {
        throw PARSE_ERROR(fileName, line.Number, "unknown key '" + key + "'");
    }
    found->second.Set(voice, ParseNumbers(line.Words, found->second.Count, fileName, line.Number));
}

}  // namespace

std::vector<EFFECT_RECIPE> ParseEffects(const std::string& text, const std::string& fileName) {
    std::vector<EFFECT_RECIPE> effects;
    std::map<std::string, double> groups;  // dB
    EFFECT_VOICE* voice = nullptr;
    int voiceLine = 0;
    auto finishVoice = [&]() {
        if (voice) {
            CheckVoice(*voice, fileName, voiceLine);
        }
        voice = nullptr;
    };
    for (const TEXT_LINE& line : SplitLines(text)) {
        const std::string& key = line.Words[0];
        if (key == "loudness") {
            if (!effects.empty()) {
                throw PARSE_ERROR(fileName, line.Number, "loudness before the first effect");
            }
            AddGroup(line, fileName, groups);
        } else if (key == "effect") {
            finishVoice();
            if (!effects.empty()) {
                CheckEffect(effects.back(), fileName);
            }
            StartEffect(line, fileName, effects);
        } else if (effects.empty()) {
            throw PARSE_ERROR(fileName, line.Number, "'" + key + "' before the first effect");
        } else if (key == "group") {
            SetGroup(line, fileName, groups, effects.back());
        } else if (key == "seed") {
            std::vector<double> n = ParseNumbers(line.Words, 1, fileName, line.Number);
            if (n[0] < 0 || n[0] > 4294967295.0) {
                throw PARSE_ERROR(fileName, line.Number, "seed out of range");
            }
            effects.back().Seed = static_cast<uint32_t>(n[0]);
        } else if (key == "voice") {
            finishVoice();
            voice = &effects.back().Voices.emplace_back();
            voiceLine = line.Number;
        } else if (!voice) {
            throw PARSE_ERROR(fileName, line.Number,
                              "'" + key + "' before the effect's first voice");
        } else {
            SetVoiceKey(line, fileName, *voice);
        }
    }
    finishVoice();
    if (!effects.empty()) {
        CheckEffect(effects.back(), fileName);
    }
    return effects;
}

double VoiceLength(const EFFECT_VOICE& voice) {
    return voice.Delay + voice.Attack + voice.Sustain + voice.Decay;
}

double EffectLength(const EFFECT_RECIPE& recipe) {
    double length = 0;
    for (const EFFECT_VOICE& v : recipe.Voices) {
        length = std::max(length, VoiceLength(v));
    }
    return length;
}

namespace {

size_t SampleCount(double seconds) {
    return static_cast<size_t>(std::lround(seconds * SAMPLE_RATE));
}

// What a voice does at one output sample; these move slowly enough to be worked out
// once per output sample rather than per sub-sample.
struct VOICE_CONTROLS {
    double Level = 0;
    double Frequency = 0;  // Hz
    double Duty = 0.5;
    double FilterStep = 0;  // the low-pass's coefficient, 0 when open
};

double EnvelopeLevel(const EFFECT_VOICE& v, double t) {
    double level;
    if (t < v.Attack) {
        level = t / v.Attack;
    } else if (t < v.Attack + v.Sustain) {
        level = 1.0 + v.Punch * (1.0 - (t - v.Attack) / v.Sustain);
    } else {
        const double x = v.Decay > 0 ? (t - v.Attack - v.Sustain) / v.Decay : 1.0;
        level = x >= 1.0 ? 0.0 : (1.0 - x) * (1.0 - x);
    }
    if (v.TremoloDepth > 0) {
        level *= 1.0 - v.TremoloDepth * 0.5 * (1.0 - std::cos(TWO_PI * v.TremoloSpeed * t));
    }
    return level * v.Volume;
}

VOICE_CONTROLS Controls(const EFFECT_VOICE& v, double t) {
    VOICE_CONTROLS c;
    c.Level = EnvelopeLevel(v, t);
    const double sinceRepeat = v.Repeat > 0 ? std::fmod(t, v.Repeat) : t;
    double semitones = 0;
    for (const ARPEGGIO_STEP& step : v.Arpeggio) {
        if (sinceRepeat >= step.Time) {
            semitones += step.Semitones;
        }
    }
    if (v.VibratoDepth > 0) {
        semitones += v.VibratoDepth * std::sin(TWO_PI * v.VibratoSpeed * t);
    }
    const double octaves = v.Slide * sinceRepeat + 0.5 * v.SlideAccel * sinceRepeat * sinceRepeat;
    double frequency = std::max(v.Frequency * std::exp2(octaves), v.FloorFrequency);
    frequency *= std::exp2(semitones / 12.0);
    c.Frequency = std::clamp(frequency, 1.0, MAX_FREQUENCY);
    c.Duty = std::clamp(v.Duty + v.DutySweep * t, 0.02, 0.98);
    if (v.LowPass > 0) {
        const double cutoff = std::clamp(v.LowPass * std::exp2(v.LowPassSweep * t), 20.0, 40000.0);
        c.FilterStep = 2.0 * std::sin(TWO_PI * 0.5 * cutoff / SUB_RATE);
    }
    return c;
}

// One voice's oscillator, noise and filters at the sub-sample rate.
class VOICE_STATE {
public:
    VOICE_STATE(const EFFECT_VOICE& v, uint32_t seed)
        : V(v),
          Random(seed),
          NoiseValue(Random.Bipolar()),
          HighPassCoefficient(v.HighPass > 0 ? std::exp(-TWO_PI * v.HighPass / SUB_RATE) : 0.0),
          Damping(2.0 * (1.0 - v.Resonance) * 0.7071 + 0.05) {}

    double Next(const VOICE_CONTROLS& c) {
        const double step = c.Frequency / SUB_RATE;
        const double oldPhase = Phase;
        Phase += step;
        Phase -= std::floor(Phase);
        double x = Wave(c, step, oldPhase);
        if (V.LowPass > 0) {
            Low += c.FilterStep * Band;
            const double high = x - Low - Damping * Band;
            Band += c.FilterStep * high;
            x = Low;
        }
        if (V.HighPass > 0) {
            HighOut = HighPassCoefficient * (HighOut + x - HighPrevIn);
            HighPrevIn = x;
            x = HighOut;
        }
        return x;
    }

private:
    double Wave(const VOICE_CONTROLS& c, double step, double oldPhase) {
        switch (V.Wave) {
            case WAVE::SQUARE:
                return BandLimitedPulse(Phase, step, c.Duty);
            case WAVE::SAW:
                return BandLimitedSaw(Phase, step);
            case WAVE::SINE:
                return std::sin(TWO_PI * Phase);
            case WAVE::TRIANGLE:
                return Phase < 0.5 ? 4.0 * Phase - 1.0 : 3.0 - 4.0 * Phase;
            case WAVE::NOISE:
            default:
                // A fresh random value every half cycle: the pitch colours the noise.
                if (Phase < oldPhase || (oldPhase < 0.5 && Phase >= 0.5)) {
                    NoiseValue = Random.Bipolar();
                }
                return NoiseValue;
        }
    }

    const EFFECT_VOICE& V;
    RANDOM Random;
    double NoiseValue;
    const double HighPassCoefficient;
    const double Damping;
    double Phase = 0;
    double Low = 0, Band = 0;            // the low-pass
    double HighPrevIn = 0, HighOut = 0;  // the high-pass
};

// Adds one voice, at the sub-sample rate, into mix (which is long enough for it).
void AddOversampledVoice(const EFFECT_VOICE& v, uint32_t seed, std::vector<float>& mix) {
    const size_t start = SampleCount(v.Delay);
    const size_t end = SampleCount(VoiceLength(v));
    VOICE_STATE voice(v, seed);
    for (size_t i = start; i < end; ++i) {
        const VOICE_CONTROLS c = Controls(v, static_cast<double>(i - start) / SAMPLE_RATE);
        for (int s = 0; s < OVERSAMPLE; ++s) {
            mix[i * OVERSAMPLE + s] += static_cast<float>(voice.Next(c) * c.Level);
        }
    }
}

// A gentle high-pass removes any offset the square waves and filters left behind. The
// first millisecond fades in along a half cosine, so an effect that starts at full tilt
// does not open with a click that hisses right up the band, and the last few milliseconds
// fade out so the end never clicks either.
void RemoveOffsetAndSmoothEnds(std::vector<float>& mix) {
    const size_t fadeIn = std::min<size_t>(mix.size(), SAMPLE_RATE / 1000);
    const size_t fadeOut = std::min<size_t>(mix.size(), SAMPLE_RATE / 200);
    double previousIn = 0, previousOut = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        double x = mix[i] - previousIn + 0.9985 * previousOut;
        previousIn = mix[i];
        previousOut = x;
        if (i < fadeIn) {
            x *= 0.5 - 0.5 * std::cos(TWO_PI / 2.0 * static_cast<double>(i) / fadeIn);
        }
        const size_t left = mix.size() - i;
        if (left <= fadeOut) {
            x *= static_cast<double>(left - 1) / static_cast<double>(fadeOut);
        }
        mix[i] = static_cast<float>(x);
    }
}

}  // namespace

double Loudness(const std::vector<float>& samples) {
    const size_t window = std::min(samples.size(), SampleCount(LOUDNESS_WINDOW));
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        if (i >= window) {
            sum -= static_cast<double>(samples[i - window]) * samples[i - window];
        }
        if (i + 1 >= window) {
            loudest = std::max(loudest, sum);
        }
    }
    return window > 0 ? 10.0 * std::log10(loudest / static_cast<double>(window)) : -INFINITY;
}

std::vector<float> RenderVoice(const EFFECT_VOICE& v, uint32_t seed) {
    std::vector<float> sub(SampleCount(VoiceLength(v)) * OVERSAMPLE, 0.0f);
    AddOversampledVoice(v, seed, sub);
    return Decimate(sub);
}

std::vector<float> RenderEffect(const EFFECT_RECIPE& recipe) {
    std::vector<float> sub(SampleCount(EffectLength(recipe)) * OVERSAMPLE, 0.0f);
    for (size_t n = 0; n < recipe.Voices.size(); ++n) {
        // Each voice gets its own noise stream, derived from the effect's seed.
        const uint32_t seed = recipe.Seed * 2654435761u + static_cast<uint32_t>(n) * 40503u + 1u;
        AddOversampledVoice(recipe.Voices[n], seed, sub);
    }
    std::vector<float> mix = Decimate(sub);
    RemoveOffsetAndSmoothEnds(mix);
    double peak = 0;
    for (float x : mix) {
        peak = std::max(peak, std::fabs(static_cast<double>(x)));
    }
    const double gain = std::pow(10.0, (recipe.Loudness - Loudness(mix)) / 20.0);
    if (!(peak * gain <= EFFECT_PEAK_CEILING)) {
        throw std::runtime_error("effect '" + recipe.Name + "' at line " +
                                 std::to_string(recipe.Line) + " would peak at " +
                                 std::to_string(20.0 * std::log10(peak * gain)) +
                                 " dBFS at its group's loudness: soften its punch or "
                                 "lower the group");
    }
    for (float& x : mix) {
        x = static_cast<float>(x * gain);
    }
    return mix;
}

}  // namespace audio
