// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line as tests and players use it: relative paths mean the
// folder the game was started from, every output that cannot be written
// fails the run, a live session replays frame for frame from its
// recording, and the window's saved size stays on the desktop.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "platform/device.h"
#include "platform/platform.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using TEST_SUPPORT::ReadText;
using TEST_SUPPORT::RunGameAfter;
using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteText;

// Level 1-1 ended at once with F1: the progress is saved a second later.
const char* const FINISH_SCRIPT = "200 +F1\n205 -F1\n";

// A data folder of links to the baked one's folders, so that a file the
// game wrongly writes beside its data lands in the test's own folder.
std::string LinkData(const TEMP_DIR& dir) {
    fs::create_directory(dir.File("data"));
    for (const auto& entry : fs::directory_iterator(fs::absolute(VORTIGAN_DATA_DIR))) {
        fs::create_directory_symlink(entry.path(), dir.Path() / "data" / entry.path().filename());
    }
    return dir.File("data");
}

TEST(CommandLine, RelativePathsMeanTheFolderTheGameStartedIn) {
    TEMP_DIR dir;
    const std::string data = LinkData(dir);
    fs::create_directory(dir.File("start"));
    WriteText(dir.File("start/input.txt"), FINISH_SCRIPT);
    std::string output;
    ASSERT_EQ(
        RunGameAfter("cd '" + dir.File("start") + "' &&",
                     "--headless --fixed-dt 0.0166667 --frames 330 --level 0 --data '" + data +
                         "' --user-dir user --input input.txt --record rec.txt "
                         "--trace trace.csv --screenshot 250:shot.png",
                     &output),
        0)
        << output;
    EXPECT_EQ(TEST_SUPPORT::ReadBytes(dir.File("start/user/settings.bin")),
              (std::vector<uint8_t>{1, 0, 0, 0}));
    for (const char* made : {"user/debug.txt", "rec.txt", "trace.csv", "shot.png"}) {
        EXPECT_TRUE(fs::is_regular_file(dir.Path() / "start" / made)) << made;
    }

    // Without a home to keep a per-user folder in, the folder the game was
    // started from takes the progress, never the data folder.
    WriteText(dir.File("no-home"), "a file, not a folder");
    ASSERT_EQ(RunGameAfter("cd '" + dir.File("start") + "' && env -u XDG_DATA_HOME HOME='" +
                               dir.File("no-home") + "'",
                           "--headless --fixed-dt 0.0166667 --frames 330 --level 0 --data '" +
                               data + "' --input input.txt",
                           &output),
              0)
        << output;
    EXPECT_EQ(TEST_SUPPORT::ReadBytes(dir.File("start/settings.bin")),
              (std::vector<uint8_t>{1, 0, 0, 0}));
    for (const auto& entry : fs::directory_iterator(dir.File("data"))) {
        EXPECT_TRUE(entry.is_symlink()) << entry.path() << " was written beside the data";
    }
}

// Each output that cannot be written, and an input that is no file, fails
// the run with status 2 and says which; the screenshots that could be
// written are there.
TEST(CommandLine, FailuresToReadOrWriteAreReported) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to stand for a full disk";
    }
    TEMP_DIR dir;
    fs::create_directory(dir.File("folder"));
    const std::string run = "--headless --fixed-dt 0.0166667 --frames 20 --data '" VORTIGAN_DATA_DIR
                            "' --user-dir '" +
                            dir.File("user") + "' ";
    struct CASE {
        std::string Options;
        std::string Says;
    };
    const CASE cases[] = {
        {"--trace /dev/full", "cannot write the trace /dev/full"},
        {"--record /dev/full", "cannot write the input recording /dev/full"},
        {"--screenshot 5:/dev/full --screenshot 6:'" + dir.File("ok.png") + "'",
         "cannot write screenshot /dev/full"},
        {"--input '" + dir.File("folder") + "'", "not a regular file"},
        {"--user-dir ''", "needs a value, not an empty one"},
    };
    for (const CASE& c : cases) {
        std::string output;
        EXPECT_EQ(RunGameAfter("", run + c.Options, &output), 2) << c.Options << "\n" << output;
        EXPECT_NE(output.find(c.Says), std::string::npos) << c.Options << "\n" << output;
    }
    EXPECT_TRUE(fs::is_regular_file(dir.File("ok.png")));
}

// A session played in a (dummy) window at the measured frame time, its keys
// from a script, replays from its recording to the very same trace.
TEST(Recording, LiveSessionReplaysToTheSameTrace) {
    TEMP_DIR dir;
    // The title card passes at a steady 60 frames a second; then the frames
    // come as fast as the machine draws them.
    std::string keys;
    for (int frame = 0; frame < 200; ++frame) {
        keys += std::to_string(frame) + " dt 0.0166667\n";
    }
    keys += "0 +RIGHT\n300 +UP\n310 -UP\n400 +SPACE\n450 -SPACE\n600 -RIGHT\n600 +LEFT\n";
    WriteText(dir.File("keys.txt"), keys);
    const std::string common = "--level 0 --frames 900 --no-vsync --data '" VORTIGAN_DATA_DIR
                               "' --user-dir '" +
                               dir.File("user") + "' ";
    std::string output;
    ASSERT_EQ(RunGameAfter("SDL_VIDEODRIVER=dummy",
                           common + "--windowed --input '" + dir.File("keys.txt") + "' --record '" +
                               dir.File("rec.txt") + "' --trace '" + dir.File("live.csv") + "'",
                           &output),
              0)
        << output;
    ASSERT_EQ(RunGameAfter("",
                           common + "--headless --input '" + dir.File("rec.txt") + "' --trace '" +
                               dir.File("replay.csv") + "'",
                           &output),
              0)
        << output;
    const std::string live = ReadText(dir.File("live.csv"));
    EXPECT_EQ(ReadText(dir.File("replay.csv")), live);
    // The hero got going in the live run: the replay had something to repeat.
    std::istringstream lines(live);
    std::string line;
    std::string last;
    while (std::getline(lines, line)) {
        last = line;
    }
    EXPECT_EQ(last.rfind("899,-1,0,", 0), 0u) << last;
    EXPECT_EQ(last.rfind("899,-1,0,320,384,", 0), std::string::npos) << last;
}

// A saved window larger than the desktop opens at the desktop's size and
// is written back so; resizing writes nothing until the game ends.
TEST(WindowSettings, SizeStaysOnTheDesktopAndIsWrittenOnce) {
    TEMP_DIR dir;
    fs::create_directory(dir.File("user"));
    WriteText(dir.File("user/display.cfg"), "fullscreen 0\nwidth 16384\nheight 16384\n");
    std::string output;
    ASSERT_EQ(RunGameAfter(
                  "SDL_VIDEODRIVER=dummy",
                  "--frames 3 --data '" VORTIGAN_DATA_DIR "' --user-dir '" + dir.File("user") + "'",
                  &output),
              0)
        << output;
    int width = 0, height = 0;
    // The old display file is folded into the settings file.
    std::string text = ReadText(dir.File("user/settings.cfg"));
    size_t at = text.find("fullscreen = off");
    ASSERT_NE(at, std::string::npos) << text;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "fullscreen = off\nwidth = %d\nheight = %d", &width,
                          &height),
              2)
        << text;
    EXPECT_LE(width, 4096);  // the dummy desktop is 1024 x 768
    EXPECT_LE(height, 4096);

    PLATFORM_OPTIONS options;
    options.Windowed = options.WindowedGiven = true;
    std::string error;
    ASSERT_TRUE(PLATFORM::Init(options, &error)) << error;
    DEVICE device;
    device.SettingsPath = dir.File("resized.cfg");
    ASSERT_TRUE(device.Create(options, &error)) << error;
    for (int step = 0; step < 250; ++step) {
        device.WindowResized(400 + step, 300 + step);
    }
    EXPECT_FALSE(fs::exists(device.SettingsPath));
    device.Destroy();
    PLATFORM::Shutdown();
    EXPECT_NE(
        ReadText(dir.File("resized.cfg")).find("fullscreen = off\nwidth = 649\nheight = 549\n"),
        std::string::npos);
}

}  // namespace
