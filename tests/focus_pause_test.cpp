// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Alt-tabbing away from play pauses it as P would, so the hero never walks
// into an enemy while the player is elsewhere; a focus lost on another screen
// is forgotten rather than pausing the next level.

#include <gtest/gtest.h>

#include "tests/play_frame.h"

namespace {

using TEST_SUPPORT::DT;
using TEST_SUPPORT::STAND_Y;

class FocusPause : public TEST_SUPPORT::PlayFrame {
protected:
    FocusPause() { PLATFORM::TakeFocusLost(); }  // nothing left over from another test
};

TEST_F(FocusPause, LosingFocusInPlayPausesUntilPIsPressed) {
    // Walking right; the window loses the focus on frame 10.
    Script("0 +RIGHT\n40 +P\n45 -P\n");
    Advance(10);
    float walked = App.Hero->Position.x;
    EXPECT_GT(walked, 300.0f);
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
    // The held arrow moves nothing while paused.
    float stopped = App.Hero->Position.x;
    Advance(29);
    EXPECT_TRUE(App.Paused);
    EXPECT_EQ(App.Hero->Position.x, stopped);
    // P, once the player is back, lets the hero walk on.
    Advance(10);
    EXPECT_FALSE(App.Paused);
    EXPECT_GT(App.Hero->Position.x, stopped);
}

TEST_F(FocusPause, LosingFocusWhilePausedKeepsThePause) {
    App.Paused = true;
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
    // Twice in a row is still one pause, not a toggle.
    PLATFORM::NoteFocusLost();
    Advance(1);
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_TRUE(App.Paused);
}

TEST_F(FocusPause, FocusLostOnTheMenuDoesNotPauseTheNextLevel) {
    App.GameState = GS_MENU;
    PLATFORM::NoteFocusLost();
    Advance(1);
    EXPECT_FALSE(App.Paused);
    App.GameState = GS_PLAYING;
    Advance(1);
    EXPECT_FALSE(App.Paused);
}

}  // namespace
