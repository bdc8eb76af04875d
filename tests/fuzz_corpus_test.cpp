// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fuzz targets' inputs replayed as ordinary tests: every file of each
// seed corpus, and every input a fuzzing run once found at fault (kept in
// the same folders as "finding-*"), goes through the same check the fuzz
// target runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/fuzz/bink_fuzz_check.h"
#include "tests/fuzz/data_file_fuzz_check.h"
#include "tests/fuzz/dds_fuzz_check.h"
#include "tests/fuzz/input_script_fuzz_check.h"
#include "tests/fuzz/map_fuzz_check.h"
#include "tests/fuzz/picture_fuzz_check.h"
#include "tests/fuzz/progress_fuzz_check.h"
#include "tests/test_support.h"

namespace {

using CHECK = std::string (*)(const uint8_t*, size_t);

// Runs every file of tests/fuzz/<corpus> through the check; returns how
// many there were.
size_t ReplayCorpus(const std::string& corpus, CHECK check) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& entry :
         fs::directory_iterator(fs::path(VORTIGAN_SOURCE_DIR) / "tests" / "fuzz" / corpus)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::vector<uint8_t> bytes = TEST_SUPPORT::ReadBytes(file.string());
        // A heap copy of exactly the file's size, so any read past its end
        // is a read past an allocation.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[std::max<size_t>(bytes.size(), 1)]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        EXPECT_EQ(check(exact.get(), bytes.size()), "") << corpus << "/" << file.filename();
    }
    return files.size();
}

TEST(FuzzCorpus, MapFiles) {
    EXPECT_GE(ReplayCorpus("map", CheckMapBytes), 8u);
}

TEST(FuzzCorpus, DataFiles) {
    EXPECT_GE(ReplayCorpus("data_file", CheckDataFileBytes), 7u);
}

TEST(FuzzCorpus, BinkText) {
    EXPECT_GE(ReplayCorpus("bink", CheckBinkBytes), 5u);
}

TEST(FuzzCorpus, ProgressFile) {
    EXPECT_GE(ReplayCorpus("progress", CheckProgressBytes), 6u);
}

TEST(FuzzCorpus, DdsFiles) {
    EXPECT_GE(ReplayCorpus("dds", CheckDdsBytes), 10u);
}

TEST(FuzzCorpus, PictureFiles) {
    EXPECT_GE(ReplayCorpus("picture", CheckPictureBytes), 7u);
}

TEST(FuzzCorpus, InputScripts) {
    EXPECT_GE(ReplayCorpus("input_script", CheckInputScriptBytes), 8u);
}

}  // namespace
