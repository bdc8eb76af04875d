// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Any bytes as any data file, read through the game's one careful path: a
// whole read gives back exactly the bytes, a head read their start, and a
// read failing at some offset gives nothing at all. The first two bytes
// pick the failing offset (0xFFFF: none); the rest is the file. Returns an
// empty string when all is well, otherwise what went wrong.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/data_file.h"
#include "tests/fuzz/scratch_file.h"

inline std::string CheckDataFileBytes(const uint8_t* data, size_t size) {
    if (size < 2) {
        return "";
    }
    const size_t failAt = size_t(data[0]) | size_t(data[1]) << 8;
    const std::string content(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string path = SCRATCH_FOLDER::Write("data.bin", data + 2, size - 2);
    const FILES::KIND kinds[] = {FILES::KIND::MAP,     FILES::KIND::PICTURE, FILES::KIND::SOUND,
                                 FILES::KIND::TUNE,    FILES::KIND::TEXT,    FILES::KIND::SCRIPT,
                                 FILES::KIND::SETTINGS};
    std::string bytes;
    for (FILES::KIND kind : kinds) {
        FILES::RESULT result = FILES::Read(path, kind, &bytes);
        if (content.size() > FILES::SizeCap(kind)) {
            if (result != FILES::RESULT::TOO_LARGE || !bytes.empty()) {
                return "a file larger than its kind's cap was read";
            }
        } else if (result != FILES::RESULT::OK || bytes != content) {
            return "a whole file read back differently";
        }
    }
    if (FILES::ReadHead(path, 4, &bytes) != FILES::RESULT::OK || bytes != content.substr(0, 4)) {
        return "the head of a file read back differently";
    }
    if (failAt == 0xFFFF) {
        return "";
    }
    // Reads come in large pieces, so a fault at any offset up to the end of
    // the file meets the read that reaches it.
    FILES::SetReadFault([failAt](const std::string&, size_t at) { return at >= failAt; });
    FILES::RESULT result = FILES::Read(path, FILES::KIND::MAP, &bytes);
    FILES::SetReadFault(nullptr);
    const bool reached = failAt <= content.size();
    if (reached && (result != FILES::RESULT::UNREADABLE || !bytes.empty())) {
        return "a read failing part-way still gave bytes";
    }
    if (!reached && (result != FILES::RESULT::OK || bytes != content)) {
        return "a fault past the end spoiled the read";
    }
    return "";
}
