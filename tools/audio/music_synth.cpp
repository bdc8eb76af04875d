// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/audio/music_synth.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr double PI = TWO_PI / 2;
constexpr double MIN_ATTACK = 0.002;   // anything quicker clicks
constexpr double MIN_RELEASE = 0.005;  // likewise
constexpr double TAIL_FADE = 1.0;      // at most this much of a tail is faded out
constexpr double START_FADE = 0.004;   // and this much faded in at the start
constexpr double LOOP_SPILL = 4.0;     // seconds a loop's last notes may ring on

size_t Samples(double seconds) {
    return static_cast<size_t>(std::lround(std::max(0.0, seconds) * SAMPLE_RATE));
}

double MidiFrequency(double midi) {
    return 440.0 * std::exp2((midi - 69.0) / 12.0);
}

// Highest oscillator step: 18 kHz, just under the top of the band.
constexpr double MAX_STEP = 18000.0 / SAMPLE_RATE;

// sin(2 pi x) for x in turns, from a table: the oscillators call it for every sample of
// every voice, and the library sine would be most of the render time.
double SineTurns(double x) {
    constexpr int SIZE = 4096;
    static const std::vector<double> TABLE = [] {
        std::vector<double> table(SIZE + 1);
        for (int i = 0; i <= SIZE; ++i) {
            table[i] = std::sin(TWO_PI * i / SIZE);
        }
        return table;
    }();
    const double at = (x - std::floor(x)) * SIZE;
    const int i = std::min(static_cast<int>(at), SIZE - 1);
    const double f = at - i;
    return TABLE[i] + (TABLE[i + 1] - TABLE[i]) * f;
}

// A state-variable filter in the form that stays stable at every cut-off.
class FILTER {
public:
    void Set(double cutoff, double resonance) {
        const double g = std::tan(PI * std::clamp(cutoff, 10.0, 0.45 * SAMPLE_RATE) / SAMPLE_RATE);
        K = 1.4142 * (1.0 - resonance) + 0.05;
        A1 = 1.0 / (1.0 + g * (g + K));
        A2 = g * A1;
        A3 = g * A2;
    }
    // Returns the low-pass output; band and high-pass outputs are kept for the drums.
    double Process(double x) {
        const double v3 = x - Ic2;
        const double v1 = A1 * Ic1 + A2 * v3;
        const double v2 = Ic2 + A2 * Ic1 + A3 * v3;
        Ic1 = 2 * v1 - Ic1;
        Ic2 = 2 * v2 - Ic2;
        Band = v1;
        High = x - K * v1 - v2;
        return v2;
    }
    double Band = 0, High = 0;

private:
    double K = 1.4, A1 = 0, A2 = 0, A3 = 0, Ic1 = 0, Ic2 = 0;
};

double Oscillator(WAVE wave, double phase, double dt, double duty, RANDOM& random) {
    switch (wave) {
        case WAVE::SAW:
            return BandLimitedSaw(phase, dt);
        case WAVE::SQUARE:
            return BandLimitedPulse(phase, dt, duty);
        case WAVE::TRIANGLE:
            return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        case WAVE::NOISE:
            return random.Bipolar();
        case WAVE::SINE:
        default:
            return SineTurns(phase);
    }
}

// The six detuned squares of a metal cymbal, high-passed, for the hats and the crash.
double Metal(double t) {
    static const double PARTIALS[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0;
    for (double f : PARTIALS) {
        sum += std::fmod(t * f * 1.7, 1.0) < 0.5 ? 1.0 : -1.0;
    }
    return sum / 6.0;
}

struct NOTE_EVENT {
    const INSTRUMENT* Instrument;
    double Start;  // seconds
    double Gate;   // seconds held
    std::vector<int> Pitches;
    double Velocity;
    double FromPitch;  // where a glide starts; NAN for none
};

void RenderPitched(const NOTE_EVENT& note, uint32_t seed, std::vector<float>& left,
                   std::vector<float>& right, std::vector<float>& send) {
    const INSTRUMENT& in = *note.Instrument;
    const size_t start = Samples(note.Start);
    const size_t count = std::min(Samples(NoteSeconds(in, note.Gate)),
                                  left.size() > start ? left.size() - start : 0);
    if (count == 0) {
        return;
    }
    std::vector<double> l(count, 0.0), r(count, 0.0);
    RANDOM random(seed);

    struct VOICE {
        double Cents, Pan, Level;
    };
    std::vector<VOICE> voices = {{0.0, in.Pan, 1.0}};
    if (in.Detune > 0) {
        voices = {{0.0, in.Pan, 0.6},
                  {in.Detune, std::clamp(in.Pan + 0.6, -1.0, 1.0), 0.5},
                  {-in.Detune, std::clamp(in.Pan - 0.6, -1.0, 1.0), 0.5}};
    }
    const double chordGain = 1.0 / std::sqrt(static_cast<double>(note.Pitches.size()));
    const double dt = 1.0 / SAMPLE_RATE;

    // Glide and vibrato bend every voice alike, and the FM index fades alike, so they
    // are worked out once per note: bend[i] multiplies the frequency of sample i.
    const double basePitch = note.Pitches[0] + 12.0 * in.Octave;
    const double from =
        std::isnan(note.FromPitch) || in.Glide <= 0 ? basePitch : note.FromPitch + 12.0 * in.Octave;
    const bool bends = from != basePitch || in.VibratoDepth > 0;
    std::vector<double> bend(bends ? count : 0, 1.0);
    for (size_t i = 0; i < bend.size(); ++i) {
        const double t = static_cast<double>(i) * dt;
        double semitones = 0;
        if (t < in.Glide) {
            semitones += (from - basePitch) * (1.0 - t / in.Glide);
        }
        if (in.VibratoDepth > 0 && t > in.VibratoDelay) {
            const double ramp = std::min(1.0, (t - in.VibratoDelay) / 0.25);
            semitones += ramp * in.VibratoDepth * SineTurns(in.VibratoSpeed * t);
        }
        bend[i] = std::exp2(semitones / 12.0);
    }
    const bool fm = in.FmDepth > 0 && in.Wave == WAVE::SINE;
    std::vector<double> fmIndex(fm ? count : 0, in.FmDepth / TWO_PI);  // in turns
    if (fm && in.FmTime > 0) {
        for (size_t i = 0; i < count; ++i) {
            fmIndex[i] *= std::exp(-static_cast<double>(i) * dt / in.FmTime);
        }
    }

    for (size_t p = 0; p < note.Pitches.size(); ++p) {
        const double pitch = note.Pitches[p] + 12.0 * in.Octave;
        for (size_t v = 0; v < voices.size(); ++v) {
            const VOICE& voice = voices[v];
            const double angle = (voice.Pan + 1.0) * PI / 4.0;
            const double gainL = std::cos(angle) * voice.Level * chordGain;
            const double gainR = std::sin(angle) * voice.Level * chordGain;
            const double baseStep = MidiFrequency(pitch + voice.Cents / 100.0) * dt;
            double phase = 0.29 * static_cast<double>(v + p);
            phase -= std::floor(phase);
            double fmPhase = 0;
            for (size_t i = 0; i < count; ++i) {
                const double step = std::min(bends ? baseStep * bend[i] : baseStep, MAX_STEP);
                double x;
                if (fm) {
                    x = SineTurns(phase + fmIndex[i] * SineTurns(fmPhase));
                    fmPhase += step * in.FmRatio;
                    fmPhase -= std::floor(fmPhase);
                } else {
                    x = Oscillator(in.Wave, phase, step, in.Duty, random);
                }
                phase += step;
                phase -= std::floor(phase);
                l[i] += x * gainL;
                r[i] += x * gainR;
            }
        }
    }

    FILTER filterL, filterR;
    const double level = in.Volume * note.Velocity;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) * dt;
        if (in.LowPass > 0 && (i % 32 == 0)) {
            const double cutoff =
                in.LowPass * std::exp2(in.FilterEnvelope * std::exp(-t / in.FilterTime));
            filterL.Set(cutoff, in.Resonance);
            filterR.Set(cutoff, in.Resonance);
        }
        double xl = l[i], xr = r[i];
        if (in.LowPass > 0) {
            xl = filterL.Process(xl);
            xr = filterR.Process(xr);
        }
        const double envelope = EnvelopeLevel(in, note.Gate, t) * level;
        xl *= envelope;
        xr *= envelope;
        left[start + i] += static_cast<float>(xl);
        right[start + i] += static_cast<float>(xr);
        send[start + i] += static_cast<float>(0.5 * (xl + xr) * in.Echo);
    }
}

// Echo bouncing between the two sides, a little darker on every repeat. A loop runs
// it twice round and keeps the second pass, so the echoes of the last bars carry on
// into the first ones as they will when the track repeats.
void AddEcho(const SCORE& score, bool loop, std::vector<float>& left, std::vector<float>& right,
             const std::vector<float>& send) {
    const size_t delay = std::max<size_t>(1, Samples(score.EchoBeats * 60.0 / score.Tempo));
    std::vector<double> bufferL(delay, 0.0), bufferR(delay, 0.0);
    double dampL = 0, dampR = 0;
    size_t at = 0;
    for (int pass = loop ? 0 : 1; pass < 2; ++pass) {
        for (size_t i = 0; i < left.size(); ++i) {
            const double outL = bufferL[at];
            const double outR = bufferR[at];
            dampL += 0.35 * (outL - dampL);
            dampR += 0.35 * (outR - dampR);
            bufferL[at] = send[i] + score.EchoFeedback * dampR;
            bufferR[at] = score.EchoFeedback * dampL;
            if (pass == 1) {
                left[i] += static_cast<float>(outL);
                right[i] += static_cast<float>(outR);
            }
            at = at + 1 == delay ? 0 : at + 1;
        }
    }
}

}  // namespace

double EnvelopeLevel(const INSTRUMENT& in, double gate, double t) {
    const double attack = std::max(in.Attack, MIN_ATTACK);
    const double release = std::max(in.Release, MIN_RELEASE);
    auto held = [&](double s) {
        if (s < 0) {
            return 0.0;
        }
        if (s < attack) {
            return s / attack;
        }
        if (in.Decay <= 0) {
            return in.Sustain;
        }
        return in.Sustain + (1.0 - in.Sustain) * std::exp(-3.0 * (s - attack) / in.Decay);
    };
    if (t < gate) {
        return held(t);
    }
    const double x = (t - gate) / release;
    if (x >= 1.0) {
        return 0.0;
    }
    return held(gate) * (1.0 - x) * (1.0 - x);
}

double NoteSeconds(const INSTRUMENT& in, double gate) {
    return std::max(gate, 0.0) + std::max(in.Release, MIN_RELEASE);
}

std::vector<float> RenderDrum(DRUM drum, double velocity, double frequency, uint32_t seed) {
    double length = 0.3;
    switch (drum) {
        case DRUM::KICK:
            length = 0.45;
            break;
        case DRUM::OPEN_HAT:
            length = 0.5;
            break;
        case DRUM::HAT:
            length = 0.1;
            break;
        case DRUM::CRASH:
            length = 2.2;
            break;
        case DRUM::TOM:
            length = 0.5;
            break;
        default:
            break;
    }
    std::vector<float> out(Samples(length), 0.0f);
    RANDOM random(seed);
    FILTER a, b;
    double phase = 0;
    const double dt = 1.0 / SAMPLE_RATE;
    switch (drum) {
        case DRUM::HAT:
        case DRUM::OPEN_HAT:
            a.Set(7500, 0.2);
            b.Set(7500, 0.2);
            break;
        case DRUM::CRASH:
            a.Set(4500, 0.1);
            b.Set(4500, 0.1);
            break;
        case DRUM::SNARE:
            a.Set(1800, 0.1);
            break;
        case DRUM::CLAP:
            a.Set(1400, 0.6);
            break;
        default:
            a.Set(2500, 0.0);
            break;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) * dt;
        const double noise = random.Bipolar();
        double x = 0;
        switch (drum) {
            case DRUM::KICK: {
                const double f = 46.0 + 125.0 * std::exp(-t / 0.032);
                phase += f * dt;
                const double body = std::sin(TWO_PI * phase) * std::exp(-t / 0.2);
                const double click = a.Process(noise) * std::exp(-t / 0.004) * 0.5;
                x = std::tanh(1.6 * (body + click)) / std::tanh(1.6);
                break;
            }
            case DRUM::SNARE: {
                const double f = 178.0 + 70.0 * std::exp(-t / 0.02);
                phase += f * dt;
                const double tone = std::sin(TWO_PI * phase) * std::exp(-t / 0.055) * 0.7;
                a.Process(noise);
                const double rattle = (a.High * 0.8 + noise * 0.25) * std::exp(-t / 0.09);
                x = tone + rattle;
                break;
            }
            case DRUM::CLAP: {
                a.Process(noise);
                double env = std::exp(-(t - 0.03) / 0.08) * (t >= 0.03 ? 1.0 : 0.0);
                for (double burst : {0.0, 0.011, 0.022}) {
                    if (t >= burst && t < 0.03) {
                        env = std::max(env, std::exp(-(t - burst) / 0.005));
                    }
                }
                x = a.Band * 2.2 * env;
                break;
            }
            case DRUM::HAT:
            case DRUM::OPEN_HAT:
            case DRUM::CRASH: {
                const double metal = Metal(t) * (drum == DRUM::CRASH ? 0.5 : 0.7) + noise * 0.5;
                a.Process(metal);
                b.Process(a.High);
                const double decay = drum == DRUM::HAT        ? 0.022
                                     : drum == DRUM::OPEN_HAT ? 0.16
                                                              : 0.55;
                x = b.High * std::exp(-t / decay) * 1.6;
                break;
            }
            case DRUM::TOM: {
                const double base = frequency > 0 ? frequency : 110.0;
                const double f = base * (1.0 + 0.6 * std::exp(-t / 0.04));
                phase += f * dt;
                x = std::sin(TWO_PI * phase) * std::exp(-t / 0.16) +
                    a.Process(noise) * std::exp(-t / 0.01) * 0.3;
                break;
            }
            case DRUM::NONE:
                break;
        }
        // Fade the last few milliseconds so a cut-off tail never clicks.
        const double left = length - t;
        if (left < 0.005) {
            x *= left / 0.005;
        }
        if (t < 0.0005) {
            x *= t / 0.0005;
        }
        out[i] = static_cast<float>(x * velocity);
    }
    return out;
}

std::vector<float> RenderSong(const SCORE& score) {
    // A track with a tail plays once and rings out; one without is a loop, whose notes
    // ringing past its end are laid over its start, where they sound when it repeats.
    const bool loop = score.Tail <= 0;
    const size_t total = Samples(score.Length());
    const size_t spill = loop ? Samples(LOOP_SPILL) : 0;
    std::vector<float> left(total + spill, 0.0f), right(total + spill, 0.0f),
        send(total + spill, 0.0f);

    // Lay the patterns end to end.
    std::vector<NOTE_EVENT> events;
    std::vector<double> lastPitch(score.Instruments.size(), NAN);
    int bar = 0;
    for (int p : score.Order) {
        const PATTERN& pattern = score.Patterns[p];
        for (const PATTERN_NOTE& n : pattern.Notes) {
            const INSTRUMENT& in = score.Instruments[n.Instrument];
            NOTE_EVENT e{&in,
                         (bar + n.Start) * score.BarSeconds(),
                         n.Length * score.BarSeconds(),
                         n.Pitches,
                         n.Velocity,
                         lastPitch[n.Instrument]};
            if (!n.Pitches.empty()) {
                lastPitch[n.Instrument] = n.Pitches[0];
            }
            events.push_back(std::move(e));
        }
        bar += pattern.Bars;
    }

    for (size_t n = 0; n < events.size(); ++n) {
        const NOTE_EVENT& e = events[n];
        const uint32_t seed =
            score.Seed * 2654435761u + static_cast<uint32_t>(n) * 2246822519u + 1u;
        if (e.Instrument->Drum == DRUM::NONE) {
            RenderPitched(e, seed, left, right, send);
            continue;
        }
        const double frequency = e.Pitches.empty() ? 0.0 : MidiFrequency(e.Pitches[0]);
        const std::vector<float> hit =
            RenderDrum(e.Instrument->Drum, e.Velocity * e.Instrument->Volume, frequency, seed);
        const size_t start = Samples(e.Start);
        const double angle = (e.Instrument->Pan + 1.0) * PI / 4.0;
        const double gainL = std::cos(angle) * std::sqrt(2.0);
        const double gainR = std::sin(angle) * std::sqrt(2.0);
        for (size_t i = 0; i < hit.size() && start + i < left.size(); ++i) {
            left[start + i] += static_cast<float>(hit[i] * gainL);
            right[start + i] += static_cast<float>(hit[i] * gainR);
            send[start + i] += static_cast<float>(hit[i] * e.Instrument->Echo);
        }
    }
    for (size_t i = total; i < left.size(); ++i) {
        left[i - total] += left[i];
        right[i - total] += right[i];
        send[i - total] += send[i];
    }
    left.resize(total);
    right.resize(total);
    send.resize(total);
    AddEcho(score, loop, left, right, send);

    // Take out any offset (a loop primes the filter with one pass so that its start
    // matches its end), and bring the peak to MUSIC_PEAK. A track that plays once fades
    // in and out just enough not to click; a loop is not faded at all, since the mixer
    // runs its end straight on into its start and any dip there would be heard.
    double inL = 0, inR = 0, outL = 0, outR = 0;
    auto blockOffset = [&](size_t i) {
        outL = left[i] - inL + 0.9979 * outL;
        outR = right[i] - inR + 0.9979 * outR;
        inL = left[i];
        inR = right[i];
    };
    if (loop) {
        for (size_t i = 0; i < total; ++i) {
            blockOffset(i);
        }
    }
    const size_t fadeIn = loop ? 0 : std::min(total, Samples(START_FADE));
    const size_t fadeOut = loop ? 0 : std::min(total, Samples(std::min(score.Tail, TAIL_FADE)));
    std::vector<float> out(total * 2);
    double peak = 0;
    for (size_t i = 0; i < total; ++i) {
        blockOffset(i);
        double gain = 1.0;
        if (i < fadeIn) {
            gain = static_cast<double>(i) / static_cast<double>(fadeIn);
        }
        if (total - i <= fadeOut) {
            const double x = static_cast<double>(total - i - 1) / static_cast<double>(fadeOut);
            gain *= x * x;
        }
        out[2 * i] = static_cast<float>(outL * gain);
        out[2 * i + 1] = static_cast<float>(outR * gain);
        peak = std::max({peak, std::fabs(outL * gain), std::fabs(outR * gain)});
    }
    if (peak > 0) {
        const double gain = MUSIC_PEAK / peak;
        for (float& x : out) {
            x = static_cast<float>(x * gain);
        }
    }
    return out;
}

}  // namespace audio
