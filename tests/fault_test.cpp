// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game against a damaged installation and a hostile machine: each data
// file missing, replaced by garbage, a folder, a named pipe or a huge
// sparse file in turn, every picture, sound and
// tune damaged at once under the level replays, a per-user folder that
// cannot be written, and a process killed while it saves the progress.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/progress.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using TEST_SUPPORT::ReadText;
using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteText;

// Every file the data folder holds, and the level whose play uses it most.
struct DATA_FILE {
    const char* Path;
    int Level;
};

const DATA_FILE DATA_FILES[] = {
    {"bink/bink.txt", 3},  // his line in level 3 comes without waiting for the hero
    {"map/stage1-1.map", 0},
    {"map/stage1-2.map", 1},
    {"map/stage1-3.map", 2},
    {"map/stage1-boss.map", 3},
    {"map/stage2-1.map", 4},
    {"map/stage2-2.map", 5},
    {"map/stage2-3.map", 6},
    {"map/stage2-boss.map", 7},
    {"map/stage3-1.map", 8},
    {"map/stage3-2.map", 9},
    {"map/stage3-3.map", 10},
    {"map/stage3-boss.map", 11},
    {"music/boss.mp3", 3},
    {"music/boss2.mp3", 7},
    {"music/boss3.mp3", 11},
    {"music/inGame.mp3", 0},
    {"music/inGame2.mp3", 4},
    {"music/inGame3.mp3", 8},
    {"music/intro.mp3", 0},
    {"music/menu.mp3", 0},
    {"sounds/binkcalls.wav", 3},
    {"sounds/boss1dies.wav", 3},
    {"sounds/boss3dies.wav", 11},
    {"sounds/bossappears.wav", 7},
    {"sounds/bosshurt.wav", 3},
    {"sounds/bubblepop.wav", 0},
    {"sounds/carrot.wav", 0},
    {"sounds/deathray.wav", 11},
    {"sounds/doorclose.wav", 0},
    {"sounds/electricuted.wav", 11},
    {"sounds/explosion.wav", 11},
    {"sounds/flozer.wav", 4},
    {"sounds/flozer2.wav", 4},
    {"sounds/flozerhit.wav", 4},
    {"sounds/herohurt.wav", 0},
    {"sounds/hitwall.wav", 0},
    {"sounds/hotdog.wav", 0},
    {"sounds/inbubble.wav", 0},
    {"sounds/megajumpland.wav", 0},
    {"sounds/menumove.wav", 0},
    {"sounds/menuselect.wav", 0},
    {"sounds/smallhatfire.wav", 0},
    {"sounds/smallhathurt.wav", 0},
    {"sounds/teleport.wav", 7},
    {"sounds/toiletrise.wav", 0},
    {"textures/bg.jpg", 0},
    {"textures/bg2.jpg", 4},
    {"textures/bg3.jpg", 8},
    {"textures/boss1.dds", 3},
    {"textures/boss2.dds", 7},
    {"textures/boss3.dds", 11},
    {"textures/bubble.dds", 0},
    {"textures/deathray.dds", 11},
    {"textures/ending/end-bad.jpg", 0},
    {"textures/ending/end-good.jpg", 0},
    {"textures/fx.dds", 0},
    {"textures/helper.dds", 3},
    {"textures/hero.dds", 0},
    {"textures/intro/intro1.jpg", 0},
    {"textures/intro/intro2.jpg", 0},
    {"textures/intro/intro3.jpg", 0},
    {"textures/intro/intro4.jpg", 0},
    {"textures/intro/intro5.jpg", 0},
    {"textures/intro/menu.jpg", 0},
    {"textures/intro/mhero.dds", 0},
    {"textures/intro/text.dds", 0},
    {"textures/smallhats.dds", 0},
    {"textures/speech.dds", 3},
    {"textures/stuff.dds", 0},
    {"textures/stuff2.dds", 0},
    {"textures/tiles.bmp", 0},
};

enum class DAMAGE { MISSING, GARBAGE, FOLDER, PIPE, HUGE };

// Bytes a huge file claims (it takes no room on the disk).
constexpr off_t HUGE_SIZE = off_t(3) << 30;

// Bytes that are no file of any kind, the same on every run.
std::vector<uint8_t> Garbage(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> bytes(std::max<size_t>(size, 64));
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(rng());
    }
    return bytes;
}

// A copy of the baked data folder in `dir`: links to the real files, except
// for the damaged ones, which are left out or written as garbage.
void CopyData(const fs::path& dir, const std::set<std::string>& damaged, DAMAGE damage) {
    const fs::path data = fs::absolute(VORTIGAN_DATA_DIR);
    uint32_t seed = 1;
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string relative = fs::relative(entry.path(), data).generic_string();
        const fs::path target = dir / relative;
        fs::create_directories(target.parent_path());
        if (!damaged.count(relative)) {
            fs::create_symlink(entry.path(), target);
        } else if (damage == DAMAGE::GARBAGE) {
            TEST_SUPPORT::WriteBytes(target.string(), Garbage(entry.file_size(), seed++));
        } else if (damage == DAMAGE::FOLDER) {
            fs::create_directory(target);
        } else if (damage == DAMAGE::PIPE) {
            mkfifo(target.c_str(), 0644);
        } else if (damage == DAMAGE::HUGE) {
            TEST_SUPPORT::WriteBytes(target.string(), {});
            truncate(target.c_str(), HUGE_SIZE);
        }
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// The level's title card takes the first 180 frames. Then the hero walks,
// hops and charges a mega jump, Escape leaves for the menu and, once the
// key's 300 ms guard has passed, quits from it.
const char* const PLAY_SCRIPT =
    "0 +RIGHT\n"
    "200 +UP\n"
    "204 -UP\n"
    "240 +SPACE\n"
    "270 -SPACE\n"
    "300 -RIGHT\n"
    "330 +ESCAPE\n"
    "331 -ESCAPE\n"
    "360 +ESCAPE\n"
    "361 -ESCAPE\n";
constexpr int PLAY_FRAMES = 380;

class DamagedFile : public ::testing::TestWithParam<std::tuple<DATA_FILE, DAMAGE>> {};

// The game starts with the file missing or damaged, plays the level that
// uses it, and exits normally; the log holds the start and the end, and a
// line about the map only where the map is what was damaged.
TEST_P(DamagedFile, GamePlaysOnAndLogsOnlyWhatItShould) {
    const DATA_FILE& file = std::get<0>(GetParam());
    const DAMAGE damage = std::get<1>(GetParam());
    ASSERT_TRUE(fs::is_regular_file(fs::path(VORTIGAN_DATA_DIR) / file.Path))
        << file.Path << " is not in the baked data";
    TEMP_DIR temp;
    CopyData(temp.Path() / "data", {file.Path}, damage);
    WriteText(temp.File("input.txt"), PLAY_SCRIPT);
    std::string output;
    // A game stuck on a pipe is stopped after a while, and fails.
    int status = TEST_SUPPORT::RunGame(
        "--headless --fixed-dt 0.0166667 --frames " + std::to_string(PLAY_FRAMES) + " --level " +
            std::to_string(file.Level) + " --data '" + temp.File("data") + "' --user-dir '" +
            temp.File("user") + "' --input '" + temp.File("input.txt") + "' --trace '" +
            temp.File("trace.csv") + "'",
        &output);
    EXPECT_EQ(status, 0) << output;

    const bool map = std::string(file.Path).rfind("map/", 0) == 0;
    std::vector<std::string> log = Lines(ReadText(temp.File("user/debug.txt")));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Application initiated");
    std::vector<std::string> expected = {"Application initiated"};
    if (map && damage != DAMAGE::GARBAGE) {
        // The level cannot start; the game shows its intro instead, Space
        // skips it and Escape quits from the menu.
        expected.push_back("Faulty map file to load");
    } else if (map && log.size() == 3) {
        expected.push_back("No map data in map file");  // unless the garbage read as tiles
    }
    expected.push_back("Application terminated");
    EXPECT_EQ(log, expected) << output;

    // It played: the level ran past its title card (or, without its map,
    // the intro ran) for every frame until it quit.
    std::vector<std::string> trace = Lines(ReadText(temp.File("trace.csv")));
    EXPECT_GE(trace.size(), 300u);
}

std::string DamageName(const ::testing::TestParamInfo<DamagedFile::ParamType>& info) {
    std::string name = std::get<0>(info.param).Path;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    static const char* const DAMAGE_NAMES[] = {"_missing", "_garbage", "_folder", "_pipe", "_huge"};
    return name + DAMAGE_NAMES[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Data, DamagedFile,
                         ::testing::Combine(::testing::ValuesIn(DATA_FILES),
                                            ::testing::Values(DAMAGE::MISSING, DAMAGE::GARBAGE,
                                                              DAMAGE::FOLDER, DAMAGE::PIPE,
                                                              DAMAGE::HUGE)),
                         DamageName);

// The list above is the whole data folder: a file added to the data is
// damaged in turn too.
TEST(DataFiles, EveryBakedFileIsDamagedInTurn) {
    std::set<std::string> listed;
    for (const DATA_FILE& f : DATA_FILES) {
        listed.insert(f.Path);
    }
    const fs::path data = fs::absolute(VORTIGAN_DATA_DIR);
    std::set<std::string> baked;
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        if (entry.is_regular_file()) {
            baked.insert(fs::relative(entry.path(), data).generic_string());
        }
    }
    EXPECT_EQ(baked, listed);
}

// The level replays, with every picture, sound and tune replaced by
// garbage: nothing the game only shows or plays may change how a level is
// played, so each replay still ends its level as recorded.
TEST(DamagedMedia, ReplaysStillFinishTheirLevels) {
    const fs::path replays = fs::path(VORTIGAN_SOURCE_DIR) / "tests" / "replays";
    std::set<std::string> media;
    for (const DATA_FILE& f : DATA_FILES) {
        std::string p = f.Path;
        if (p.rfind("textures/", 0) == 0 || p.rfind("sounds/", 0) == 0 ||
            p.rfind("music/", 0) == 0) {
            media.insert(p);
        }
    }
    TEMP_DIR temp;
    CopyData(temp.Path() / "data", media, DAMAGE::GARBAGE);
    int played = 0;
    for (int level = 0; level < 12; ++level) {
        char name[32];
        std::snprintf(name, sizeof name, "level%02d", level);
        const std::string script = (replays / (std::string(name) + ".txt")).string();
        const std::string summary = ReadText((replays / (std::string(name) + ".summary")).string());
        long end = 0;
        if (!fs::exists(script) || std::sscanf(summary.c_str(), "frame %ld", &end) != 1) {
            continue;
        }
        ++played;
        const std::string trace = temp.File(std::string(name) + ".csv");
        std::string output;
        ASSERT_EQ(
            TEST_SUPPORT::RunGame(
                "--headless --fixed-dt 0.0166667 --level " + std::to_string(level) + " --frames " +
                    std::to_string(end + 1) + " --data '" + temp.File("data") + "' --user-dir '" +
                    temp.File("user") + "' --input '" + script + "' --trace '" + trace + "'",
                &output),
            0)
            << name << ": " << output;
        // The frame the level was left on, with the score and lives then.
        std::string got;
        for (const std::vector<std::string>& cells : TEST_SUPPORT::ReadTraceRows(trace)) {
            if (cells.size() < 10) {
                continue;
            }
            if (std::stoi(cells[2]) != level || std::stoi(cells[1]) == 102) {
                got = "frame " + cells[0] + "\nscore " + cells[9] + "\nlives " + cells[8] + "\n";
                break;
            }
        }
        EXPECT_EQ(got, summary) << name << " ended otherwise with its pictures, sounds and music "
                                << "damaged";
    }
    EXPECT_GT(played, 0) << "no replays to play";
}

// Finishes level 1-1 with F1, leaves for the menu, clicks "Start" and then
// "Level 1-2", which only the progress just made unlocks.
const char* const PROGRESS_SCRIPT =
    "200 +F1\n"
    "205 -F1\n"
    "300 +ESCAPE\n"
    "301 -ESCAPE\n"
    "300 mouse -1000 -1000\n"  // the cursor to the top-left corner...
    "310 mouse 400 180\n"      // ...then onto "Start" at (600, 270)
    "500 +LBUTTON\n"
    "501 -LBUTTON\n"
    "510 mouse 0 -133\n"  // onto "Level 1-2" at (600, 70)
    "600 +LBUTTON\n"
    "601 -LBUTTON\n";

// The last line of a trace: state and level.
std::pair<int, int> LastState(const std::string& trace) {
    std::vector<std::string> lines = Lines(ReadText(trace));
    int frame = 0, state = 0, level = 0;
    if (lines.size() < 2 ||
        std::sscanf(lines.back().c_str(), "%d,%d,%d,", &frame, &state, &level) != 3) {
        return {-100, -100};
    }
    return {state, level};
}

// A per-user folder that cannot be made (its path runs through a file, which
// stops even the superuser): the game plays, writes nothing, and keeps the
// progress made in this run in memory, so the level just reached can be
// chosen. The same run with a usable folder saves it.
TEST(UserFolder, UnwritableFolderKeepsProgressInMemory) {
    TEMP_DIR temp;
    WriteText(temp.File("input.txt"), PROGRESS_SCRIPT);
    WriteText(temp.File("blocker"), "a file, not a folder");
    for (bool writable : {true, false}) {
        const std::string user = writable ? temp.File("user") : temp.File("blocker") + "/user";
        const std::string trace = temp.File(writable ? "good.csv" : "bad.csv");
        std::string output;
        ASSERT_EQ(TEST_SUPPORT::RunGame("--headless --fixed-dt 0.0166667 --frames 700 --level 0 "
                                        "--data '" VORTIGAN_DATA_DIR "' --user-dir '" +
                                            user + "' --input '" + temp.File("input.txt") +
                                            "' --trace '" + trace + "'",
                                        &output),
                  0)
            << output;
        EXPECT_EQ(LastState(trace), std::make_pair(-1, 1))
            << (writable ? "usable" : "unwritable") << " folder: Level 1-2 was not entered";
        if (writable) {
            EXPECT_EQ(TEST_SUPPORT::ReadBytes(temp.File("user/settings.bin")),
                      (std::vector<uint8_t>{1, 0, 0, 0}));
        }
    }
    EXPECT_FALSE(fs::exists(temp.File("blocker") + "/user"));
}

// A process saving higher and higher levels, killed at random moments: the
// file always holds one whole value, never less than the one before.
TEST(ProgressFile, KilledWhileSavingLeavesOldOrNewValue) {
    TEMP_DIR temp;
    const std::string path = temp.File("settings.bin");
    SaveProgress(path, 5);
    std::mt19937 rng(7);
    int last = 5;
    int changed = 0;
    for (int round = 0; round < 80; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int level = last + 1;; ++level) {
                SaveProgress(path, level);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + rng() % 40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        std::vector<uint8_t> bytes = TEST_SUPPORT::ReadBytes(path);
        ASSERT_EQ(bytes.size(), 4u) << "round " << round;
        int value = LoadProgress(path);
        ASSERT_GE(value, last) << "round " << round;
        changed += value > last;
        last = value;
    }
    // The child got to save between the kills, so the kills met saves.
    EXPECT_GT(changed, 10);
}

}  // namespace
