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

}  // namespace
