// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// vortigan_sfx RECIPES OUTPUT_DIR [NAME...]
//
// Renders every effect of the recipe file into OUTPUT_DIR/NAME.wav. When names are
// given, the recipe file must hold exactly those effects: the build lists the files
// the game loads, and a missing or misspelt recipe fails here instead of leaving a
// stale or absent file behind.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "tools/audio/effect_synth.h"
#include "tools/audio/wav_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vortigan_sfx RECIPES OUTPUT_DIR [NAME...]\n");
        return 2;
    }
    try {
        const std::filesystem::path recipes = argv[1];
        const std::filesystem::path outDir = argv[2];
        const auto effects =
            audio::ParseEffects(audio::ReadTextFile(recipes.string()), recipes.filename().string());
        if (argc > 3) {
            std::set<std::string> wanted(argv + 3, argv + argc);
            for (const audio::EFFECT_RECIPE& effect : effects) {
                if (wanted.erase(effect.Name) == 0) {
                    throw std::runtime_error(recipes.filename().string() + ":" +
                                             std::to_string(effect.Line) + ": effect '" +
                                             effect.Name + "' is not one the game loads");
                }
            }
            if (!wanted.empty()) {
                throw std::runtime_error("no recipe for '" + *wanted.begin() + "'");
            }
        }
        std::filesystem::create_directories(outDir);
        for (const audio::EFFECT_RECIPE& effect : effects) {
            const auto samples = audio::RenderEffect(effect);
            audio::WriteFile((outDir / (effect.Name + ".wav")).string(),
                             audio::WavBytes(audio::ToPcm16(samples), 1, audio::SAMPLE_RATE));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vortigan_sfx: %s\n", e.what());
        return 1;
    }
    return 0;
}
