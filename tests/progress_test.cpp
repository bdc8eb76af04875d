// The saved progress: it survives runs, only grows, and a damaged or
// unwritable file never loses what the player has reached.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/progress.h"
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

TEST(Progress, UnwritableFileKeepsTheOldValue) {
    TEMP_DIR dir;
    // A folder that cannot exist: its parent is a plain file.
    WriteBytes(dir.File("plain"), {1});
    std::string nowhere = dir.File("plain") + "/settings.bin";
    SaveProgress(nowhere, 3);
    EXPECT_EQ(LoadProgress(nowhere), 0);

    // The new file cannot be made beside the old one (a folder is in its
    // way): the old file stays whole and keeps its value.
    std::string file = dir.File("settings.bin");
    WriteBytes(file, {2, 0, 0, 0});
    std::filesystem::create_directory(file + ".new");
    SaveProgress(file, 5);
    EXPECT_EQ(ReadBytes(file), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_TRUE(std::filesystem::is_directory(file + ".new"));
}

}  // namespace
