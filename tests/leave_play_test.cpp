// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Leaving play in the middle of things, as a new player does: Escape while
// Bink talks, then Escape on the level select and the credits, then a level
// chosen again, which must play as any level does.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "tests/test_support.h"

namespace {

using TEST_SUPPORT::ReadText;
using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteText;

// Bink starts his first lesson on frame 421 of Level 1-1; the cursor starts
// in the middle and moves 1.5 px per count.
const char* const SCRIPT =
    "480 +ESCAPE\n481 -ESCAPE\n"     // away while he talks
    "480 mouse -1000 -1000\n"        // the cursor to the corner...
    "490 mouse 400 180\n"            // ...then onto "Start"
    "700 +LBUTTON\n701 -LBUTTON\n"   // the level select
    "760 +ESCAPE\n761 -ESCAPE\n"     // back to the menu
    "770 mouse 0 22\n"               // onto "Credits"
    "780 +LBUTTON\n781 -LBUTTON\n"   // the credits
    "800 +ESCAPE\n801 -ESCAPE\n"     // back to the menu
    "810 mouse 0 -22\n"              // onto "Start"
    "820 +LBUTTON\n821 -LBUTTON\n"   // the level select
    "830 mouse 0 -160\n"             // onto "Level 1-1"
    "900 +LBUTTON\n901 -LBUTTON\n"   // its title card, then play
    "1000 +RIGHT\n";                 // held through the title card
constexpr int PLAYING_AGAIN = 1080;  // the title card is over
constexpr int LOOKED_AT = PLAYING_AGAIN + 300;

TEST(LeavingPlay, NothingOfTheLevelLeftFollowsThePlayerAndEscapeGoesBack) {
    TEMP_DIR dir;
    WriteText(dir.File("input.txt"), SCRIPT);
    const std::string shot = dir.File("shot.png");
    std::string output;
    ASSERT_EQ(
        TEST_SUPPORT::RunGame(
            "--headless --fixed-dt 0.0166667 --level 0 --frames " + std::to_string(LOOKED_AT + 1) +
                " --data '" VORTIGAN_DATA_DIR "' --user-dir '" + dir.File("user") + "' --input '" +
                dir.File("input.txt") + "' --trace '" + dir.File("trace.csv") + "' --screenshot " +
                std::to_string(LOOKED_AT) + ":'" + shot + "'",
            &output),
        0)
        << output;
    auto rows = TEST_SUPPORT::ReadTraceRows(dir.File("trace.csv"));
    ASSERT_EQ(rows.size(), size_t(LOOKED_AT + 1));
    auto state = [&rows](int frame) { return std::stoi(rows[size_t(frame)][1]); };
    EXPECT_EQ(state(740), 7);  // the level select...
    EXPECT_EQ(state(765), 6);  // ...and Escape back to the menu
    EXPECT_EQ(state(790), 8);  // the credits...
    EXPECT_EQ(state(805), 6);  // ...and back
    EXPECT_EQ(state(LOOKED_AT), -1);

    // The hero walks off as soon as the title card is over (no speech left
    // over holds the level), and five seconds in the screen shows a level,
    // not black.
    const float startX = std::stof(rows[PLAYING_AGAIN][3]);
    EXPECT_GT(std::stof(rows[PLAYING_AGAIN + 60][3]), startX + 20.0f);
    EXPECT_GT(std::stof(rows[LOOKED_AT][3]), startX + 100.0f);
    IMAGEPIXELS picture;
    std::string error;
    ASSERT_TRUE(ReadImageFile(shot, picture, error)) << error;
    double brightness = 0.0;
    for (size_t i = 0; i < picture.Rgba.size(); i += 4) {
        brightness += picture.Rgba[i] + picture.Rgba[i + 1] + picture.Rgba[i + 2];
    }
    brightness /= 3.0 * double(picture.Width) * double(picture.Height);
    EXPECT_GT(brightness, 40.0);
}

}  // namespace
