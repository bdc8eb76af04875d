// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/records.h"
#include "platform/keys.h"
#include "platform/settings.h"
#include "tests/test_support.h"

namespace {

using namespace TEST_SUPPORT;

// Damaged, cut and unknown lines are skipped one by one; what can be read
// still counts, and what is written reads back the same.
TEST(Settings, DamagedLinesKeepTheirDefaultsAndTheRestReadsBack) {
    int ignored = 0;
    SETTINGS s = ParseSettings(
        "music = 40\n\x01\xff garbage\neffects = 55\nvsync = maybe\nkey.jump = J, NOPE\n"
        "colour = blue\nkey.pause = Q\nmegajump = toggle\nlevel_timer = o",
        &ignored);
    EXPECT_EQ(ignored, 6);
    EXPECT_EQ(s.MusicVolume, 40);
    EXPECT_EQ(s.EffectVolume, VOLUME_FULL);
    EXPECT_TRUE(s.Vsync);
    EXPECT_EQ(s.Keys[ACTION_JUMP][0], VK_UP);
    EXPECT_EQ(s.Keys[ACTION_PAUSE][0], 'Q');
    EXPECT_EQ(s.Keys[ACTION_PAUSE][1], NO_KEY);
    EXPECT_TRUE(s.MegaJumpToggle);
    EXPECT_FALSE(s.LevelTimer);

    SETTINGS again = ParseSettings(FormatSettings(s), &ignored);
    EXPECT_EQ(ignored, 0);
    EXPECT_EQ(FormatSettings(again), FormatSettings(s));
}

// Whatever stands where the settings and the best times should be, the
// game starts.
TEST(Settings, ADamagedFileNeverStopsTheGame) {
    const std::string whole = FormatSettings(SETTINGS());
    for (const char* kind : {"garbage", "cut short", "directory"}) {
        TEMP_DIR dir;
        if (std::string(kind) == "directory") {
            std::filesystem::create_directories(dir.File("settings.cfg/x"));
            std::filesystem::create_directories(dir.File("records.txt/x"));
        } else if (std::string(kind) == "cut short") {
            WriteText(dir.File("settings.cfg"), whole.substr(0, whole.size() / 2 + 3));
            WriteText(dir.File("records.txt"), "0 61.5 400\n1 7");
        } else {
            WriteText(dir.File("settings.cfg"), std::string("music = 5\0\0\xff\nkey.left", 22));
            WriteText(dir.File("records.txt"), std::string("\xff\0-3 x\n99 1 1\n", 14));
        }
        std::string output;
        EXPECT_EQ(RunGame("--headless --frames 5 --data '" VORTIGAN_DATA_DIR "' --user-dir '" +
                              dir.Path().string() + "'",
                          &output),
                  0)
            << kind << ": " << output;
    }
}

// A records file being written when the game is killed is the old one or
// the new, whole either way.
TEST(Records, AKillDuringTheirWriteLeavesThemWhole) {
    TEMP_DIR dir;
    const std::string path = dir.File("records.txt");
    RECORDS first;
    first.Load(path);
    ASSERT_TRUE(first.Finish(0, 100.0f, 10));
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        RECORDS r;
        r.Load(path);
        for (int score = 11;; ++score) {
            r.Finish(score % LEVEL_COUNT, 100.0f, score);
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    // Every line whole: a cut one would lose a level or shorten a number.
    const std::string text = ReadText(path);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    std::ofstream(path + ".tmp99999") << "0 1";  // as a kill mid-write leaves
    RECORDS after;
    after.Load(path);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no strays
    EXPECT_EQ(after.Of(0).Time, 100.0f);
    EXPECT_GE(after.Of(0).Score, 10);
}

std::string Taps(const std::vector<std::pair<int, const char*>>& taps) {
    std::string script;
    for (auto [frame, key] : taps) {
        script += std::to_string(frame) + " +" + key + "\n" + std::to_string(frame + 1) + " -" +
                  key + "\n";
    }
    return script;
}

std::string RunWith(const TEMP_DIR& dir, const std::string& script, int frames,
                    const std::string& more = "") {
    WriteText(dir.File("input.txt"), script);
    std::string output;
    int status = RunGame("--headless --fixed-dt 0.0166667 --frames " + std::to_string(frames) +
                             " --data '" VORTIGAN_DATA_DIR "' --user-dir '" + dir.File("user") +
                             "' --input '" + dir.File("input.txt") + "' --trace '" +
                             dir.File("trace.csv") + "' " + more,
                         &output);
    EXPECT_EQ(status, 0) << output;
    return ReadText(dir.File("user/settings.cfg"));
}

// The options as a player works them with the keys alone: the menu's last
// button, music to 0, effects up to 50 %, the mega jump to toggle, Jump's
// first key to J; then Escape twice and "Quit". The next run plays with them.
TEST(OptionsRun, ChosenByKeysOrMouseTheyHoldInTheNextRun) {
    TEMP_DIR dir;
    std::vector<std::pair<int, const char*>> taps = {
        {0, "RETURN"},                     // past the intro
        {400, "UP"},     {410, "RETURN"},  // "Options"
        {600, "DOWN"},   {605, "DOWN"},    // from "Controls" round to "Music"
        {620, "RETURN"}, {630, "DOWN"}};   // music 100 -> 0; "Effects"
    for (int frame = 640; frame < 700; frame += 10) {
        taps.push_back({frame, "RETURN"});  // 100 -> 0 -> 10 ... -> 50
    }
    taps.insert(taps.end(), {{700, "DOWN"},
                             {710, "DOWN"},
                             {720, "DOWN"},
                             {730, "RETURN"},
                             {740, "DOWN"},
                             {750, "DOWN"},
                             {760, "DOWN"},
                             {770, "RETURN"}});
    for (int frame = 970; frame < 1020; frame += 10) {
        taps.push_back({frame, "DOWN"});  // Jump's first slot
    }
    taps.insert(taps.end(), {{1020, "RETURN"},
                             {1030, "J"},
                             {1060, "ESCAPE"},
                             {1110, "ESCAPE"},
                             {1160, "UP"},
                             {1170, "UP"},
                             {1180, "RETURN"}});  // "Quit"
    const std::string chosen = RunWith(dir, Taps(taps), 1300);
    EXPECT_EQ(ReadTraceRows(dir.File("trace.csv")).size(), 1181u);  // quit, not out of frames
    for (const char* line :
         {"music = 0\n", "effects = 50\n", "megajump = toggle\n", "key.jump = J, W\n"}) {
        EXPECT_NE(chosen.find(line), std::string::npos) << line << chosen;
    }

    // J hops; Space once aims, and only the second press launches.
    RunWith(dir, "200 +J\n201 -J\n280 +SPACE\n281 -SPACE\n320 +SPACE\n321 -SPACE\n", 330,
            "--level 0");
    auto rows = ReadTraceRows(dir.File("trace.csv"));
    auto at = [&rows](int frame, int column) { return std::stof(rows[size_t(frame)][column]); };
    constexpr int Y = 4, VX = 5;
    EXPECT_LT(at(215, Y), at(199, Y) - 40.0f);
    EXPECT_EQ(at(319, VX), 0.0f);
    EXPECT_GT(at(322, VX), 100.0f);

    // By mouse: the cursor from the middle onto "Options", then onto "Music",
    // "Effects" (six clicks: 100 -> 0 -> ... -> 50) and "Mega jump".
    std::string script =
        "0 +RETURN\n1 -RETURN\n300 mouse 127 80\n400 +LBUTTON\n401 -LBUTTON\n"
        "450 mouse 7 -157\n500 +LBUTTON\n501 -LBUTTON\n550 mouse 0 24\n";
    for (int frame = 560; frame < 620; frame += 10) {
        script += std::to_string(frame) + " +LBUTTON\n" + std::to_string(frame + 1) + " -LBUTTON\n";
    }
    TEMP_DIR mouse;
    const std::string clicked =
        RunWith(mouse, script + "650 mouse 0 72\n700 +LBUTTON\n701 -LBUTTON\n", 720);
    for (const char* line : {"music = 0\n", "effects = 50\n", "megajump = toggle\n"}) {
        EXPECT_NE(clicked.find(line), std::string::npos) << line << clicked;
    }
}

}  // namespace
