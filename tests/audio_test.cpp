// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound effects and music tracks, played through the mixer on SDL's dummy
// audio driver: it has no speakers, but it mixes in real time, so what is
// sounding and for how long is the same as on a real device.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/mixer.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::ToneWav;
using TEST_SUPPORT::WriteBytes;

// An MP3 of `frames` silent MPEG-1 layer III frames (128 kbit/s, 44.1 kHz,
// mono): 1152 samples each, all side information and data zero.
std::vector<uint8_t> SilentMp3(int frames) {
    const size_t FRAME_BYTES = 417;  // 144 * 128000 / 44100
    std::vector<uint8_t> out;
    for (int f = 0; f < frames; ++f) {
        out.insert(out.end(), {0xFF, 0xFB, 0x90, 0xC0});
        out.insert(out.end(), FRAME_BYTES - 4, 0);
    }
    return out;
}

using TEST_SUPPORT::WaitFor;

// Runs each test in a data folder of its own with a freshly opened mixer,
// so sounds of one test never linger into the next.
class AUDIO : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        MIXER::Close();
        Previous = fs::current_path();
        fs::create_directories(Dir.Path() / "sounds");
        fs::create_directories(Dir.Path() / "music");
        fs::current_path(Dir.Path());
        ASSERT_TRUE(MIXER::Open()) << "the dummy audio driver should always open";
    }
    void TearDown() override {
        MIXER::Close();
        fs::current_path(Previous);
    }
    // Every effect file but the ones left out, long enough to outlast a test.
    void WriteSounds(const std::vector<int>& missing = {}) {
        for (int id = 0; id < SOUND_COUNT; ++id) {
            bool skip = false;
            for (int m : missing) {
                skip = skip || m == id;
            }
            if (!skip) {
                WriteBytes(SOUND_FILES[id], ToneWav(2.0, 220.0 + 20.0 * id));
            }
        }
    }

    TEMP_DIR Dir;
    fs::path Previous;
};

TEST(SOUNDVOLUME, AttenuationFollowsTheSquareRootCurve) {
    SOUND sound;
    sound.SetMasterVolume(2.0f);
    EXPECT_FLOAT_EQ(sound.MasterVolume(), 1.5f);
    EXPECT_EQ(sound.Attenuation(), 286);
    EXPECT_FLOAT_EQ(sound.Gain(), 1.0f) << "the mixer cannot amplify past full scale";

    sound.SetMasterVolume(0.0f);
    EXPECT_EQ(sound.Attenuation(), -4000);
    sound.SetMasterVolume(-3.0f);
    EXPECT_FLOAT_EQ(sound.MasterVolume(), 0.0f);
    EXPECT_EQ(sound.Attenuation(), -4000);
    EXPECT_NEAR(sound.Gain(), 0.01f, 1e-4);

    sound.SetMasterVolume(1.0f);
    EXPECT_EQ(sound.Attenuation(), -500);
    EXPECT_NEAR(sound.Gain(), std::pow(10.0, -0.25), 1e-5);

    sound.SetMasterVolume(1.2f);
    EXPECT_EQ(sound.Attenuation(), -165);
}

TEST_F(AUDIO, InitLoadsEveryIdAtTheStartVolume) {
    WriteSounds();
    SOUND sound;
    sound.Init();
    EXPECT_EQ(sound.Count(), SOUND_COUNT);
    EXPECT_FLOAT_EQ(sound.MasterVolume(), 1.2f);
    EXPECT_EQ(sound.Attenuation(), -165);
    // Both entries of the shared landing sound play.
    sound.Play(SOUND_LAUNCH, false);
    EXPECT_EQ(sound.Sounding(), 1);
    sound.Play(SOUND_MEGAJUMP_LAND, false);
    EXPECT_EQ(sound.Sounding(), 2);
}

TEST_F(AUDIO, IdsOutsideTheTableAndMissingFilesPlayNothing) {
    WriteSounds({SOUND_BOSS3_DIES});
    SOUND sound;
    sound.Init();
    sound.Play(-1, false);
    sound.Play(SOUND_COUNT, false);
    sound.Play(1000, false);
    sound.Play(SOUND_BOSS3_DIES, false);
    EXPECT_EQ(sound.Sounding(), 0);
    EXPECT_FALSE(sound.IsLoaded(SOUND_BOSS3_DIES));
    EXPECT_TRUE(sound.IsLoaded(SOUND_BOSS1_DIES));
    sound.Play(SOUND_BOSS1_DIES, false);
    EXPECT_EQ(sound.Sounding(), 1);
}

TEST_F(AUDIO, NothingPlaysWithoutInitOrWithoutFiles) {
    SOUND never;
    never.Play(SOUND_DOOR_CLOSE, false);
    EXPECT_EQ(never.Count(), 0);
    EXPECT_EQ(never.Sounding(), 0);

    SOUND empty;  // the data folder has no sounds at all
    empty.Init();
    EXPECT_EQ(empty.Count(), SOUND_COUNT);
    for (int id = 0; id < SOUND_COUNT; ++id) {
        empty.Play(id, false);
    }
    EXPECT_EQ(empty.Sounding(), 0);
}

TEST_F(AUDIO, OverlappingPlaysAreNeverRefused) {
    WriteSounds();
    SOUND sound;
    sound.Init();
    sound.Play(SOUND_SMALLHAT_FIRE, false);
    sound.Play(SOUND_SMALLHAT_FIRE, false);
    EXPECT_EQ(sound.Sounding(), 2) << "two plays in one frame are two copies";
    // Far more than the mixer starts with: it grows instead of cutting.
    for (int i = 0; i < 98; ++i) {
        sound.Play(i % SOUND_COUNT, false);
    }
    EXPECT_EQ(sound.Sounding(), 100);
}

// The loudest samples of the next fifth of a second the mixer puts out,
// counted in mixed audio rather than wall time, so a busy machine that
// starves the audio thread only makes the wait longer.
void ListenPeaks(int* left, int* right) {
    auto mixedPast = [](long long bytes) {
        long long until = MIXER::Mixed() + bytes;
        return WaitFor([until] { return MIXER::Mixed() >= until; }, 10.0);
    };
    // A mix that was under way when the volume changed goes by first.
    EXPECT_TRUE(mixedPast(MIXER::BytesPerSecond() / 20));
    MIXER::ResetPeaks();
    EXPECT_TRUE(mixedPast(MIXER::BytesPerSecond() / 5));
    MIXER::Peaks(left, right);
}

TEST_F(AUDIO, MasterVolumeSetsTheLoudnessOfEveryEffect) {
    WriteSounds();  // tones with peaks of 12000
    SOUND sound;
    sound.Init();
    sound.Play(SOUND_DOOR_CLOSE, false);
    int left = 0;
    int right = 0;
    ListenPeaks(&left, &right);
    double expected = 12000.0 * std::lround(sound.Gain() * 128) / 128.0;  // 1.2: -1.65 dB
    EXPECT_NEAR(left, expected, expected * 0.08);
    EXPECT_NEAR(right, expected, expected * 0.08);
    // The volume reaches sounds already playing.
    sound.SetMasterVolume(0.0f);  // -40 dB
    ListenPeaks(&left, &right);
    EXPECT_LT(left, 300);
    EXPECT_GT(left, 0) << "-40 dB is quiet, not silent";
}

TEST_F(AUDIO, EffectsRunOutAndFreeTheirChannels) {
    WriteBytes(SOUND_FILES[SOUND_HIT_WALL], ToneWav(0.1, 440.0));
    SOUND sound;
    sound.Init();
    sound.Play(SOUND_HIT_WALL, false);
    sound.Play(SOUND_HIT_WALL, false);
    EXPECT_EQ(sound.Sounding(), 2);
    EXPECT_TRUE(WaitFor([&] { return sound.Sounding() == 0; }, 5.0));
}

TEST_F(AUDIO, TrackStartsStoppedPlaysStopsAndRestartsFromTheBeginning) {
    WriteBytes("music/track.mp3", SilentMp3(50));  // 57600 samples, 1.306 s
    MUSIC track;
    track.Load("music/track.mp3");
    EXPECT_NEAR(track.Duration(), 57600.0 / 44100.0, 0.01);
    EXPECT_FALSE(track.IsPlaying()) << "a loaded track waits, parked at its end";

    track.Play();
    EXPECT_TRUE(track.IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return track.Position() > 0.25; }, 5.0));
    double reached = track.Position();

    track.Stop();
    EXPECT_FALSE(track.IsPlaying());
    track.Stop();  // twice is harmless
    EXPECT_FALSE(track.IsPlaying());

    track.Play();
    EXPECT_TRUE(track.IsPlaying());
    EXPECT_LT(track.Position(), reached) << "Play starts again from the beginning";
}

TEST_F(AUDIO, TrackThatRanToItsEndIsNoLongerPlaying) {
    WriteBytes("music/short.wav", ToneWav(0.2, 330.0));
    MUSIC track;
    track.Load("music/short.wav");
    track.Play();
    EXPECT_TRUE(track.IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return !track.IsPlaying(); }, 5.0));
    EXPECT_NEAR(track.Position(), track.Duration(), 0.01);
    // Asked again, it plays again.
    track.Play();
    EXPECT_TRUE(track.IsPlaying());
}

// The longest run of silent frames in the mixer's output once something has
// sounded, watched on the audio thread.
class DROPOUT_WATCH {
public:
    DROPOUT_WATCH() { Mix_RegisterEffect(MIX_CHANNEL_POST, Watch, nullptr, this); }
    ~DROPOUT_WATCH() { Mix_UnregisterEffect(MIX_CHANNEL_POST, Watch); }
    int Longest() const { return LongestRun.load(); }

private:
    static void Watch(int, void* stream, int length, void* self) {
        auto* w = static_cast<DROPOUT_WATCH*>(self);
        const auto* s = static_cast<const int16_t*>(stream);
        for (int i = 0; i + 1 < length / 2; i += 2) {
            bool quiet = std::abs(s[i]) < 300 && std::abs(s[i + 1]) < 300;
            w->Heard = w->Heard || !quiet;
            w->Run = quiet && w->Heard ? w->Run + 1 : 0;
            w->LongestRun.store(std::max(w->LongestRun.load(), w->Run));
        }
    }
    bool Heard = false;
    int Run = 0;
    std::atomic<int> LongestRun{0};
};

TEST_F(AUDIO, LoopingTrackTurnsWithoutADropOutAndStillStopsAndRestarts) {
    // 110 whole cycles: the tone runs smoothly from its end into its start.
    WriteBytes("music/loop.wav", ToneWav(0.25, 440.0));
    MUSIC track;
    track.SetLooping(true);
    track.Load("music/loop.wav");
    EXPECT_FALSE(track.IsPlaying());
    DROPOUT_WATCH watch;
    track.Play();
    EXPECT_TRUE(track.IsPlaying());
    // Four turns, watched as the game does: a stopped track would be started
    // again at once.
    bool stopped = false;
    long long until = MIXER::Mixed() + MIXER::BytesPerSecond();
    ASSERT_TRUE(WaitFor(
        [&] {
            if (!track.IsPlaying()) {
                stopped = true;
                track.Play();
            }
            return MIXER::Mixed() >= until;
        },
        10.0));
    EXPECT_FALSE(stopped);
    EXPECT_LT(watch.Longest(), 4) << "silent frames in a row";
    EXPECT_LT(track.Position(), track.Duration());

    track.Stop();
    EXPECT_FALSE(track.IsPlaying());
    EXPECT_NEAR(track.Position(), track.Duration(), 0.01) << "parked at its end";
    track.Play();
    EXPECT_LT(track.Position(), 0.1) << "and started again from the beginning";

    // Set back to play once, like the intro, the track ends by itself.
    track.SetLooping(false);
    track.Play();
    EXPECT_TRUE(WaitFor([&] { return !track.IsPlaying(); }, 5.0));
}

TEST_F(AUDIO, SecondLoadReplacesTheFirstTrack) {
    WriteBytes("music/long.wav", ToneWav(4.0, 220.0));
    WriteBytes("music/short.mp3", SilentMp3(20));
    MUSIC track;
    track.Load("music/long.wav");
    track.Play();
    EXPECT_TRUE(track.IsPlaying());
    track.Load("music/short.mp3");
    EXPECT_FALSE(track.IsPlaying()) << "the first track went with its file";
    EXPECT_NEAR(track.Duration(), 20 * 1152 / 44100.0, 0.01);
    track.Play();
    EXPECT_TRUE(track.IsPlaying());
}

TEST_F(AUDIO, FourTracksSoundTogetherUnderAnyNumberOfEffects) {
    WriteSounds();
    SOUND sound;
    sound.Init();
    MUSIC tracks[4];
    for (int i = 0; i < 4; ++i) {
        std::string name = "music/t" + std::to_string(i) + ".wav";
        WriteBytes(name, ToneWav(3.0, 200.0 + 100.0 * i));
        tracks[i].Load(name);
        tracks[i].Play();
    }
    for (int i = 0; i < 60; ++i) {
        sound.Play(i % SOUND_COUNT, false);
    }
    for (MUSIC& t : tracks) {
        EXPECT_TRUE(t.IsPlaying());
    }
    EXPECT_EQ(sound.Sounding(), 60) << "tracks are not counted as effects";
    tracks[1].Stop();
    EXPECT_FALSE(tracks[1].IsPlaying());
    EXPECT_TRUE(tracks[0].IsPlaying());
    EXPECT_TRUE(tracks[2].IsPlaying());
    // A fifth track, loaded later, gets a channel of its own as well.
    MUSIC fifth;
    WriteBytes("music/t4.wav", ToneWav(3.0, 700.0));
    fifth.Load("music/t4.wav");
    fifth.Play();
    EXPECT_TRUE(fifth.IsPlaying());
    EXPECT_TRUE(tracks[3].IsPlaying());
}

TEST_F(AUDIO, MissingOrDamagedTrackIsSilent) {
    WriteBytes("music/broken.mp3", std::vector<uint8_t>(5000, 0x5A));
    for (const char* name : {"music/none.mp3", "music/broken.mp3"}) {
        MUSIC track;
        track.Load(name);
        track.Play();
        EXPECT_FALSE(track.IsPlaying()) << name;
        track.Stop();
        track.SetVolume(0.5f);
        track.SetBalance(-1.0f);
        EXPECT_FALSE(track.IsPlaying()) << name;
        EXPECT_EQ(track.Duration(), 0.0) << name;
    }
}

TEST_F(AUDIO, TrackVolumeAndBalance) {
    WriteBytes("music/a.wav", ToneWav(3.0, 300.0));
    MUSIC track;
    track.Load("music/a.wav");
    track.Play();
    int left = 0;
    int right = 0;
    ListenPeaks(&left, &right);
    EXPECT_NEAR(left, 12000, 12000 * 0.08) << "a track plays at full scale";
    EXPECT_NEAR(right, 12000, 12000 * 0.08);

    track.SetVolume(0.5f);   // -29.28 dB
    track.SetBalance(1.0f);  // all to the right
    ListenPeaks(&left, &right);
    double expected = 12000.0 * std::lround(std::pow(10.0, -2928 / 2000.0) * 128) / 128.0;
    EXPECT_NEAR(right, expected, expected * 0.1);
    EXPECT_LT(left, 100);
    // The balance holds when the track starts again.
    track.Play();
    ListenPeaks(&left, &right);
    EXPECT_LT(left, 100);
    EXPECT_GT(right, expected * 0.9);
}

// The player's volumes over a scene of one effect and one quieter track:
// half is 6 dB down for either, nothing is silence, and the track keeps its
// own level under the setting.
TEST_F(AUDIO, PlayerVolumesScaleEffectsAndMusicBySixDecibelsAtHalf) {
    WriteSounds();
    SOUND sound;
    sound.Init();
    sound.Play(SOUND_DOOR_CLOSE, true);
    WriteBytes("music/a.wav", ToneWav(3.0, 300.0));
    MUSIC track;
    track.Load("music/a.wav");
    track.SetVolume(0.9f);
    track.Play();
    auto peak = [](float music, float effects) {
        MIXER::SetVolumes(music, effects);
        int left = 0;
        int right = 0;
        ListenPeaks(&left, &right);
        return std::max(left, right);
    };
    const double trackAlone = 12000.0 * std::lround(std::pow(10.0, -513 / 2000.0) * 128) / 128.0;
    EXPECT_NEAR(peak(1.0f, 0.0f), trackAlone, trackAlone * 0.08);  // 0.9: -5.13 dB
    for (float on : {1.0f, 0.0f}) {
        const float off = 1.0f - on;  // music, then effects
        double full = peak(on, off);
        double half = peak(0.5f * on, 0.5f * off);
        EXPECT_NEAR(20.0 * std::log10(full / half), 6.02, 0.3) << "music " << on;
    }
    EXPECT_EQ(peak(0.0f, 0.0f), 0);
    MIXER::SetVolumes(1.0f, 1.0f);
}

TEST_F(AUDIO, ReleasedTrackGivesItsChannelBack) {
    WriteBytes("music/a.wav", ToneWav(3.0, 300.0));
    int channels = MIXER::Channels();
    // Far more loads than the mixer has track channels: each release must
    // hand its channel back or the mixer would keep growing.
    for (int i = 0; i < 20; ++i) {
        MUSIC track;
        track.Load("music/a.wav");
        track.Play();
        EXPECT_TRUE(track.IsPlaying());
    }
    EXPECT_EQ(MIXER::Channels(), channels);
    MUSIC kept;
    kept.Load("music/a.wav");
    kept.Release();
    EXPECT_FALSE(kept.IsPlaying());
    kept.Play();
    EXPECT_FALSE(kept.IsPlaying());
}

// The game's own baked sounds and music, where this build has baked them.
class BAKED_AUDIO : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Data = VORTIGAN_DATA_DIR;
        if (!fs::is_directory(Data / "sounds") || !fs::is_directory(Data / "music")) {
            GTEST_SKIP() << "no baked sounds and music in " << Data;
        }
        MIXER::Close();
        Previous = fs::current_path();
        fs::current_path(Data);
    }
    void TearDown() override {
        MIXER::Close();
        if (!Previous.empty()) {
            fs::current_path(Previous);
        }
    }
    fs::path Data;
    fs::path Previous;
};

TEST_F(BAKED_AUDIO, EveryEffectOfTheTableLoadsAndPlays) {
    SOUND sound;
    sound.Init();
    for (int id = 0; id < SOUND_COUNT; ++id) {
        EXPECT_TRUE(sound.IsLoaded(id)) << SOUND_FILES[id];
        sound.Play(id, false);
    }
    EXPECT_GT(sound.Sounding(), 0);
}

TEST_F(BAKED_AUDIO, TheFourTracksDecodeAndSoundTogether) {
    MUSIC tracks[4];
    const char* files[4] = {"music/intro.mp3", "music/menu.mp3", "music/inGame.mp3",
                            "music/boss.mp3"};
    for (int i = 0; i < 4; ++i) {
        tracks[i].Load(files[i]);
        EXPECT_GT(tracks[i].Duration(), 20.0) << files[i];
        EXPECT_LT(tracks[i].Duration(), 240.0) << files[i];
        tracks[i].Play();
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(tracks[i].IsPlaying()) << files[i];
    }
    int left = 0;
    int right = 0;
    ListenPeaks(&left, &right);
    EXPECT_GT(std::max(left, right), 500) << "four tracks at once are not silent";
}

}  // namespace
