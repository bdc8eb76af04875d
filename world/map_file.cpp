// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "world/map_file.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <limits>

namespace {

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next whitespace-separated token as a 32-bit integer. False at the end
// of the stream and for a token that is not a whole integer or does not fit:
// either way the reading ends there.
bool NextInteger(std::istreambuf_iterator<char>& it, int32_t* value) {
    const std::istreambuf_iterator<char> end;
    while (it != end && IsSpace(static_cast<unsigned char>(*it))) {
        ++it;
    }
    if (it == end) {
        return false;
    }
    bool negative = false;
    if (*it == '-' || *it == '+') {
        negative = *it == '-';
        ++it;
    }
    // Magnitudes up to 2^31 are allowed so that INT32_MIN reads too.
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
    int64_t magnitude = 0;
    int digits = 0;
    while (it != end && !IsSpace(static_cast<unsigned char>(*it))) {
        char c = *it;
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return false;
        }
        ++digits;
        ++it;
    }
    if (digits == 0) {
        return false;
    }
    *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

MAP_DATA ReadMap(std::istream& in) {
    MAP_DATA map;
    std::istreambuf_iterator<char> it(in);
    int64_t column = 0;  // tiles read in the current row
    int64_t rows = 0;    // row ends read
    int64_t width = 0;   // the longest row so far
    int32_t value = 0;
    while (NextInteger(it, &value)) {
        if (value == -1) {
            width = std::max(width, column);
            column = 0;
            ++rows;
            continue;
        }
        // Only 0 (empty) and the thirty tile images mean anything; any other
        // value would pick a picture outside the sheet, so it is empty space.
        if (value < 0 || value > 30) {
            value = 0;
        }
        map.Values.push_back(value);
        ++column;
    }
    const int64_t most = std::numeric_limits<int32_t>::max();
    map.Width = static_cast<int32_t>(std::min(width, most));
    map.Height = static_cast<int32_t>(std::min(rows, most));
    return map;
}

bool PlaceMap(const MAP_DATA& map, int32_t* grid, int columns, int rows) {
    // Without a row end there is no width to lay the values out by.
    if (map.Values.empty() || map.Width <= 0) {
        return false;
    }
    std::fill(grid, grid + size_t(columns) * size_t(rows), 0);
    const size_t width = size_t(map.Width);
    for (size_t i = 0; i < map.Values.size(); ++i) {
        size_t column = i % width;
        size_t row = i / width;
        if (row >= size_t(rows)) {
            break;  // every later value lies lower still
        }
        if (column < size_t(columns)) {
            grid[column * size_t(rows) + row] = map.Values[i];
        }
    }
    return true;
}
