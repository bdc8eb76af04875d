// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A scratch folder of the process's own, for the checks whose parser reads a
// file rather than bytes: each input is written to a file there, and the
// folder is removed when the process ends.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class SCRATCH_FOLDER {
public:
    static const std::string& Path() {
        static SCRATCH_FOLDER folder;
        return folder.Dir;
    }
    // Writes the bytes to `name` in the folder, replacing what was there.
    static std::string Write(const std::string& name, const uint8_t* data, size_t size) {
        std::string path = Path() + "/" + name;
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            if (size > 0) {
                std::fwrite(data, 1, size, f);
            }
            std::fclose(f);
        }
        return path;
    }

private:
    SCRATCH_FOLDER() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vortigan-fuzz-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data())) {
            Dir = made;
        } else {
            std::abort();  // nowhere to put the inputs: nothing could be checked
        }
    }
    ~SCRATCH_FOLDER() {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    std::string Dir;
};
