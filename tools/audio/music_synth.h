// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The music synthesiser: renders a SCORE to 44.1 kHz stereo.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/audio/music_score.h"

namespace audio {

// Peak level of a finished track. It leaves room for the MP3 encoder, whose output can
// overshoot the samples it was given by a little.
constexpr double MUSIC_PEAK = 0.84;

// Level of an instrument's envelope t seconds into a note held for gate seconds.
double EnvelopeLevel(const INSTRUMENT& instrument, double gate, double t);

// How long a note held for gate seconds sounds, release included.
double NoteSeconds(const INSTRUMENT& instrument, double gate);

// One drum hit, mono, at SAMPLE_RATE. frequency tunes the toms (0: their own pitch).
std::vector<float> RenderDrum(DRUM drum, double velocity, double frequency, uint32_t seed);

// The whole song, interleaved left/right, normalised to MUSIC_PEAK; it lasts exactly
// score.Length(). A song with a tail rings out and fades to silence. A song without
// one is a loop: what rings past its last bar is laid over its first, so that played
// again and again, its end running straight on into its start, it joins without a
// seam. A loop is not faded at either end.
std::vector<float> RenderSong(const SCORE& score);

}  // namespace audio
