// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writing 16-bit PCM WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// Rounds samples in -1..1 to 16-bit values, clamping anything outside.
std::vector<int16_t> ToPcm16(const std::vector<float>& samples);

// The bytes of a RIFF/WAVE file holding interleaved 16-bit samples.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int channels, int rate);

// Writes bytes to path; throws std::runtime_error on failure.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace audio
