// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Input scripts, and whole headless runs of the game driven by them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input_script.h"
#include "tests/test_support.h"

using TEST_SUPPORT::TEMP_DIR;

TEST(InputScript, ReadsEventsAndNamesTheBadLine) {
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(
        "# walk, then jump\n0 +RIGHT\n\n30 +UP   # hop\n31 -UP\n40 mouse -3 5\n", &events, &error))
        << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].Frame, 30);
    EXPECT_EQ(events[1].Key, INPUT_KEY::UP);
    EXPECT_EQ(events[3].Type, INPUT_EVENT::TYPE::MOUSE);
    EXPECT_EQ(events[3].MouseDx, -3);

    const char* bad[] = {
        "10 +JUMP\n",   "x +UP\n",        "10 UP\n",        "-5 +UP\n",
        "10 mouse 3\n", "10 mouse a b\n", "10 +UP extra\n", "99999999999999999999999 +UP\n"};
    for (const char* text : bad) {
        std::string script = std::string("0 +LEFT\n") + text;
        error.clear();
        EXPECT_FALSE(ParseInputScript(script, &events, &error)) << text;
        EXPECT_NE(error.find("2"), std::string::npos) << "names line 2: " << error;
    }
}

TEST(InputScript, PlaysKeysFromTheirFrame) {
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript("2 +SPACE\n4 -SPACE\n3 mouse 7 0\n", &events, &error));
    INPUT_PLAYER player(events);
    bool held[6];
    int dx[6];
    for (int frame = 0; frame < 6; ++frame) {
        player.BeginFrame(frame);
        held[frame] = player.IsDown(INPUT_KEY::SPACE);
        int dy;
        player.MouseMotion(&dx[frame], &dy);
    }
    EXPECT_FALSE(held[1]);
    EXPECT_TRUE(held[2]);
    EXPECT_TRUE(held[3]);
    EXPECT_FALSE(held[4]);
    EXPECT_EQ(dx[3], 7);
    EXPECT_EQ(dx[4], 0);  // a motion belongs to its one frame
}

TEST(HeadlessRun, RunsTheFrameLoopAndWritesAScreenshot) {
    TEMP_DIR dir;
    std::string shot = dir.File("f.png");
    std::string args = "--headless --frames 120 --fixed-dt 0.0166667 --data '" +
                       std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                       "' --screenshot 100:'" + shot + "'";
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
    std::vector<uint8_t> png = TEST_SUPPORT::ReadBytes(shot);
    ASSERT_GT(png.size(), 24u);
    // The PNG header holds the size, big-endian, at bytes 16 and 20.
    auto be32 = [&](size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(be32(16), 800);
    EXPECT_EQ(be32(20), 600);
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Application initiated\n");
}

// Headless, only the frames written to a PNG are painted. A frame painted
// after 150 unpainted ones must look exactly as it does when every frame
// before it was painted too.
TEST(HeadlessRun, AFramePaintedAfterUnpaintedOnesLooksTheSame) {
    TEMP_DIR dir;
    TEST_SUPPORT::WriteText(dir.File("in.txt"), "40 +RIGHT\n90 +SPACE\n120 -SPACE\n");
    std::string pngs[2];
    for (int run = 0; run < 2; ++run) {
        std::string args = "--headless --level 0 --frames 151 --fixed-dt 0.0166667 --data '" +
                           std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                           "' --input '" + dir.File("in.txt") + "'";
        // The second run paints every frame: each is written out.
        for (int f = run == 0 ? 150 : 0; f <= 150; ++f) {
            args += " --screenshot " + std::to_string(f) + ":'" + dir.File("f.png") + "'";
        }
        std::string output;
        ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
        pngs[run] = TEST_SUPPORT::ReadText(dir.File("f.png"));
    }
    ASSERT_GT(pngs[0].size(), 1000u);
    EXPECT_TRUE(pngs[0] == pngs[1]);
}

TEST(HeadlessRun, MissingDataStillRunsAndLogsOnlyTheStart) {
    TEMP_DIR dir;
    TEMP_DIR empty;
    std::string args = "--headless --frames 60 --fixed-dt 0.02 --data '" + empty.Path().string() +
                       "' --user-dir '" + dir.Path().string() + "'";
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "Application initiated\n");
}

TEST(HeadlessRun, SameInputSameTrace) {
    TEMP_DIR dir;
    TEST_SUPPORT::WriteText(dir.File("in.txt"),
                            "5 +RETURN\n6 -RETURN\n20 mouse 40 -30\n30 +P\n31 -P\n");
    std::string traces[2];
    for (int run = 0; run < 2; ++run) {
        std::string trace = dir.File("trace" + std::to_string(run) + ".csv");
        std::string args = "--headless --frames 90 --fixed-dt 0.0166667 --data '" +
                           std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + dir.Path().string() +
                           "' --input '" + dir.File("in.txt") + "' --trace '" + trace + "'";
        std::string output;
        ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;
        traces[run] = TEST_SUPPORT::ReadText(trace);
    }
    EXPECT_EQ(traces[0].rfind("frame,state,level,x,y,vx,vy,health,lives,score,objects,zoom\n", 0),
              0u);
    EXPECT_GT(traces[0].size(), 90u * 10u);
    EXPECT_EQ(traces[0], traces[1]);
}

TEST(HeadlessRun, BadOptionsAndScriptsExitWithStatusTwo) {
    TEMP_DIR dir;
    std::string output;
    EXPECT_EQ(TEST_SUPPORT::RunGame("--headless --frames banana", &output), 2);
    EXPECT_EQ(TEST_SUPPORT::RunGame("--no-such-option", &output), 2);
    EXPECT_NE(output.find("--no-such-option"), std::string::npos) << output;
    TEST_SUPPORT::WriteText(dir.File("bad.txt"), "0 +LEFT\n3 +TELEPORT\n");
    EXPECT_EQ(TEST_SUPPORT::RunGame("--headless --frames 5 --input '" + dir.File("bad.txt") +
                                        "' --user-dir '" + dir.Path().string() + "'",
                                    &output),
              2);
    EXPECT_NE(output.find("2"), std::string::npos) << output;
    EXPECT_EQ(TEST_SUPPORT::RunGame(
                  "--headless --frames 5 --input '" + dir.File("nowhere.txt") + "'", &output),
              2);
}

TEST(InputScript, ManyMotionsOnOneFrameSaturate) {
    std::string script;
    for (int i = 0; i < 30000; ++i) {
        script += "0 mouse 100000 -100000\n";
    }
    std::vector<INPUT_EVENT> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(script, &events, &error)) << error;
    INPUT_PLAYER player(events);
    player.BeginFrame(0);
    int dx, dy;
    player.MouseMotion(&dx, &dy);
    EXPECT_EQ(dx, 1000000);
    EXPECT_EQ(dy, -1000000);
}
