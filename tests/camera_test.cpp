// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A frame of play as the application runs it: the zoom that pulls out for a
// mega jump, the camera's look-ahead, the level-end keys, and the Escape and
// P keys with their repeat guards.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/play_frame.h"

namespace {

using TEST_SUPPORT::DT;
using TEST_SUPPORT::PlayFrame;
using TEST_SUPPORT::STAND_Y;

TEST_F(PlayFrame, TheZoomPullsOutInFlightAndComesBackOnTheGround) {
    HERO& hero = *App.Hero;
    // Standing still it returns to 1.0 at 0.4 a second.
    App.Zoom = 0.5f;
    Advance(60);
    EXPECT_NEAR(App.Zoom, 0.9f, 1e-3f);
    Advance(30);
    EXPECT_EQ(App.Zoom, 1.0f);

    // Falling (not an ordinary jump) it pulls out, never below 0.5.
    hero.Position = {3000.0f, 0.0f};
    Advance(30);
    EXPECT_NEAR(App.Zoom, 0.8f, 1e-3f);
    Advance(60);
    EXPECT_EQ(App.Zoom, 0.5f);
    EXPECT_FALSE(hero.OnGround);

    // An ordinary jump keeps the camera close.
    hero.Position = {300.0f, STAND_Y};
    hero.Velocity = {0.0f, 0.0f};
    Advance(5);
    Script("0 +UP\n10 -UP\n");
    float zoom = App.Zoom;
    Advance(20);
    EXPECT_TRUE(hero.Jumping);
    EXPECT_NEAR(App.Zoom, zoom + 20 * 0.4f * DT, 1e-4f);

    // Inside the exit the hero is out of play: no pull-out however high.
    hero.Active = false;
    hero.Position = {300.0f, 100.0f};
    hero.OnGround = false;
    hero.Jumping = false;
    Advance(10);
    EXPECT_NEAR(App.Zoom, zoom + 30 * 0.4f * DT, 1e-4f);
}

TEST_F(PlayFrame, ChargingPullsTheCameraOut) {
    Script("0 +SPACE\n");
    Advance(30);
    EXPECT_TRUE(App.Hero->Aiming);
    EXPECT_NEAR(App.Zoom, 1.0f - 30 * 0.4f * DT, 1e-4f);
}

TEST_F(PlayFrame, TheCameraFollowsTheHeroAndLeadsTheWayItFaces) {
    HERO& hero = *App.Hero;
    Advance(1);
    EXPECT_EQ(App.World->CameraTarget, hero.Position);
    EXPECT_EQ(App.World->CameraLead.x, 0.0f);

    // Zoomed out, hanging in the air: 700 px ahead either way.
    App.Zoom = 0.5f;
    hero.Position = {3000.0f, 0.0f};
    hero.Facing = 0;
    Advance(1);
    EXPECT_EQ(App.World->CameraLead.x, 700.0f);
    EXPECT_EQ(App.World->CameraLead.y, 0.0f);
    EXPECT_EQ(App.World->CameraTarget, hero.Position * 2.0f);
    hero.Facing = 1;
    Advance(1);
    EXPECT_EQ(App.World->CameraLead.x, -700.0f);
}

TEST_F(PlayFrame, HoldingPTogglesThePauseEvery300Milliseconds) {
    Script("0 +P\n");
    std::vector<uint32_t> toggles;
    bool paused = App.Paused;
    for (int i = 0; i < 60; ++i) {
        Advance(1);
        if (App.Paused != paused) {
            toggles.push_back(GetTickCount());
            paused = App.Paused;
        }
    }
    ASSERT_EQ(toggles.size(), 4u);  // at 16, 333, 650 and 966 ms
    for (size_t i = 1; i < toggles.size(); ++i) {
        EXPECT_GT(toggles[i] - toggles[i - 1], 300u);
        EXPECT_LE(toggles[i] - toggles[i - 1], 300u + 17u);
    }
    // Paused, nothing moves.
    Script("0 +RIGHT\n");
    App.Paused = true;
    VECTOR2 at = App.Hero->Position;
    Advance(10);
    EXPECT_EQ(App.Hero->Position, at);
}

// A fresh start of the platform layer forgets an earlier quit.
void ForgetQuit() {
    PLATFORM_OPTIONS options;
    options.Headless = true;
    std::string error;
    PLATFORM::Init(options, &error);
    PLATFORM::Shutdown();
}

TEST_F(PlayFrame, EscapeLeavesPlayAndQuitsFromTheMenuOnlyAfterTheGuard) {
    ForgetQuit();
    Script("0 +ESCAPE\n");
    App.Paused = true;
    Advance(1);
    EXPECT_EQ(App.GameState, GS_TO_MENU);
    EXPECT_FALSE(App.Paused);
    uint32_t guard = App.EscapeRepeat;
    EXPECT_EQ(guard, GetTickCount() + 300u);
    // The menu is up; the held key quits once the guard has run out.
    App.GameState = GS_MENU;
    while (GetTickCount() + 17u <= guard) {
        Advance(1);
        ASSERT_FALSE(PLATFORM::QuitRequested());
    }
    Advance(2);
    EXPECT_TRUE(PLATFORM::QuitRequested());
    ForgetQuit();
}

TEST_F(PlayFrame, F1HeldEndsTheLevelASecondAfterItIsReleased) {
    Script("0 +F1\n20 -F1\n");
    Advance(20);
    // Set again every frame, then counted down in the same frame.
    EXPECT_NEAR(App.LevelEndTimer, 1.0f - DT, 1e-5f);
    Advance(30);
    EXPECT_NEAR(App.LevelEndTimer, 1.0f - 31 * DT, 1e-4f);

    App.LevelEndTimer = 0.0f;
    App.Hero->LevelOver = true;
    Advance(1);
    EXPECT_FALSE(App.Hero->LevelOver);
    EXPECT_NEAR(App.LevelEndTimer, 1.0f - DT, 1e-5f);
}

// At 20 frames a second a frame is played as three short steps: a full
// mega jump straight up lands as it does at 60, and the hero walks on
// within a second of landing instead of sinking into the floor.
TEST_F(PlayFrame, ASlowMachinePlaysTheLandingAsAFastOneDoes) {
    Dt = 0.05f;
    // The aim starts up and to the right; Left turns it upright.
    Script("0 +SPACE\n1 +LEFT\n9 -LEFT\n20 -SPACE\n21 +RIGHT\n");
    Advance(21);
    ASSERT_LT(App.Hero->Velocity.y, -950.0f);          // full speed, less two steps of gravity
    ASSERT_LT(std::abs(App.Hero->Velocity.x), 30.0f);  // straight up
    int flight = 0;
    do {
        Advance(1);
    } while (!App.Hero->OnGround && ++flight < 200);
    ASSERT_TRUE(App.Hero->OnGround);
    const float landedAt = App.Hero->Position.x;
    EXPECT_LT(App.Hero->Position.y, STAND_Y + 17.0f);  // sunk no deeper than at 60
    Advance(20);
    EXPECT_GT(App.Hero->Position.x, landedAt + 10.0f);
}

}  // namespace
