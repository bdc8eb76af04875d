// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The saved progress: it survives runs, only grows, and a damaged or
// unwritable file never loses what the player has reached.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/progress.h"
#include "platform/data_file.h"
#include "platform/log.h"
#include "tests/test_support.h"

namespace {

using TEST_SUPPORT::ReadBytes;
using TEST_SUPPORT::TEMP_DIR;
using TEST_SUPPORT::WriteBytes;

TEST(Progress, FirstRunThenOnlyEverGrows) {
    TEMP_DIR dir;
    std::string file = dir.File("settings.bin");
    EXPECT_EQ(LoadProgress(file), 0);  // no file yet: only the first level

    SaveProgress(file, 1);
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{1, 0, 0, 0}));

    SaveProgress(file, 4);
    SaveProgress(file, 1);  // replaying an early level keeps the later one open
    SaveProgress(file, 4);
    EXPECT_EQ(LoadProgress(file), 4);

    SaveProgress(file, 12);  // the last level finished
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{12, 0, 0, 0}));
    SaveProgress(file, 0x01020304);
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{4, 3, 2, 1}));

    // Nothing is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Progress, ShortAndLongFiles) {
    TEMP_DIR dir;
    std::string file = dir.File("settings.bin");
    WriteBytes(file, {});
    EXPECT_EQ(LoadProgress(file), 0);
    WriteBytes(file, {3});  // the bytes there are the low bytes
    EXPECT_EQ(LoadProgress(file), 3);
    WriteBytes(file, {0x34, 0x12});
    EXPECT_EQ(LoadProgress(file), 0x1234);
    WriteBytes(file, {5, 0, 0, 0, 9, 9, 9, 9});  // only the first four count
    EXPECT_EQ(LoadProgress(file), 5);

    // A short file is grown to a whole one when the player gets further.
    WriteBytes(file, {3});
    SaveProgress(file, 2);
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{3}));
    SaveProgress(file, 6);
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{6, 0, 0, 0}));
}

TEST(Progress, NegativeValueCountsAsNothingReached) {
    TEMP_DIR dir;
    std::string file = dir.File("settings.bin");
    WriteBytes(file, {0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(LoadProgress(file), 0);  // the first level stays open
    WriteBytes(file, {0, 0, 0, 0x80});
    EXPECT_EQ(LoadProgress(file), 0);
    SaveProgress(file, 1);
    EXPECT_EQ(LoadProgress(file), 1);
}

// Saves `level` in a child whose files may hold at most `limit` bytes, as
// on a full disk; returns what SaveProgress answered there.
bool SaveOnAFullDisk(const std::string& file, int level, rlim_t limit) {
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
        rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(SaveProgress(file, level) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(Progress, UnwritableFileKeepsTheOldValueAndSaysSo) {
    TEMP_DIR dir;
    LOG::Open(dir.File("debug.txt"));
    // A folder that cannot exist: its parent is a plain file.
    WriteBytes(dir.File("plain"), {1});
    std::string nowhere = dir.File("plain") + "/settings.bin";
    EXPECT_FALSE(SaveProgress(nowhere, 3));
    EXPECT_EQ(LoadProgress(nowhere), 0);

    // The disk is full: the old file stays whole, nothing is left beside it.
    std::string file = dir.File("settings.bin");
    WriteBytes(file, {2, 0, 0, 0});
    EXPECT_FALSE(SaveOnAFullDisk(file, 5, 2));
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_TRUE(SaveOnAFullDisk(file, 5, 4));
    EXPECT_EQ(LoadProgress(file), 5);
    LOG::Close();
    std::string log = TEST_SUPPORT::ReadText(dir.File("debug.txt"));
    EXPECT_NE(log.find("Progress not saved: cannot open the folder of " + nowhere),
              std::string::npos)
        << log;

    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 3);  // plain, debug.txt, settings.bin
}

// A file that is there but cannot be read, or is read-only, is never
// replaced: finishing an early level must not overwrite a late one.
TEST(Progress, FileThatCannotBeReadOrIsReadOnlyIsNeverReplaced) {
    TEMP_DIR dir;
    std::string file = dir.File("settings.bin");
    WriteBytes(file, {9, 0, 0, 0});
    FILES::SetReadFault([](const std::string&, size_t) { return true; });
    EXPECT_FALSE(SaveProgress(file, 4));
    FILES::SetReadFault(nullptr);
    EXPECT_EQ(LoadProgress(file), 9);

    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_FALSE(SaveProgress(file, 10));
    EXPECT_EQ(LoadProgress(file), 9);
    if (geteuid() != 0) {  // the superuser reads anything
        std::filesystem::permissions(file, std::filesystem::perms::none);
        EXPECT_FALSE(SaveProgress(file, 10));
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
        EXPECT_EQ(LoadProgress(file), 9);
    }
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);

    std::filesystem::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);  // refused at once, not waited on
    EXPECT_FALSE(SaveProgress(file, 4));
    EXPECT_EQ(LoadProgress(file), 0);
    EXPECT_TRUE(std::filesystem::is_fifo(file));
}

// Saves synced elsewhere through a link keep the link; temporary files a
// crash left behind go at the next save.
TEST(Progress, WritesThroughALinkAndSweepsStrays) {
    TEMP_DIR dir;
    std::filesystem::create_directory(dir.File("sync"));
    std::string target = dir.File("sync/vortigan.bin");
    std::string link = dir.File("settings.bin");
    std::filesystem::create_symlink("sync/vortigan.bin", link);
    WriteBytes(dir.File("settings.bin.new"), {7});
    WriteBytes(dir.File("sync/vortigan.bin.Ab12Cd.tmp"), {7});
    WriteBytes(dir.File("sync/other.tmp"), {7});

    EXPECT_TRUE(SaveProgress(link, 3));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{3, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("sync/vortigan.bin.Ab12Cd.tmp")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("sync/other.tmp")));
    EXPECT_TRUE(SaveProgress(link, 4));
    EXPECT_EQ(LoadProgress(link), 4);
}

// Two copies of the game finishing levels at once: the file is never seen
// empty or cut, and never goes backwards.
TEST(Progress, TwoGamesSavingAtOnceNeverGoBackwards) {
    TEMP_DIR dir;
    std::string file = dir.File("settings.bin");
    constexpr int ROUNDS = 400;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            // Each saves rising levels, one copy the odd ones, one the even.
            for (int level = 1 + c; level <= 2 * ROUNDS; level += 2) {
                SaveProgress(file, level);
            }
            _exit(0);
        }
    }
    int last = 0;
    int seen = 0;
    int running = 2;
    for (;;) {
        int status = 0;
        while (running > 0 && waitpid(-1, &status, WNOHANG) > 0) {
            --running;
        }
        const bool done = running == 0;
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            ASSERT_EQ(std::filesystem::file_size(file, ec), 4u);
            int value = LoadProgress(file);
            ASSERT_GE(value, last);
            last = value;
            ++seen;
        }
        if (done) {
            break;
        }
    }
    EXPECT_EQ(LoadProgress(file), 2 * ROUNDS);
    EXPECT_GT(seen, 10);
}

}  // namespace
