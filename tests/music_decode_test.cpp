// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Music tracks decode on threads of their own: a track played before its
// samples are there must sound once they are, and a decode cut short by a
// release or by the mixer closing must leave a track that is whole or
// silent, never a piece of one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/mixer.h"
#include "platform/music.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

using TEST_SUPPORT::WaitFor;

class MUSICDECODE : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Music = fs::path(VORTIGAN_DATA_DIR) / "music";
        if (!fs::exists(Music / "menu.mp3") || !fs::exists(Music / "inGame.mp3")) {
            GTEST_SKIP() << "no baked music in " << Music;
        }
        MIXER::Close();
        ASSERT_TRUE(MIXER::Open());
    }
    void TearDown() override { MIXER::Close(); }
    std::string Track(const char* name) const { return (Music / name).string(); }
    fs::path Music;
};

TEST_F(MUSICDECODE, TrackPlayedWhileItDecodesSoundsOnceDecoded) {
    MUSIC track;
    track.Load(Track("menu.mp3"));
    track.Play();
    EXPECT_TRUE(track.IsPlaying()) << "a Play before the samples are there counts";
    // Position waits for the decode; the mixer then plays the track.
    ASSERT_TRUE(WaitFor([&] { return track.Position() > 0.3; }, 20.0));
    EXPECT_TRUE(track.IsPlaying());
    EXPECT_GT(track.Duration(), 60.0);
    MIXER::ResetPeaks();
    long long until = MIXER::Mixed() + MIXER::BytesPerSecond() / 4;
    ASSERT_TRUE(WaitFor([&] { return MIXER::Mixed() >= until; }, 10.0));
    int left = 0;
    int right = 0;
    MIXER::Peaks(&left, &right);
    EXPECT_GT(std::max(left, right), 500) << "the track is heard";
    // Stopped, it stays parked at its end.
    track.Stop();
    EXPECT_FALSE(track.IsPlaying());
    EXPECT_NEAR(track.Position(), track.Duration(), 0.01);
}

TEST_F(MUSICDECODE, StopBeforeTheDecodeEndsKeepsTheTrackParked) {
    MUSIC track;
    track.Load(Track("inGame.mp3"));
    track.Play();
    track.Stop();
    EXPECT_FALSE(track.IsPlaying());
    double whole = track.Duration();  // waits for the decode
    EXPECT_GT(whole, 60.0);
    EXPECT_FALSE(track.IsPlaying()) << "the Play before the Stop is forgotten";
    EXPECT_NEAR(track.Position(), whole, 0.01);
}

TEST_F(MUSICDECODE, DecodesCutShortLeaveWholeOrSilentTracks) {
    MUSIC reference;
    reference.Load(Track("inGame.mp3"));
    const double whole = reference.Duration();
    ASSERT_GT(whole, 60.0);
    reference.Release();

    // Released at once, over and over: no hang, no leftovers, and the
    // channels go back.
    int channels = MIXER::Channels();
    for (int i = 0; i < 8; ++i) {
        MUSIC track;
        track.Load(Track("inGame.mp3"));
        track.Play();
    }
    EXPECT_EQ(MIXER::Channels(), channels);

    // The mixer closing under a decode: the track is silent afterwards and
    // holds either all of its samples or none.
    MUSIC track;
    track.Load(Track("inGame.mp3"));
    track.Play();
    MIXER::Close();
    EXPECT_FALSE(track.IsPlaying());
    double left = track.Duration();
    EXPECT_TRUE(left == 0.0 || std::abs(left - whole) < 1e-9) << left << " of " << whole;
    track.Play();
    EXPECT_FALSE(track.IsPlaying());
}

}  // namespace
