// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every level played through by its recorded replay, headless at 60 frames
// a second, in the real game. A change to the physics, the maps or the cast
// that breaks a level, or moves where and when it ends, fails here.
//
// Each replay tests/replays/levelNN.txt has a summary levelNN.summary
// beside it: the frame on which the level was left, and the score and
// lives then. When a level is changed on purpose, find a new way through
// it with vortigan_solve (tools/levels) and run this test once with
// VORTIGAN_WRITE_SUMMARIES=1 to record the new summaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

constexpr int GS_TO_BAD_ENDING = 101;
constexpr int GS_TO_GOOD_ENDING = 102;

struct TRACE_LINE {
    long Frame = 0;
    int State = 0;
    int Level = 0;
    int Lives = 0;
    long Score = 0;
};

std::vector<TRACE_LINE> ReadTrace(const std::string& path) {
    std::vector<TRACE_LINE> lines;
    for (const std::vector<std::string>& cells : TEST_SUPPORT::ReadTraceRows(path)) {
        if (cells.size() < 12) {
            continue;
        }
        TRACE_LINE t;
        t.Frame = std::stol(cells[0]);
        t.State = std::stoi(cells[1]);
        t.Level = std::stoi(cells[2]);
        t.Lives = std::stoi(cells[8]);
        t.Score = std::stol(cells[9]);
        lines.push_back(t);
    }
    return lines;
}

// The last frame any event of the script names.
long LastScriptFrame(const std::string& script) {
    std::istringstream in(script);
    std::string line;
    long last = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        last = std::max(last, std::stol(line));
    }
    return last;
}

class Replay : public ::testing::TestWithParam<int> {};

TEST_P(Replay, FinishesItsLevelAsRecorded) {
    int level = GetParam();
    char name[32];
    std::snprintf(name, sizeof name, "level%02d", level);
    std::string dir = std::string(VORTIGAN_SOURCE_DIR) + "/tests/replays/";
    std::string script = dir + name + ".txt";
    std::string scriptText = TEST_SUPPORT::ReadText(script);
    if (scriptText.empty()) {
        GTEST_SKIP() << "no replay recorded for " << name << " yet";
    }
    std::string summaryPath = dir + name + ".summary";
    std::string summary = TEST_SUPPORT::ReadText(summaryPath);
    bool write = std::getenv("VORTIGAN_WRITE_SUMMARIES") != nullptr;
    ASSERT_TRUE(write || !summary.empty()) << "no summary beside " << script;

    TEST_SUPPORT::TEMP_DIR temp;
    std::string trace = temp.File("trace.csv");
    // Room after the last key for the toilet's ride, or for a beaten boss to
    // turn over and fall out of its arena (some 14 s), and the level-end
    // fade; once the end is known the run stops right there.
    long frames = LastScriptFrame(scriptText) + 1800;
    long recordedEnd = 0;
    if (!write && std::sscanf(summary.c_str(), "frame %ld", &recordedEnd) == 1) {
        frames = std::min(frames, recordedEnd + 1);
    }
    std::string args = "--headless --fixed-dt 0.0166667 --level " + std::to_string(level) +
                       " --frames " + std::to_string(frames) + " --data '" +
                       std::string(VORTIGAN_DATA_DIR) + "' --user-dir '" + temp.Path().string() +
                       "' --input '" + script + "' --trace '" + trace + "'";
    std::string output;
    ASSERT_EQ(TEST_SUPPORT::RunGame(args, &output), 0) << output;

    std::vector<TRACE_LINE> lines = ReadTrace(trace);
    ASSERT_FALSE(lines.empty());
    const TRACE_LINE* end = nullptr;
    for (const TRACE_LINE& t : lines) {
        if (t.State == GS_TO_BAD_ENDING) {
            FAIL() << name << ": the game was lost on frame " << t.Frame;
        }
        if (t.Level != level || t.State == GS_TO_GOOD_ENDING) {
            end = &t;
            break;
        }
    }
    ASSERT_NE(end, nullptr) << name << ": the level never ended; the hero stood at the end of "
                            << frames << " frames with " << lines.back().Lives << " lives";
    std::ostringstream got;
    got << "frame " << end->Frame << "\nscore " << end->Score << "\nlives " << end->Lives << "\n";
    if (write) {
        TEST_SUPPORT::WriteText(summaryPath, got.str());
        return;
    }
    EXPECT_EQ(got.str(), summary) << name << " ended otherwise than recorded";
}

INSTANTIATE_TEST_SUITE_P(Levels, Replay, ::testing::Range(0, 12), [](const auto& info) {
    char name[16];
    std::snprintf(name, sizeof name, "Level%02d", info.param);
    return std::string(name);
});

}  // namespace
