// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/hud_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

const char* LevelName(int level) {
    static const char* const NAMES[] = {"Level 1-1", "Level 1-2", "Level 1-3", "Level 1-4",
                                        "Level 2-1", "Level 2-2", "Level 2-3", "Level 2-4",
                                        "Level 3-1", "Level 3-2", "Level 3-3", "Level 3-4"};
    constexpr int COUNT = static_cast<int>(sizeof NAMES / sizeof NAMES[0]);
    return level >= 0 && level < COUNT ? NAMES[level] : nullptr;
}

std::string LivesText(int lives) {
    return "x " + std::to_string(lives);
}

std::string ScoreText(float shownScore) {
    // Truncated to whole points; kept within what an int holds, so a wild
    // value shows as a big number rather than undefined digits.
    long long points = 0;
    if (std::isfinite(shownScore)) {
        double limit = static_cast<double>(std::numeric_limits<int>::max());
        points = static_cast<long long>(std::clamp(static_cast<double>(shownScore), -limit, limit));
    }
    std::string digits = std::to_string(points < 0 ? -points : points);
    if (digits.size() < 5) {
        digits.insert(0, 5 - digits.size(), '0');
    }
    return std::string("Score: ") + (points < 0 ? "-" : "") + digits;
}
