// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one path every data file is read through: files that are no plain
// file, far too large or failing part-way are refused at once, and each
// reader of the game then behaves as it does for a missing file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "objects/bink.h"
#include "objects/hero.h"
#include "platform/data_file.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/music.h"
#include "platform/texture.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;
using FILES::KIND;
using FILES::RESULT;
using TEST_SUPPORT::TEMP_DIR;

// A file of `size` bytes that takes no room on the disk.
void MakeSparse(const std::string& path, off_t size) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, size), 0);
    close(fd);
}

// Fails every read of `path` once `offset` bytes of it have been read.
void FailReadsOf(const std::string& path, size_t offset) {
    FILES::SetReadFault([path, offset](const std::string& p, size_t at) {
        return fs::path(p).filename() == fs::path(path).filename() && at >= offset;
    });
}

class FileReading : public ::testing::Test {
protected:
    void TearDown() override { FILES::SetReadFault(nullptr); }
    TEMP_DIR Dir;
};

TEST_F(FileReading, OnlyWholePlainFilesOfTheirSizeAreRead) {
    std::string bytes;
    const std::string plain = Dir.File("plain");
    TEST_SUPPORT::WriteText(plain, "5 6 -1\n");
    EXPECT_EQ(FILES::Read(plain, KIND::MAP, &bytes), RESULT::OK);
    EXPECT_EQ(bytes, "5 6 -1\n");
    EXPECT_EQ(FILES::ReadHead(plain, 4, &bytes), RESULT::OK);
    EXPECT_EQ(bytes, "5 6 ");

    EXPECT_EQ(FILES::Read(Dir.File("none"), KIND::MAP, &bytes), RESULT::MISSING);
    EXPECT_EQ(FILES::Read(plain + "/below", KIND::MAP, &bytes), RESULT::MISSING);
    fs::create_directory(Dir.File("folder"));
    EXPECT_EQ(FILES::Read(Dir.File("folder"), KIND::MAP, &bytes), RESULT::NOT_A_FILE);
    EXPECT_EQ(FILES::ReadHead(Dir.File("folder"), 4, &bytes), RESULT::NOT_A_FILE);
    fs::create_symlink("loop", Dir.File("loop"));
    EXPECT_EQ(FILES::Read(Dir.File("loop"), KIND::MAP, &bytes), RESULT::UNREADABLE);

    // A pipe nobody writes to is refused at once, not waited on.
    ASSERT_EQ(mkfifo(Dir.File("pipe").c_str(), 0644), 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FILES::Read(Dir.File("pipe"), KIND::SCRIPT, &bytes), RESULT::NOT_A_FILE);
    EXPECT_EQ(FILES::ReadHead(Dir.File("pipe"), 4, &bytes), RESULT::NOT_A_FILE);

    // Past its kind's cap a file is refused without being read; a head of
    // a huge file is still just its head.
    MakeSparse(Dir.File("huge"), off_t(3) << 30);
    EXPECT_EQ(FILES::Read(Dir.File("huge"), KIND::TUNE, &bytes), RESULT::TOO_LARGE);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(FILES::ReadHead(Dir.File("huge"), 4, &bytes), RESULT::OK);
    EXPECT_EQ(bytes, std::string(4, '\0'));
    MakeSparse(Dir.File("text"), off_t(FILES::SizeCap(KIND::TEXT)));
    EXPECT_EQ(FILES::Read(Dir.File("text"), KIND::TEXT, &bytes), RESULT::OK);
    MakeSparse(Dir.File("text"), off_t(FILES::SizeCap(KIND::TEXT)) + 1);
    EXPECT_EQ(FILES::Read(Dir.File("text"), KIND::TEXT, &bytes), RESULT::TOO_LARGE);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // A file the player may not read (the superuser reads anything).
    if (geteuid() != 0) {
        fs::permissions(plain, fs::perms::none);
        EXPECT_EQ(FILES::Read(plain, KIND::MAP, &bytes), RESULT::UNREADABLE);
        fs::permissions(plain, fs::perms::owner_all);
    }

    // A read that fails part-way gives nothing, not the part before it.
    MakeSparse(Dir.File("long"), 200000);
    FailReadsOf(Dir.File("long"), 100000);
    EXPECT_EQ(FILES::Read(Dir.File("long"), KIND::PICTURE, &bytes), RESULT::UNREADABLE);
    EXPECT_TRUE(bytes.empty());
}

// Each reader of the game meets a read error part-way through its file and
// behaves as for a missing one: the map's log line and no level, no
// picture, a silent tune, no speech.
TEST_F(FileReading, ReadErrorsPartWayCountAsMissingFiles) {
    const fs::path data = fs::absolute(VORTIGAN_DATA_DIR);
    LOG::Open(Dir.File("debug.txt"));
    WORLD world{nullptr};
    HERO hero{nullptr, &world};
    world.LevelTable[0] = (data / "map/stage1-1.map").string();
    ASSERT_TRUE(world.LoadMap(0, &hero));
    FailReadsOf("stage1-1.map", 0);
    EXPECT_FALSE(world.LoadMap(0, &hero));
    LOG::Close();
    EXPECT_EQ(TEST_SUPPORT::ReadText(Dir.File("debug.txt")), "Faulty map file to load\n");

    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    for (const char* picture : {"textures/hero.dds", "textures/bg.jpg", "textures/tiles.bmp"}) {
        const std::string path = (data / picture).string();
        FILES::SetReadFault(nullptr);
        TEXTURE* whole = TEXTURE::LoadDefault(&device, path);
        EXPECT_NE(whole, nullptr) << picture;
        delete whole;
        FailReadsOf(path, 4096);
        EXPECT_EQ(TEXTURE::LoadDefault(&device, path), nullptr) << picture;
    }

    FailReadsOf("menu.mp3", 65536);
    MUSIC tune;
    tune.Load((data / "music/menu.mp3").string());
    tune.Play();
    EXPECT_FALSE(tune.IsPlaying());
    EXPECT_EQ(tune.Duration(), 0.0);

    BINK bink;
    bink.TextPath = (data / "bink/bink.txt").string();
    FailReadsOf("bink.txt", 0);
    bink.Speak(1);
    EXPECT_FALSE(bink.IsSpeaking());
    FILES::SetReadFault(nullptr);
    bink.Speak(1);
    EXPECT_TRUE(bink.IsSpeaking());
}

}  // namespace
