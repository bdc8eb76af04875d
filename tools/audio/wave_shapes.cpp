#include "tools/audio/wave_shapes.h"

namespace audio {

bool ParseWave(const std::string& name, WAVE& wave) {
    if (name == "square") {
        wave = WAVE::SQUARE;
    } else if (name == "saw") {
        wave = WAVE::SAW;
    } else if (name == "sine") {
        wave = WAVE::SINE;
    } else if (name == "noise") {
        wave = WAVE::NOISE;
    } else if (name == "triangle") {
        wave = WAVE::TRIANGLE;
    } else {
        return false;
    }
    return true;
}

}  // namespace audio
