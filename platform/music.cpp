// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "platform/data_file.h"
#include "platform/mixer.h"

namespace {

// Counts what the mixer plays of a track; runs on the audio thread.
void CountPlayed(int, void*, int length, void* counter) {
    static_cast<std::atomic<long long>*>(counter)->fetch_add(length);
}

// Decodes running, and the mixer's generation: closing the mixer moves it
// on, which cuts every decode of the old mixer short.
std::mutex DecodesLock;
std::condition_variable DecodesDone;
int DecodesRunning = 0;
std::atomic<unsigned> Generation{0};

// The MP3 decoder SDL_mixer itself plays MP3s with, called directly: the
// mixer's own loader holds the audio device locked for a whole decode,
// which would stall every sound and every mixer call for as long. Set up
// once, when first needed; should that fail, tracks load through the mixer.
bool DecoderReady() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

// What the mixer takes as an MP3, by the file's first bytes: an ID3 tag or
// an MPEG audio frame header.
bool LooksLikeMp3(const std::string& bytes) {
    if (bytes.size() >= 3 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') {
        return true;
    }
    return bytes.size() >= 2 && Uint8(bytes[0]) == 0xFF && (Uint8(bytes[1]) & 0xE0) == 0xE0;
}

// The mixer's output format, for the decoded tracks to match.
struct MIX_FORMAT {
    int Frequency = 44100;  // Hz
    Uint16 Format = AUDIO_S16SYS;
    int Channels = 2;
};

// Decodes a whole MP3 into a mixer chunk of the mixer's format; null when
// nothing decodes or `stop` turns true on the way.
Mix_Chunk* DecodeMp3(const std::string& bytes, MIX_FORMAT mix, const std::function<bool()>& stop) {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (!handle) {
        return nullptr;
    }
    // 16-bit samples at whatever rate and channel count the file has; SDL
    // converts them to the mixer's afterwards.
    static const long RATES[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    mpg123_format_none(handle);
    // The encoder's delay and the padding of the last frame, which the
    // file's LAME tag tells, are cut off: left in, they would be a silence
    // at every turn of a looping track. Most builds of the decoder do so
    // anyway; this makes sure.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    for (long rate : RATES) {
        mpg123_format(handle, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    // The samples grow in one SDL buffer that becomes the chunk's own, so a
    // track is never held twice over while it decodes.
    Uint8* pcm = nullptr;
    size_t length = 0;    // bytes decoded
    size_t capacity = 0;  // bytes held
    long rate = 0;
    int channels = 0;
    bool failed = mpg123_open_feed(handle) != MPG123_OK;
    constexpr size_t PIECE = 16384;  // bytes fed at a time
    constexpr size_t GROWTH = 1 << 20;
    for (size_t at = 0; !failed && at < bytes.size() && !stop(); at += PIECE) {
        size_t count = std::min(PIECE, bytes.size() - at);
        if (mpg123_feed(handle, reinterpret_cast<const unsigned char*>(bytes.data()) + at, count) !=
            MPG123_OK) {
            failed = true;
            break;
        }
        for (;;) {
            if (capacity - length < GROWTH / 4) {
                auto* grown = static_cast<Uint8*>(SDL_realloc(pcm, capacity + GROWTH));
                if (!grown) {
                    failed = true;
                    break;
                }
                pcm = grown;
                capacity += GROWTH;
            }
            size_t done = 0;
            int result = mpg123_read(handle, pcm + length, capacity - length, &done);
            length += done;
            if (result == MPG123_NEW_FORMAT) {
                int encoding = 0;
                mpg123_getformat(handle, &rate, &channels, &encoding);
                continue;
            }
            if (result == MPG123_OK) {
                continue;
            }
            // Wants more input, or the stream ended; anything else is damage
            // that the decoder steps over, as the mixer's own loader does.
            break;
        }
    }
    mpg123_delete(handle);
    SDL_AudioCVT cvt;
    if (failed || stop() || length == 0 || rate <= 0 || channels <= 0 ||
        SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, Uint8(channels), int(rate), mix.Format,
                          Uint8(mix.Channels), mix.Frequency) < 0) {
        SDL_free(pcm);
        return nullptr;
    }
    length -= length % size_t(2 * channels);  // whole sample frames only
    if (length == 0) {
        SDL_free(pcm);
        return nullptr;
    }
    if (cvt.needed) {
        auto* room = static_cast<Uint8*>(
            SDL_realloc(pcm, std::max(capacity, length * size_t(std::max(cvt.len_mult, 1)))));
        if (!room) {
            SDL_free(pcm);
            return nullptr;
        }
        pcm = room;
        cvt.buf = pcm;
        cvt.len = int(length);
        if (SDL_ConvertAudio(&cvt) != 0) {
            SDL_free(pcm);
            return nullptr;
        }
        length = size_t(cvt.len_cvt);
    }
    // Trimmed to what it holds.
    if (auto* trimmed = static_cast<Uint8*>(SDL_realloc(pcm, length))) {
        pcm = trimmed;
    }
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(pcm, Uint32(length));
    if (!chunk) {
        SDL_free(pcm);
        return nullptr;
    }
    chunk->allocated = 1;  // the buffer goes with the chunk when it is freed
    return chunk;
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

bool MUSIC::Load(const std::string& path) {
    Release();
    // A tune that is no plain file, is far too large or fails part-way
    // through is silent, as a missing one is.
    std::string bytes;
    if (!MIXER::Open() || FILES::Read(path, FILES::KIND::TUNE, &bytes) != FILES::RESULT::OK) {
        return false;
    }
    if (!LooksLikeMp3(bytes) || !DecoderReady()) {
        // Anything but an MP3 loads through the mixer at once, as it always
        // did: quick for a plain wave, and a damaged file is known to be
        // silent straight away.
        Chunk = MIXER::LoadFromMemory(bytes);
        if (!Chunk) {
            return false;
        }
        Channel = MIXER::TakeTrackChannel();
        if (Channel < 0) {
            MIXER::Free(Chunk);
            Chunk = nullptr;
            return false;
        }
        // Parked at the end until the first Play.
        Played = std::make_shared<std::atomic<long long>>(Chunk->alen);
        Path = path;
        return true;
    }
    Channel = MIXER::TakeTrackChannel();
    if (Channel < 0) {
        return false;
    }
    Path = path;
    MIX_FORMAT mix;
    Mix_QuerySpec(&mix.Frequency, &mix.Format, &mix.Channels);
    Played = std::make_shared<std::atomic<long long>>(0);
    Cancel = std::make_shared<std::atomic<bool>>(false);
    Decoding = true;
    {
        std::lock_guard<std::mutex> hold(DecodesLock);
        ++DecodesRunning;
    }
    // Shared, so the thread gets the file without a copy of it.
    auto file = std::make_shared<const std::string>(std::move(bytes));
    auto work = [this, file, mix, cancel = Cancel, generation = Generation.load()] {
        auto stop = [&] { return cancel->load() || Generation.load() != generation; };
        Mix_Chunk* chunk = DecodeMp3(*file, mix, stop);
        // Cut short, a chunk would hold only the start of the track: a track
        // is whole or silent.
        if (chunk && stop()) {
            MIXER::Free(chunk);
            chunk = nullptr;
        }
        TakeDecoded(chunk);
        std::lock_guard<std::mutex> hold(DecodesLock);
        --DecodesRunning;
        DecodesDone.notify_all();
    };
    try {
        Decoder = std::thread(work);
    } catch (...) {
        // No thread to be had: the decode runs here instead.
        work();
    }
    return true;
}

void MUSIC::TakeDecoded(Mix_Chunk* chunk) {
    std::lock_guard<std::mutex> hold(Lock);
    Chunk = chunk;
    Decoding = false;
    if (Chunk) {
        Played->store(Chunk->alen);  // parked at its end, unless...
        if (PlayWanted) {
            Start();  // ...a Play came first
        }
    }
    PlayWanted = false;
    Decoded.notify_all();
}

void MUSIC::FinishDecoding() {
    std::unique_lock<std::mutex> hold(DecodesLock);
    Generation.fetch_add(1);
    DecodesDone.wait(hold, [] { return DecodesRunning == 0; });
}

void MUSIC::WaitForDecode() const {
    std::unique_lock<std::mutex> hold(Lock);
    Decoded.wait(hold, [this] { return !Decoding; });
}

// A track outliving the mixer (at shutdown) keeps quiet.
bool MUSIC::Audible() const {
    return Chunk && MIXER::IsOpen();
}

void MUSIC::Play() {
    std::lock_guard<std::mutex> hold(Lock);
    if (Decoding) {
        PlayWanted = true;
        return;
    }
    Start();
}

void MUSIC::Start() {
    if (!Audible()) {
        return;
    }
    // Unregister first: the counter must be ours alone before it restarts.
    Mix_HaltChannel(Channel);
    Mix_UnregisterAllEffects(Channel);
    Played->store(0);
    // A loop is the mixer's own (-1: for ever), so the turn from end to start
    // falls within one mix with nothing between.
    if (Mix_PlayChannel(Channel, Chunk, Looping ? -1 : 0) < 0) {
        Played->store(Chunk->alen);
        return;
    }
    Mix_RegisterEffect(Channel, CountPlayed, nullptr, Played.get());
    ApplyBalance();
}

void MUSIC::Stop() {
    std::lock_guard<std::mutex> hold(Lock);
    PlayWanted = false;
    if (!Audible()) {
        return;
    }
    Mix_HaltChannel(Channel);
    Mix_UnregisterAllEffects(Channel);
    Played->store(Chunk->alen);
}

bool MUSIC::IsPlaying() {
    std::lock_guard<std::mutex> hold(Lock);
    if (Decoding) {
        return PlayWanted;
    }
    return Audible() && Mix_Playing(Channel) && Mix_GetChunk(Channel) == Chunk;
}

void MUSIC::SetLooping(bool loop) {
    std::lock_guard<std::mutex> hold(Lock);
    Looping = loop;
}

void MUSIC::SetVolume(float volume) {
    std::lock_guard<std::mutex> hold(Lock);
    // The channel is the track's from Load on, so a volume set while the
    // track decodes holds when it starts.
    if (!(Audible() || (Decoding && Channel >= 0))) {
        return;
    }
    float v = std::clamp(volume, 0.0f, 1.0f);
    int centibels = int(std::trunc((1.0 - std::sqrt(double(v))) * -10000.0));
    MIXER::SetTrackVolume(Channel, MixVolume(centibels));
}

void MUSIC::SetBalance(float balance) {
    std::lock_guard<std::mutex> hold(Lock);
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
    Path.clear();
    if (Decoder.joinable()) {
        Cancel->store(true);
        Decoder.join();
    }
    Cancel.reset();
    PlayWanted = false;
    if (Channel >= 0) {
        MIXER::GiveBackTrackChannel(Channel);
    }
    if (Chunk) {
        MIXER::Free(Chunk);
    }
    Chunk = nullptr;
    Channel = -1;
    Played.reset();
}

double MUSIC::Duration() const {
    WaitForDecode();
    return Chunk ? double(Chunk->alen) / MIXER::BytesPerSecond() : 0.0;
}

double MUSIC::Position() const {
    WaitForDecode();
    if (!Chunk) {
        return 0.0;
    }
    // Parked, the count is the track's length; only a loop counts past it.
    long long played = Played->load();
    if (played > Chunk->alen) {
        played %= Chunk->alen;
    }
    return double(played) / MIXER::BytesPerSecond();
}
