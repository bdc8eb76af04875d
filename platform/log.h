// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// The debug log: plain lines in "debug.txt" in the per-user folder. One
// shared stream serves every LOG instance; each line is written whole and
// flushed at once so the file is complete even if the game dies.
class LOG {
public:
    // Opens (truncating) the shared stream. Called once at start-up, before
    // anything is logged; if the file cannot be opened every write is dropped.
    static bool Open(const std::string& path);
    static void Close();

    std::ostream& WriteLine(const char* text);
    std::ostream& Write(const char* text);
    std::ostream& Write(int32_t value);
    std::ostream& Write(float value);
    std::ostream& WriteBool(bool value);
    std::ostream& WriteVector(float a, float b, float c);
    int NewLine(int count);
};
