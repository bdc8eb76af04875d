// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include "math/vector2.h"
#include "objects/object.h"

class WORLD;

// Measures of a loaded level for the checker, its table and the level
// pictures: where small hats fly through rock, whether the hero can walk out
// of an end of the map, the pits and the steps of the ground.

// One cell of the map, column and row.
struct CELL {
    int Column = 0;
    int Row = 0;
};

// A solid cell of the map; everything outside the map's columns and rows is
// open air.
bool SolidCell(const WORLD& world, int column, int row);

// The room a flying hat needs: half a tile of air all round its body.
inline constexpr int HAT_MARGIN = 32;  // px

// A small hat's body about its Position, px, measured from the game's own
// hat so the rule follows it if the hat changes.
BOX HatBody();

// The line a small hat flies: its path points in px, world, flown in order.
// A hat on a level's path jumps back to the first point after the last, so
// its line is open; a hat without a path circles its own triangle, so its
// line closes.
struct FLIGHT_LINE {
    std::vector<VECTOR2> Points;
    bool Closed = false;
    std::vector<int> Kinds;       // the kinds of the hats flying it
    std::vector<VECTOR2> Starts;  // where each of those hats starts, px
};

// The flight lines of the small hats among the objects: hats sharing one
// path share one line.
std::vector<FLIGHT_LINE> FlightLines(const std::vector<OBJECT*>& objects);

// The straight legs of a line, the closing one too where it closes.
std::vector<std::pair<VECTOR2, VECTOR2>> Legs(const FLIGHT_LINE& line);

// A hat at `at`: the first rock cell within its body and margin, if any.
std::optional<CELL> RockAround(const WORLD& world, const BOX& body, VECTOR2 at);

// The line sampled every 4 px in flight order: the leg, where the hat is and
// the rock it meets that counts. A hat may fly into the rock at an end of
// the level and stay in it until it leaves the map (or come in through the
// map's edge and out of the rock): there it is the end wall and the ground
// at the hero's start it passes through, so rock met on such a stretch,
// unbroken up to a point beyond the map's left or right edge, does not count.
struct LINE_SAMPLE {
    size_t Leg = 0;
    VECTOR2 At;  // px
    std::optional<CELL> Rock;
};
std::vector<LINE_SAMPLE> SampleLine(const WORLD& world, const BOX& body, const FLIGHT_LINE& line);

// Where a leg runs through rock that counts: the first rock cell met, or none.
struct BURIED_LEG {
    VECTOR2 From, To;  // px
    CELL Rock;
};
std::vector<BURIED_LEG> BuriedLegs(const WORLD& world, const BOX& body, const FLIGHT_LINE& line);

// An end of the map is closed when walking or a hop can never leave the map
// there: the outermost column stands solid from any ground near the end up
// two tiles (128 px, more than a hop's 90 px). Ground near the end is any
// cell of air with a solid cell below it in the outermost END_COLUMNS
// columns: a hop carries the hero 180 px, so from farther in he lands
// before reaching the outermost column. The top of the end wall is such
// ground too (a hero who gets up there by any jump walks off the map), so
// in practice the outermost column has to stand solid up to the top row.
// An outermost column solid in every row is closed whatever lies inside it;
// an end with no ground near it at all (a pit or open sky) is open.
inline constexpr int END_COLUMNS = 4;
inline constexpr int END_WALL_ROWS = 2;
struct MAP_END {
    bool Closed = false;
    std::optional<CELL> Ground;  // open: the standing cell the wall is too short for
    std::optional<CELL> Gap;     // open: the open cell of the outermost column
};
MAP_END LeftEnd(const WORLD& world);
MAP_END RightEnd(const WORLD& world);

// A pit: a run of columns whose bottom row is open air, so falling there
// loses a life.
struct PIT {
    int Column = 0;  // the first
    int Width = 0;   // tiles
};
std::vector<PIT> Pits(const WORLD& world);

// The ground line is the top of the solid stack standing on the bottom row
// of each column (pits have none; floating platforms and ceilings are not
// part of it). The highest step is the tallest rise of that line from a
// column to its right-hand neighbour, the way the levels are played. The
// outermost END_COLUMNS at each end are left out: their walls are for
// closing the map, not for climbing.
struct STEP {
    int Height = 0;  // tiles
    int Column = 0;  // the lower, left-hand column
};
STEP HighestStep(const WORLD& world);
