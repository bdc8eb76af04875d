// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// Every file the game reads goes through here, so that no file can hang or
// sink it: a directory, a named pipe or a device is refused without
// blocking, a file larger than any real one of its kind is refused before
// it is read, and a read that fails part-way counts as no file at all.
namespace FILES {

// What a file holds decides how large it may be.
enum class KIND {
    MAP,       // a level's tile map
    PICTURE,   // a JPEG, BMP or DDS picture
    SOUND,     // a sound effect
    TUNE,      // a music track
    TEXT,      // Bink's lines
    SCRIPT,    // an input script or recording
    SETTINGS,  // the progress and the display settings
};

enum class RESULT {
    OK,
    MISSING,     // no such file
    NOT_A_FILE,  // a directory, a pipe, a device
    TOO_LARGE,   // more bytes than a file of its kind ever holds
    UNREADABLE,  // there, but it could not be opened or read through
};

// The largest file of a kind that is read, in bytes.
size_t SizeCap(KIND kind);

// The whole file into *bytes (emptied on any failure).
RESULT Read(const std::string& path, KIND kind, std::string* bytes);

// At most `count` bytes from the start of the file, for files whose tail
// does not count; a regular file of any size is fine.
RESULT ReadHead(const std::string& path, size_t count, std::string* bytes);

// A few words for a message: "no such file", "not a regular file", ...
const char* Describe(RESULT result);

// Flushes and closes a file the game wrote with stdio (a trace, a
// recording); false when that or any earlier write (`failed`) went wrong,
// as on a full disk.
bool FinishWriting(std::FILE* file, bool failed);

// For tests: asked before every read of a file with its path and the offset
// reached; true makes that read fail as a failing disk would.
using READ_FAULT = std::function<bool(const std::string& path, size_t offset)>;
void SetReadFault(READ_FAULT fault);

}  // namespace FILES
