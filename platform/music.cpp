#include "platform/music.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/mixer.h"

namespace {

// Counts what the mixer plays of a track; runs on the audio thread.
void CountPlayed(int, void*, int length, void* counter) {
    static_cast<std::atomic<long long>*>(counter)->fetch_add(length);
}

// Hundredths of a decibel to a mixer volume (full scale at 0).
int MixVolume(int centibels) {
    double gain = std::min(1.0, std::pow(10.0, centibels / 2000.0));
    return int(std::lround(gain * MIX_MAX_VOLUME));
}

}  // namespace

MUSIC::~MUSIC() {
    Release();
}

void MUSIC::Load(const std::string& path) {
    Release();
    Chunk = MIXER::Load(path.c_str());
    if (!Chunk) {
        return;
    }
    Channel = MIXER::TakeTrackChannel();
    if (Channel < 0) {
        MIXER::Free(Chunk);
        Chunk = nullptr;
        return;
    }
    // Parked at the end until the first Play.
    Played = std::make_shared<std::atomic<long long>>(Chunk->alen);
}

// A track outliving the mixer (at shutdown) keeps quiet.
bool MUSIC::Audible() const {
    return Chunk && MIXER::IsOpen();
}

void MUSIC::Play() {
    if (!Audible()) {
        return;
    }
    // Unregister first: the counter must be ours alone before it restarts.
    Mix_HaltChannel(Channel);
    Mix_UnregisterAllEffects(Channel);
    Played->store(0);
    if (Mix_PlayChannel(Channel, Chunk, 0) < 0) {
        Played->store(Chunk->alen);
        return;
    }
    Mix_RegisterEffect(Channel, CountPlayed, nullptr, Played.get());
    ApplyBalance();
}

void MUSIC::Stop() {
    if (!Audible()) {
        return;
    }
    Mix_HaltChannel(Channel);
    Mix_UnregisterAllEffects(Channel);
    Played->store(Chunk->alen);
}

bool MUSIC::IsPlaying() {
    return Audible() && Mix_Playing(Channel) && Mix_GetChunk(Channel) == Chunk;
}

void MUSIC::SetVolume(float volume) {
    if (!Audible()) {
        return;
    }
    float v = std::clamp(volume, 0.0f, 1.0f);
    int centibels = int(std::trunc((1.0 - std::sqrt(double(v))) * -10000.0));
    Mix_Volume(Channel, MixVolume(centibels));
}

void MUSIC::SetBalance(float balance) {
    Balance = std::clamp(balance, -1.0f, 1.0f);
    if (Audible() && Mix_Playing(Channel)) {
        ApplyBalance();
    }
}

void MUSIC::ApplyBalance() {
    // The side away from the balance is turned down, the other stays full.
    int centibels = int(std::trunc(Balance * 10000.0f));
    int left = 255;
    int right = 255;
    if (centibels > 0) {
        left = MixVolume(-centibels) * 255 / MIX_MAX_VOLUME;
    } else if (centibels < 0) {
        right = MixVolume(centibels) * 255 / MIX_MAX_VOLUME;
    }
    Mix_SetPanning(Channel, Uint8(left), Uint8(right));
}

void MUSIC::Release() {
    if (Chunk) {
        MIXER::GiveBackTrackChannel(Channel);
        MIXER::Free(Chunk);
    }
    Chunk = nullptr;
    Channel = -1;
    Played.reset();
}

double MUSIC::Duration() const {
    return Chunk ? double(Chunk->alen) / MIXER::BytesPerSecond() : 0.0;
}

double MUSIC::Position() const {
    if (!Chunk) {
        return 0.0;
    }
    double played = double(std::min<long long>(Played->load(), Chunk->alen));
    return played / MIXER::BytesPerSecond();
}
