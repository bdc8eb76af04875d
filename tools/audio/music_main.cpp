// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// vortigan_music SCORE OUTPUT.mp3 [PREVIEW.wav]
//
// Renders one score and encodes it at 128 kbps; the optional WAV holds the same
// samples before encoding, for listening and measuring.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/audio/mp3_file.h"
#include "tools/audio/music_score.h"
#include "tools/audio/music_synth.h"
#include "tools/audio/text_lines.h"
#include "tools/audio/wav_file.h"

namespace {
constexpr int MUSIC_KBPS = 128;
}

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: vortigan_music SCORE OUTPUT.mp3 [PREVIEW.wav]\n");
        return 2;
    }
    try {
        const std::filesystem::path scorePath = argv[1];
        const std::filesystem::path outPath = argv[2];
        const audio::SCORE score = audio::ParseScore(audio::ReadTextFile(scorePath.string()),
                                                     scorePath.filename().string());
        const std::vector<int16_t> pcm = audio::ToPcm16(audio::RenderSong(score));
        if (outPath.has_parent_path()) {
            std::filesystem::create_directories(outPath.parent_path());
        }
        audio::WriteFile(outPath.string(), audio::EncodeMp3(pcm, MUSIC_KBPS));
        if (argc == 4) {
            audio::WriteFile(argv[3], audio::WavBytes(pcm, 2, audio::SAMPLE_RATE));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vortigan_music: %s\n", e.what());
        return 1;
    }
    return 0;
}
