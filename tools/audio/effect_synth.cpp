#include "tools/audio/effect_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "tools/audio/text_lines.h"

namespace audio {

namespace {

// Each output sample is the average of this many sub-samples, which keeps the
// raw oscillators from aliasing badly at high pitches.
constexpr int OVERSAMPLE = 8;
constexpr double MAX_FREQUENCY = 20000;

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

// One pole high-pass / two pole resonant low-pass, run at the oversampled rate.
struct FILTERS {
    double Low = 0, Band = 0;
    double HighPrevIn = 0, HighOut = 0;
};

}  // namespace

std::vector<EFFECT_RECIPE> ParseEffects(const std::string& text, const std::string& fileName) {
    std::vector<EFFECT_RECIPE> effects;
    EFFECT_VOICE* voice = nullptr;
    int voiceLine = 0;
    auto finishVoice = [&]() {
        if (voice) {
            CheckVoice(*voice, fileName, voiceLine);
        }
    };
    for (const TEXT_LINE& line : SplitLines(text)) {
        const std::vector<std::string>& words = line.Words;
        const std::string& key = words[0];
        if (key == "effect") {
            finishVoice();
            voice = nullptr;
            if (!effects.empty() && effects.back().Voices.empty()) {
                throw PARSE_ERROR(fileName, effects.back().Line, "effect has no voice");
            }
            if (words.size() != 2) {
                throw PARSE_ERROR(fileName, line.Number, "effect needs exactly one name");
            }
            for (const EFFECT_RECIPE& e : effects) {
                if (e.Name == words[1]) {
                    throw PARSE_ERROR(fileName, line.Number, "effect '" + words[1] + "' repeated");
                }
            }
            effects.push_back({});
            effects.back().Name = words[1];
            effects.back().Line = line.Number;
            continue;
        }
        if (effects.empty()) {
            throw PARSE_ERROR(fileName, line.Number, "'" + key + "' before the first effect");
        }
        EFFECT_RECIPE& effect = effects.back();
        if (key == "seed") {
            std::vector<double> n = ParseNumbers(words, 1, fileName, line.Number);
            if (n[0] < 0 || n[0] > 4294967295.0) {
                throw PARSE_ERROR(fileName, line.Number, "seed out of range");
            }
            effect.Seed = static_cast<uint32_t>(n[0]);
            continue;
        }
        if (key == "voice") {
            finishVoice();
            effect.Voices.push_back({});
            voice = &effect.Voices.back();
            voiceLine = line.Number;
            continue;
        }
        if (!voice) {
            throw PARSE_ERROR(fileName, line.Number,
                              "'" + key + "' before the effect's first voice");
        }
        if (key == "wave") {
            if (words.size() != 2 || !ParseWave(words[1], voice->Wave)) {
                throw PARSE_ERROR(fileName, line.Number,
                                  "wave must be square, saw, sine, noise or triangle");
            }
            continue;
        }
        auto found = VoiceKeys().find(key);
        if (found == VoiceKeys().end()) {
            throw PARSE_ERROR(fileName, line.Number, "unknown key '" + key + "'");
        }
        found->second.Set(*voice, ParseNumbers(words, found->second.Count, fileName, line.Number));
    }
    finishVoice();
    if (!effects.empty() && effects.back().Voices.empty()) {
        throw PARSE_ERROR(fileName, effects.back().Line, "effect has no voice");
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

static size_t SampleCount(double seconds) {
    return static_cast<size_t>(std::lround(seconds * SAMPLE_RATE));
}

std::vector<float> RenderVoice(const EFFECT_VOICE& v, uint32_t seed) {
    std::vector<float> out(SampleCount(VoiceLength(v)), 0.0f);
    const size_t start = SampleCount(v.Delay);
    const double subRate = static_cast<double>(SAMPLE_RATE) * OVERSAMPLE;
    const double dt = 1.0 / subRate;
    RANDOM random(seed);
    double noiseValue = random.Bipolar();
    double phase = 0;
    FILTERS filters;
    const double highPassCoefficient =
        v.HighPass > 0 ? std::exp(-TWO_PI * v.HighPass / subRate) : 0.0;
    const double damping = 2.0 * (1.0 - v.Resonance) * 0.7071 + 0.05;

    for (size_t i = start; i < out.size(); ++i) {
        const double t = static_cast<double>(i - start) / SAMPLE_RATE;
        // The envelope moves slowly enough to be worked out once per output sample.
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
        const double octaves =
            v.Slide * sinceRepeat + 0.5 * v.SlideAccel * sinceRepeat * sinceRepeat;
        double frequency = v.Frequency * std::exp2(octaves);
        frequency = std::max(frequency, v.FloorFrequency);
        frequency *= std::exp2(semitones / 12.0);
        frequency = std::clamp(frequency, 1.0, MAX_FREQUENCY);
        const double duty = std::clamp(v.Duty + v.DutySweep * t, 0.02, 0.98);
        double cutoff = 0;
        double f = 0;
        if (v.LowPass > 0) {
            cutoff = std::clamp(v.LowPass * std::exp2(v.LowPassSweep * t), 20.0, 40000.0);
            f = 2.0 * std::sin(TWO_PI * 0.5 * cutoff / subRate);
        }

        double sum = 0;
        for (int s = 0; s < OVERSAMPLE; ++s) {
            const double oldPhase = phase;
            phase += frequency * dt;
            if (phase >= 1.0) {
                phase -= std::floor(phase);
            }
            double x;
            switch (v.Wave) {
                case WAVE::SQUARE:
                    x = phase < duty ? 1.0 : -1.0;
                    break;
                case WAVE::SAW:
                    x = 1.0 - 2.0 * phase;
                    break;
                case WAVE::SINE:
                    x = std::sin(TWO_PI * phase);
                    break;
                case WAVE::TRIANGLE:
                    x = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
                    break;
                case WAVE::NOISE:
                default:
                    // A fresh random value every half cycle: the pitch colours the noise.
                    if (phase < oldPhase || (oldPhase < 0.5 && phase >= 0.5)) {
                        noiseValue = random.Bipolar();
                    }
                    x = noiseValue;
                    break;
            }
            if (v.LowPass > 0) {
                filters.Low += f * filters.Band;
                const double high = x - filters.Low - damping * filters.Band;
                filters.Band += f * high;
                x = filters.Low;
            }
            if (v.HighPass > 0) {
                filters.HighOut = highPassCoefficient * (filters.HighOut + x - filters.HighPrevIn);
                filters.HighPrevIn = x;
                x = filters.HighOut;
            }
            sum += x;
        }
        out[i] = static_cast<float>(sum / OVERSAMPLE * level * v.Volume);
    }
    return out;
}

std::vector<float> RenderEffect(const EFFECT_RECIPE& recipe) {
    std::vector<float> mix(SampleCount(EffectLength(recipe)), 0.0f);
    for (size_t n = 0; n < recipe.Voices.size(); ++n) {
        // Each voice gets its own noise stream, derived from the effect's seed.
        const uint32_t seed = recipe.Seed * 2654435761u + static_cast<uint32_t>(n) * 40503u + 1u;
        std::vector<float> voice = RenderVoice(recipe.Voices[n], seed);
        for (size_t i = 0; i < voice.size(); ++i) {
            mix[i] += voice[i];
        }
    }
    // A gentle high-pass removes any offset the square waves and filters left behind,
    // and the last few milliseconds fade out so the end never clicks.
    const size_t fade = std::min<size_t>(mix.size(), SAMPLE_RATE / 200);
    double previousIn = 0, previousOut = 0, peak = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        double x = mix[i] - previousIn + 0.9985 * previousOut;
        previousIn = mix[i];
        previousOut = x;
        const size_t left = mix.size() - i;
        if (left <= fade) {
            x *= static_cast<double>(left - 1) / static_cast<double>(fade);
        }
        mix[i] = static_cast<float>(x);
        peak = std::max(peak, std::fabs(x));
    }
    if (peak > 0) {
        const double gain = EFFECT_PEAK / peak;
        for (float& x : mix) {
            x = static_cast<float>(x * gain);
        }
    }
    return mix;
}

}  // namespace audio
