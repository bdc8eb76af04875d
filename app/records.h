// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "world/world.h"

// The player's best time and best score on each level, kept in their own
// file ("records.txt", one "level seconds score" line per level played) so
// the progress file stays as it always was.
struct LEVEL_RECORD {
    float Time = 0.0f;  // s, the fastest finish; 0 before the first
    int Score = 0;      // the highest score at a finish
};

class RECORDS {
public:
    // Reads the file; lines that cannot be read are skipped.
    void Load(const std::string& path);
    // A level finished in `time` with `score`: kept, and the file written,
    // when either is a best. False when the file could not be written.
    bool Finish(int level, float time, int score);
    const LEVEL_RECORD& Of(int level) const;

private:
    bool Save() const;
    std::string Path;
    LEVEL_RECORD Levels[LEVEL_COUNT];
};

// "m:ss.s" for a time in seconds.
std::string TimeText(float seconds);
