// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <istream>
#include <vector>

// What a map file holds once read: the tile values in file order (row ends
// not counted) and the shape the row ends give them.
struct MAP_DATA {
    std::vector<int32_t> Values;  // each 0..30; anything else was read as 0
    int32_t Width = 0;            // tiles, the longest row closed by -1
    int32_t Height = 0;           // tiles, the number of row ends
};

// Reads whitespace-separated integers until the end of the stream or the
// first token that is not an integer that fits 32 bits. -1 ends a row.
MAP_DATA ReadMap(std::istream& in);

// Lays the values out row by row at the map's width into a grid of
// columns x rows cells stored column by column, zeroing it first. Values
// that fall outside the grid are dropped. False (grid untouched) when the
// map has no values or no row end to give it a width.
bool PlaceMap(const MAP_DATA& map, int32_t* grid, int columns, int rows);
