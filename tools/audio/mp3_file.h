// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// MP3 encoding through LAME, and decoding back for checks.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

// Encodes interleaved 16-bit stereo at 44.1 kHz as constant-bit-rate MPEG-1 Layer III.
// The first frame carries LAME's info tag with the encoder delay, so players that
// honour it start exactly on the first sample. Throws std::runtime_error on failure.
std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& stereo, int kbps);

// Decodes a whole MP3 to interleaved 16-bit stereo, as long as what was encoded: the
// encoder's delay and padding, where an info tag tells them, are cut off. Throws
// std::runtime_error when the data does not decode.
std::vector<int16_t> DecodeMp3(const std::vector<uint8_t>& mp3);

}  // namespace audio
