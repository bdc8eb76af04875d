#include "app/hud_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
