// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The solver plays levels in-process and draws nothing; a script it finds is
// only worth keeping if the real game does exactly the same with it. Every
// recorded replay is played here the solver's way and must end on the frame,
// with the score and the lives, that the game itself recorded.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/input_script.h"
#include "tests/test_support.h"
#include "tools/levels/level_run.h"

namespace {

TEST(LevelRun, EndsEveryReplayWhereTheGameDoes) {
    int played = 0;
    for (int level = 0; level < 12; ++level) {
        char name[32];
        std::snprintf(name, sizeof name, "level%02d", level);
        std::string dir = std::string(VORTIGAN_SOURCE_DIR) + "/tests/replays/";
        std::string script = TEST_SUPPORT::ReadText(dir + name + ".txt");
        std::string summary = TEST_SUPPORT::ReadText(dir + name + ".summary");
        if (script.empty() || summary.empty()) {
            continue;
        }
        std::vector<INPUT_EVENT> events;
        std::string error;
        ASSERT_TRUE(ParseInputScript(script, &events, &error)) << name << ": " << error;
        long frame = 0, score = 0, lives = 0;
        ASSERT_EQ(
            std::sscanf(summary.c_str(), "frame %ld score %ld lives %ld", &frame, &score, &lives),
            3)
            << name;

        LEVEL_RUN run(VORTIGAN_DATA_DIR);
        std::vector<RUN_FRAME> frames = run.Play(level, events, 0.0166667, frame + 1);
        ASSERT_FALSE(frames.empty()) << name;
        const RUN_FRAME& end = frames.back();
        EXPECT_TRUE(end.Level != level || end.State == GS_TO_GOOD_ENDING) << name;
        EXPECT_EQ(end.Frame, frame) << name;
        EXPECT_EQ(end.Score, score) << name;
        EXPECT_EQ(end.Lives, lives) << name;
        ++played;
    }
    EXPECT_GT(played, 0);
}

// The route statistics read the hero's state from outside, so a change in
// how the hero hops, walks or launches must not slip past them. A hop
// carried right, a short walk and a full mega jump are played on the first
// level once the hero stands free of the title card and Bink.
TEST(LevelRun, CountsTheHerosMoves) {
    constexpr double DT = 0.0166667;
    constexpr int QUIET = 300;  // frames the moves need
    LEVEL_RUN idle(VORTIGAN_DATA_DIR);
    std::vector<RUN_FRAME> frames = idle.Play(0, {}, DT, 4000);
    int64_t start = -1;
    for (size_t k = 0, still = 0; k < frames.size() && start < 0; ++k) {
        still = frames[k].Standing ? still + 1 : 0;
        if (still == QUIET) {
            start = frames[k + 1 - QUIET].Frame;
        }
    }
    ASSERT_GE(start, 0) << "the hero never stands free for " << QUIET << " frames";

    std::vector<INPUT_EVENT> events;
    AddKey(&events, start, INPUT_KEY::UP, true);
    AddKey(&events, start, INPUT_KEY::RIGHT, true);
    AddKey(&events, start + 2, INPUT_KEY::UP, false);
    AddKey(&events, start + 30, INPUT_KEY::RIGHT, false);
    AddKey(&events, start + 100, INPUT_KEY::RIGHT, true);
    AddKey(&events, start + 110, INPUT_KEY::RIGHT, false);
    AddKey(&events, start + 130, INPUT_KEY::SPACE, true);
    AddKey(&events, start + 190, INPUT_KEY::SPACE, false);
    LEVEL_RUN run(VORTIGAN_DATA_DIR);
    ASSERT_TRUE(run.Begin(0, events, DT));
    RUN_FRAME before = run.Advance(start);
    RUN_FRAME after = run.Advance(start + 192);
    EXPECT_EQ(after.Hops - before.Hops, 1);
    // Only the walk is walking; the hop, carried at walking pace from the
    // frame after it left the ground, counts for pace as well.
    EXPECT_EQ(after.WalkFrames - before.WalkFrames, 10);
    EXPECT_GE(after.PaceFrames - before.PaceFrames, 10 + 29);
    EXPECT_EQ(after.MegaJumps - before.MegaJumps, 1);
    EXPECT_EQ(after.LaunchSounds - before.LaunchSounds, 1);
    EXPECT_EQ(after.FreeFrames - before.FreeFrames, 192);
    EXPECT_GT(after.Vx, 0.0f);  // it flew
}

}  // namespace
