// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level checker's measures on small maps drawn here: where a small hat's
// flight line meets rock, when an end of the map is closed, and the pits and
// steps of the table.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "objects/smallhat.h"
#include "tools/levels/level_measure.h"
#include "world/world.h"

namespace {

// Cells c0..c1 x r0..r1, inclusive, set to `value` (0 is air).
void Fill(WORLD& world, int c0, int r0, int c1, int r1, int value = 1) {
    for (int c = c0; c <= c1; ++c) {
        for (int r = r0; r <= r1; ++r) {
            world.SetTile(c, r, value);
        }
    }
}

// A map `width` columns wide with ground from row `groundRow` down.
std::unique_ptr<WORLD> Map(int width, int groundRow) {
    auto world = std::make_unique<WORLD>(nullptr);
    world->Width = width;
    world->Height = MAP_ROWS;
    Fill(*world, 0, groundRow, width - 1, MAP_ROWS - 1);
    return world;
}

// Hats on paths given in tiles, one line each.
struct HATS {
    std::vector<std::unique_ptr<SMALLHAT>> Owned;
    std::vector<OBJECT*> Objects;
    void Add(std::vector<VECTOR2> path, int kind) {
        Owned.push_back(
            std::make_unique<SMALLHAT>(nullptr, VECTOR2{}, nullptr, kind, true, path, 0));
        Objects.push_back(Owned.back().get());
    }
};

std::vector<BURIED_LEG> Buried(const WORLD& world, const FLIGHT_LINE& line) {
    return BuriedLegs(world, HatBody(), line);
}

TEST(LevelMeasure, FlightLinesMeetRockWithHalfATileToSpare) {
    auto world = Map(12, 12);
    Fill(*world, 6, 4, 6, 11);  // a pillar from row 4 to the ground
    HATS hats;
    hats.Add({{1, 8}, {10, 8}}, 0);        // straight through the pillar
    hats.Add({{1, 1}, {10, 1}}, 1);        // well over it
    hats.Add({{1, 3.5f}, {10, 3.5f}}, 2);  // body clear of it, margin not
    std::vector<FLIGHT_LINE> lines = FlightLines(hats.Objects);
    ASSERT_EQ(lines.size(), 3u);
    // Paths are in tiles; the lines are in px.
    EXPECT_EQ(lines[0].Points[1].x, 10.0f * TILE_SIZE);

    std::vector<BURIED_LEG> through = Buried(*world, lines[0]);
    ASSERT_EQ(through.size(), 1u);
    EXPECT_EQ(through[0].Rock.Column, 6);
    EXPECT_TRUE(Buried(*world, lines[1]).empty());
    EXPECT_EQ(Buried(*world, lines[2]).size(), 1u);
}

TEST(LevelMeasure, LoneHatsTriangleClosesAndItsBaseIsChecked) {
    auto world = Map(12, 12);
    // Under the middle of the base only; the two sloping legs pass above.
    Fill(*world, 4, 5, 4, 5);
    SMALLHAT hat(nullptr, {5, 5}, nullptr, 4, false, {}, 0);
    std::vector<FLIGHT_LINE> lines = FlightLines({&hat});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Legs(lines[0]).size(), 3u);
    std::vector<BURIED_LEG> buried = Buried(*world, lines[0]);
    ASSERT_EQ(buried.size(), 1u);
    EXPECT_EQ(buried[0].From, lines[0].Points.back());
    EXPECT_EQ(buried[0].To, lines[0].Points.front());
}

TEST(LevelMeasure, AHatMayPassRockOnlyOnItsWayThroughAnEndOfTheMap) {
    auto world = Map(12, 12);
    Fill(*world, 11, 0, 11, 11);  // the right end wall
    Fill(*world, 0, 8, 3, 11);    // start ground at the left end
    HATS hats;
    hats.Add({{14, 8}, {6, 8}}, 0);             // in through the right end wall
    hats.Add({{6, 4}, {2, 9}, {-3, 9}}, 0);     // dives into the start ground and out
    hats.Add({{6, 4}, {2, 9}, {6, 4}}, 0);      // dives into it and comes back out
    hats.Add({{14, 8}, {6, 8}, {2, 9.5f}}, 1);  // in, then into the ground, staying
    std::vector<FLIGHT_LINE> lines = FlightLines(hats.Objects);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(Buried(*world, lines[0]).empty());
    EXPECT_TRUE(Buried(*world, lines[1]).empty());
    EXPECT_EQ(Buried(*world, lines[2]).size(), 2u);
    ASSERT_EQ(Buried(*world, lines[3]).size(), 1u);
    EXPECT_EQ(Buried(*world, lines[3])[0].Rock.Column, 3);

    // Rock met again after open air counts, however near the end.
    Fill(*world, 7, 7, 7, 11);
    ASSERT_EQ(Buried(*world, lines[0]).size(), 1u);
    EXPECT_EQ(Buried(*world, lines[0])[0].Rock.Column, 7);
}

TEST(LevelMeasure, AnEndIsClosedByAWallTwoTilesOverAnyGroundNearIt) {
    auto world = Map(10, 10);
    Fill(*world, 0, 0, 0, 9);  // up to the top of the map: closed
    Fill(*world, 9, 8, 9, 9);  // two tiles, but the hero standing on it walks out
    EXPECT_TRUE(LeftEnd(*world).Closed);
    MAP_END right = RightEnd(*world);
    EXPECT_FALSE(right.Closed);
    ASSERT_TRUE(right.Ground.has_value());
    EXPECT_EQ(right.Ground->Column, 9);
    EXPECT_EQ(right.Ground->Row, 7);

    // A wall hanging over a pit in its column closes the end while it comes
    // down to the ground beside it; a tile short, the hero walks under it.
    Fill(*world, 0, 10, 0, 14, 0);
    EXPECT_TRUE(LeftEnd(*world).Closed);
    Fill(*world, 0, 9, 0, 9, 0);
    MAP_END left = LeftEnd(*world);
    EXPECT_FALSE(left.Closed);
    ASSERT_TRUE(left.Ground.has_value() && left.Gap.has_value());
    EXPECT_EQ(left.Ground->Column, 1);
    EXPECT_EQ(left.Gap->Row, 9);

    // No ground near an end to stand a wall on: open.
    Fill(*world, 0, 0, 3, 14, 0);
    EXPECT_FALSE(LeftEnd(*world).Closed);
}

TEST(LevelMeasure, PitsAndTheHighestRise) {
    auto world = Map(24, 10);
    Fill(*world, 7, 10, 8, 14, 0);  // a pit two columns wide
    Fill(*world, 5, 3, 5, 3);       // a floating platform: not a step
    Fill(*world, 12, 7, 15, 9);     // up three tiles at 11 to 12, down at 16
    Fill(*world, 23, 0, 23, 9);     // the end wall: not a step
    std::vector<PIT> pits = Pits(*world);
    ASSERT_EQ(pits.size(), 1u);
    EXPECT_EQ(pits[0].Column, 7);
    EXPECT_EQ(pits[0].Width, 2);
    STEP step = HighestStep(*world);
    EXPECT_EQ(step.Height, 3);
    EXPECT_EQ(step.Column, 11);
}

}  // namespace
