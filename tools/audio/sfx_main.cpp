// vortigan_sfx RECIPES OUTPUT_DIR
//
// Renders every effect of the recipe file into OUTPUT_DIR/NAME.wav.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/audio/effect_synth.h"
#include "tools/audio/wav_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vortigan_sfx RECIPES OUTPUT_DIR\n");
        return 2;
    }
    try {
        const std::filesystem::path recipes = argv[1];
        const std::filesystem::path outDir = argv[2];
        std::filesystem::create_directories(outDir);
        const auto effects =
            audio::ParseEffects(audio::ReadTextFile(recipes.string()), recipes.filename().string());
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
