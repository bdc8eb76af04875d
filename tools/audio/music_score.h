// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Music scores: instruments, patterns of notes and the song order.
//
// A score file reads top to bottom:
//
//     tempo 120              beats per minute
//     beats 4                beats in a bar
//     seed 7                 seeds the noise of the drums
//     echo 0.75 0.35         echo time in beats, and how much of it comes back
//     tail 2                 seconds left to ring out after the last bar (0 for loops)
//
//     instrument NAME        starts an instrument; settings follow, one per line
//       wave saw
//       ...
//
//     pattern NAME BARS      starts a pattern of that many bars; then one line or
//       NAME TOKEN...        more per instrument, continued by repeating its name
//
//     song NAME NAME*2 ...   the order the patterns play in (several lines append)
//
// Pattern tokens are spread evenly over the pattern, so 16 tokens to a bar are
// sixteenth notes and 8 are eighths:
//
//     C4  F#5  Bb3           a note; it sounds until the next note or rest
//     C4+E4+G4               several notes at once
//     G3:maj  A3:m7          a chord named by root and kind
//     -                      holds the note before
//     .                      a rest
//     x X o                  a drum hit: normal, accented, soft
//     |                      a bar line; where used, every bar must have the same count
//     %                      between bar lines: the bar before, again
//
// A note never outlasts its pattern.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/audio/wave_shapes.h"

namespace audio {

enum class DRUM { NONE, KICK, SNARE, CLAP, HAT, OPEN_HAT, CRASH, TOM };

struct INSTRUMENT {
    std::string Name;
    int Line = 0;
    DRUM Drum = DRUM::NONE;  // NONE: a pitched instrument
    WAVE Wave = WAVE::SQUARE;
    double Duty = 0.5;
    double Attack = 0.005;  // seconds
    double Decay = 0.1;     // seconds, from the peak down to the sustain level
    double Sustain = 0.7;   // level held while the note lasts, 0..1
    double Release = 0.1;   // seconds, after the note ends
    double Volume = 0.5;
    double Pan = 0;                                               // -1 left .. 1 right
    int Octave = 0;                                               // shifts every note
    double VibratoDepth = 0, VibratoSpeed = 5, VibratoDelay = 0;  // semitones, Hz, seconds
    double LowPass = 0, Resonance = 0;                            // cut-off Hz (0 = open), 0..0.95
    double FilterEnvelope = 0, FilterTime = 0.1;  // extra octaves at the note's start, fading
    double Detune = 0;                            // cents: adds two voices, spread left and right
    double FmRatio = 0, FmDepth = 0, FmTime = 0;  // sine carriers: modulator ratio, index, fade
    double Glide = 0;                             // seconds to slide from the note before
    double Echo = 0;                              // send to the echo, 0..1
};

struct PATTERN_NOTE {
    int Instrument = 0;
    double Start = 0;          // in bars from the pattern's start
    double Length = 0;         // in bars
    std::vector<int> Pitches;  // MIDI numbers (60 = C4); empty for a plain drum hit
    double Velocity = 1;
};

struct PATTERN {
    std::string Name;
    int Line = 0;
    int Bars = 1;
    std::vector<PATTERN_NOTE> Notes;
};

struct SCORE {
    double Tempo = 120;
    int Beats = 4;
    uint32_t Seed = 1;
    double EchoBeats = 0.75, EchoFeedback = 0.3;
    double Tail = 0;
    std::vector<INSTRUMENT> Instruments;
    std::vector<PATTERN> Patterns;
    std::vector<int> Order;  // indices into Patterns

    double BarSeconds() const { return Beats * 60.0 / Tempo; }
    int SongBars() const;
    double Length() const { return SongBars() * BarSeconds() + Tail; }
};

// Throws PARSE_ERROR naming the line at fault.
SCORE ParseScore(const std::string& text, const std::string& fileName);

// Reads a note name ("C4", "F#5", "Bb3") as a MIDI number; false when it is not one.
bool ParseNoteName(const std::string& word, int& midi);

}  // namespace audio
