// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as "settings.bin": the stored level is read the way the file
// describes it (its first four bytes, little-endian, missing bytes zero, a
// negative value counting as 0), and saving over such a file leaves exactly
// four bytes holding the new level, or the old file where the level is not
// higher. Returns an empty string when all is well, otherwise what went wrong.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/progress.h"
#include "tests/fuzz/scratch_file.h"

inline std::string CheckProgressBytes(const uint8_t* data, size_t size) {
    std::string path = SCRATCH_FOLDER::Write("settings.bin", data, size);
    uint32_t raw = 0;
    for (size_t i = 0; i < size && i < 4; ++i) {
        raw |= uint32_t(data[i]) << (8 * i);
    }
    const int want = int32_t(raw) < 0 ? 0 : int32_t(raw);
    const int got = LoadProgress(path);
    if (got != want) {
        return "read " + std::to_string(got) + ", the file holds " + std::to_string(want);
    }

    // A level that is not higher leaves the file byte for byte as it was.
    SaveProgress(path, want);
    SaveProgress(path, want - 1);
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) != size || ec) {
        return "saving a level that is not higher changed the file";
    }

    // A higher level replaces it with exactly four bytes, and nothing is
    // left beside it.
    if (want < INT_MAX) {
        SaveProgress(path, want + 1);
        if (std::filesystem::file_size(path, ec) != 4 || ec) {
            return "the saved file is not 4 bytes long";
        }
        if (LoadProgress(path) != want + 1) {
            return "the saved level does not read back";
        }
        if (std::filesystem::exists(path + ".new")) {
            return "a temporary file was left beside the saved one";
        }
    }
    return "";
}
