// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

// A level as a person draws it: 15 rows of characters with a small legend,
// turned into the tile values of a map file.
//
//   .  open air             #  ground (its look is picked from its neighbours)
//   =  floating platform    X  decorative block (a crate, a gem cube, a power box)
//   S  where the hero starts (his feet on the tile below)
//   T  where the exit toilet stands (on the tile below)
//   B  where the time bomb stands (on the tile below)
//
// The markers are open air in the map; the level checker holds them against
// the cast the game places.
struct LEVEL_SOURCE {
    int Stage = 1;                  // 1 meadow, 2 crystal cave, 3 fortress
    std::vector<std::string> Rows;  // top row first, all padded to one width
};

inline constexpr int LEVEL_ROWS = 15;

// Reads a level source. Lines starting with '#' followed by a blank are
// comments, "stage N" picks the tile set, every other line is a grid row.
// Fails with a message naming the line.
bool ParseLevelSource(const std::string& text, LEVEL_SOURCE* level, std::string* error);

// The tile value of every cell, row by row (0 for open air).
std::vector<std::vector<int>> TileValues(const LEVEL_SOURCE& level);

// The map file: each row's values and its closing -1 on a line of its own.
std::string MapFileText(const std::vector<std::vector<int>>& tiles);

// Where the first marker character stands, as (column, row); false if none.
bool FindMarker(const LEVEL_SOURCE& level, char marker, int* column, int* row);
