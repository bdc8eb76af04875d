// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One map file's worth of bytes through the reader and the layout, with
// guard cells either side of the grid. Shared by the libFuzzer target and
// the ordinary tests, so both feed the same inputs the same way. Returns an
// empty string when all is well, otherwise what went wrong.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "world/map_file.h"
#include "world/world.h"

inline std::string CheckMapBytes(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    MAP_DATA map = ReadMap(in);
    if (map.Width < 0 || map.Height < 0) {
        return "negative map size";
    }
    for (int32_t v : map.Values) {
        if (v < 0 || v > TILE_IMAGES) {
            return "value " + std::to_string(v) + " outside 0..30";
        }
    }
    constexpr size_t GUARD = 64;  // cells either side
    constexpr int32_t MARK = 0x5A5A5A5A;
    const size_t cells = size_t(MAP_COLUMNS) * MAP_ROWS;
    std::vector<int32_t> grid(cells + 2 * GUARD, MARK);
    bool placed = PlaceMap(map, grid.data() + GUARD, MAP_COLUMNS, MAP_ROWS);
    for (size_t i = 0; i < GUARD; ++i) {
        if (grid[i] != MARK || grid[GUARD + cells + i] != MARK) {
            return "write outside the grid";
        }
    }
    if (!placed) {
        // An unplaced map leaves the grid as it was.
        for (size_t i = 0; i < cells; ++i) {
            if (grid[GUARD + i] != MARK) {
                return "grid changed although nothing was placed";
            }
        }
        if (!map.Values.empty() && map.Width > 0) {
            return "values with a width were not placed";
        }
        return "";
    }
    // Every cell holds the value the layout rule puts there, or 0.
    const size_t width = size_t(map.Width);
    for (size_t c = 0; c < size_t(MAP_COLUMNS); ++c) {
        for (size_t r = 0; r < size_t(MAP_ROWS); ++r) {
            size_t i = r * width + c;
            int32_t want = (c < width && i < map.Values.size()) ? map.Values[i] : 0;
            if (grid[GUARD + c * MAP_ROWS + r] != want) {
                return "cell (" + std::to_string(c) + ", " + std::to_string(r) + ") is wrong";
            }
        }
    }
    return "";
}
