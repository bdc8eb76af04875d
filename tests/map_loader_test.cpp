// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The map reader and LoadMap: how rows are laid out, what a missing or
// empty file keeps and resets, and malformed files that must neither crash
// nor reach outside the grid.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "objects/hero.h"
#include "objects/object.h"
#include "platform/log.h"
#include "tests/fuzz/map_fuzz_check.h"
#include "tests/test_support.h"
#include "world/map_file.h"
#include "world/world.h"

namespace {

using TEST_SUPPORT::TEMP_DIR;

MAP_DATA Read(const std::string& text) {
    std::istringstream in(text);
    return ReadMap(in);
}

// A map read and laid out into a fresh grid.
struct LAID_OUT {
    MAP_DATA Map;
    bool Placed = false;
    std::vector<int32_t> Grid = std::vector<int32_t>(size_t(MAP_COLUMNS) * MAP_ROWS, 0);
    int32_t At(int column, int row) const { return Grid[size_t(column) * MAP_ROWS + row]; }
};

LAID_OUT Lay(const std::string& text) {
    LAID_OUT l;
    l.Map = Read(text);
    l.Placed = PlaceMap(l.Map, l.Grid.data(), MAP_COLUMNS, MAP_ROWS);
    return l;
}

std::string Row(int count, int first, int step) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += std::to_string(1 + (first + i * step) % 30) + ' ';
    }
    return s + "-1\n";
}

// Counts its own deletions so a test can tell which objects a load kept.
class PROBE : public OBJECT {
public:
    explicit PROBE(int* deleted) : Deleted(deleted) {}
    ~PROBE() override { ++*Deleted; }
    void Update(float) override {}
    void Render(SPRITE*, float) override {}
    int* Deleted;
};

TEST(MapReader, LaysRowsOutByTheLongestRow) {
    // Fifteen full rows: every value at its own column and row.
    std::string full;
    for (int r = 0; r < 15; ++r) {
        full += Row(300, r, 7);
    }
    LAID_OUT a = Lay(full);
    ASSERT_TRUE(a.Placed);
    EXPECT_EQ(a.Map.Width, 300);
    EXPECT_EQ(a.Map.Height, 15);
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 300; c += 37) {
            EXPECT_EQ(a.At(c, r), 1 + (r + c * 7) % 30) << c << ", " << r;
        }
        EXPECT_EQ(a.At(300, r), 0);
    }

    // A short second row: its values start the second row.
    LAID_OUT b = Lay("1 2 3 -1 4 5 -1");
    EXPECT_EQ(b.Map.Width, 3);
    EXPECT_EQ(b.Map.Height, 2);
    EXPECT_EQ(b.At(0, 1), 4);
    EXPECT_EQ(b.At(1, 1), 5);
    EXPECT_EQ(b.At(2, 1), 0);

    // A short first row pulls the next row's first value up into it.
    LAID_OUT c = Lay("1 2\n-1\n3 4 5 -1");
    EXPECT_EQ(c.Map.Width, 3);
    EXPECT_EQ(c.At(0, 0), 1);
    EXPECT_EQ(c.At(1, 0), 2);
    EXPECT_EQ(c.At(2, 0), 3);
    EXPECT_EQ(c.At(0, 1), 4);
    EXPECT_EQ(c.At(1, 1), 5);
    EXPECT_EQ(c.At(2, 1), 0);
}

TEST(MapReader, DropsWhatLiesOutsideTheGrid) {
    // A 1200-value row keeps its width, but only columns 0..999 land.
    LAID_OUT wide = Lay(Row(1200, 0, 1) + Row(1200, 5, 1));
    EXPECT_EQ(wide.Map.Width, 1200);
    EXPECT_EQ(wide.At(999, 0), 1 + 999 % 30);
    // Row 1 starts at value 1200, not at column 1000 of row 0.
    EXPECT_EQ(wide.At(0, 1), 1 + 5 % 30);
    EXPECT_EQ(wide.At(999, 1), 1 + (5 + 999) % 30);

    // A sixteenth row counts in the height but is not placed anywhere.
    std::string rows;
    for (int r = 0; r < 16; ++r) {
        rows += std::to_string(r + 1) + " " + std::to_string(r + 1) + " -1\n";
    }
    LAID_OUT tall = Lay(rows);
    EXPECT_EQ(tall.Map.Height, 16);
    EXPECT_EQ(tall.At(0, 14), 15);
    for (int c = 0; c < MAP_COLUMNS; ++c) {
        for (int r = 0; r < MAP_ROWS; ++r) {
            ASSERT_NE(tall.At(c, r), 16) << c << ", " << r;
        }
    }
}

TEST(MapReader, ReadsStrayValuesAsEmptyAndStopsAtBadTokens) {
    // Values no tile image belongs to are empty space; -1 still ends a row.
    LAID_OUT odd = Lay("31 -2 30 1000 0 -2147483648 -1");
    EXPECT_EQ(odd.Map.Width, 6);
    EXPECT_EQ(odd.At(0, 0), 0);
    EXPECT_EQ(odd.At(1, 0), 0);
    EXPECT_EQ(odd.At(2, 0), 30);
    EXPECT_EQ(odd.At(3, 0), 0);
    EXPECT_EQ(odd.At(5, 0), 0);

    // A number too large for 32 bits ends the reading like a word does.
    for (const char* text : {"4 5 -1 6 2147483648 -1 7 -1", "4 5 -1 6 -2147483649 -1 7 -1",
                             "4 5 -1 6 99999999999999999999999 -1", "4 5 -1 6 x -1 7 -1",
                             "4 5 -1 6 12abc -1", "4 5 -1 6 - -1", "4 5 -1 6 1-1"}) {
        MAP_DATA m = Read(text);
        EXPECT_EQ(m.Values, (std::vector<int32_t>{4, 5, 6})) << text;
        EXPECT_EQ(m.Height, 1) << text;
    }
    EXPECT_EQ(Read("\t+7\r\n\v-1\f").Values, (std::vector<int32_t>{7}));

    // Without a row end there is no width and nothing is placed.
    LAID_OUT none = Lay("1 2 3 4");
    EXPECT_EQ(none.Map.Width, 0);
    EXPECT_FALSE(none.Placed);
    LAID_OUT late = Lay("-1 -1 5 6");
    EXPECT_EQ(late.Map.Height, 2);
    EXPECT_FALSE(late.Placed);
}

// LoadMap against files in a temporary folder, with the debug log caught.
class LOAD_MAP : public ::testing::Test {
protected:
    void SetUp() override {
        LOG::Open(Dir.File("debug.txt"));
        for (int i = 0; i < LEVEL_COUNT; ++i) {
            World.LevelTable[size_t(i)] = Dir.File("level" + std::to_string(i) + ".map");
        }
    }
    void TearDown() override { LOG::Close(); }

    void WriteMap(int level, const std::string& text) {
        TEST_SUPPORT::WriteText(World.LevelTable[size_t(level)], text);
    }
    std::string Log() { return TEST_SUPPORT::ReadText(Dir.File("debug.txt")); }

    // A level in progress: tiles, camera, hero and objects all moved on.
    void PlayAWhile() {
        WriteMap(0, "5 6 -1 7 8 -1");
        ASSERT_TRUE(World.LoadMap(0, &Hero));
        // The level's own cast makes way for two probes.
        for (OBJECT* o : World.ObjectList) {
            delete o;
        }
        World.ObjectList.clear();
        World.AddObject(new PROBE(&Deleted));
        World.AddObject(new PROBE(&Deleted));
        World.Clock = 12.5f;
        World.SpeechMarks[3] = 1;
        World.CameraTarget = {900.0f, 200.0f};
        World.CameraLead = {70.0f, 0.0f};
        World.CurrentLead = {35.0f, 0.0f};
        Hero.Health = 0.25f;
        Hero.Active = false;
        Hero.GameOver = true;
        Hero.Position = {5000.0f, 100.0f};
    }

    TEMP_DIR Dir;
    WORLD World{nullptr};
    HERO Hero{nullptr, &World};
    int Deleted = 0;
};

TEST_F(LOAD_MAP, MissingFileResetsTheLevelStateAndKeepsTheRest) {
    PlayAWhile();
    EXPECT_FALSE(World.LoadMap(4, &Hero));
    EXPECT_NE(Log().find("Faulty map file to load\n"), std::string::npos);

    EXPECT_EQ(World.Level, 4);
    EXPECT_EQ(World.Clock, 0.0f);
    EXPECT_EQ(World.SpeechMarks[3], 0);
    EXPECT_EQ(World.MapWidth(), 0);
    EXPECT_EQ(World.MapHeight(), 0);

    EXPECT_EQ(World.GetTile(64, 64), 8);
    EXPECT_EQ(World.CameraTarget, VECTOR2(900.0f, 200.0f));
    EXPECT_EQ(World.CurrentLead, VECTOR2(35.0f, 0.0f));
    EXPECT_EQ(World.ObjectList.size(), 2u);
    EXPECT_EQ(Deleted, 0);
    EXPECT_EQ(Hero.Health, 0.25f);
    EXPECT_EQ(Hero.Position, VECTOR2(5000.0f, 100.0f));

    // Level indices outside the table are missing files too.
    EXPECT_FALSE(World.LoadMap(12, &Hero));
    EXPECT_FALSE(World.LoadMap(-1, &Hero));
    EXPECT_EQ(World.ObjectList.size(), 2u);
}

TEST_F(LOAD_MAP, EmptyFileKeepsTheTilesButStartsTheLevel) {
    PlayAWhile();
    WriteMap(6, "  \n\t\n");
    EXPECT_TRUE(World.LoadMap(6, &Hero));
    EXPECT_NE(Log().find("No map data in map file\n"), std::string::npos);

    EXPECT_EQ(World.GetTile(0, 0), 5);
    EXPECT_EQ(World.GetTile(64, 64), 8);
    EXPECT_EQ(World.MapWidth(), 0);
    EXPECT_EQ(World.MapHeight(), 0);
    EXPECT_EQ(World.Level, 6);
    EXPECT_EQ(World.Clock, 0.0f);
    EXPECT_EQ(World.SpeechMarks[3], 0);

    EXPECT_EQ(World.CameraTarget, VECTOR2(400.0f, 300.0f));
    EXPECT_EQ(World.CameraLead, VECTOR2(0.0f, 0.0f));
    EXPECT_EQ(World.CurrentLead, VECTOR2(0.0f, 0.0f));
    EXPECT_EQ(Deleted, 2);
    EXPECT_EQ(Hero.Health, 1.0f);
    EXPECT_TRUE(Hero.Active);
    EXPECT_FALSE(Hero.GameOver);
    EXPECT_EQ(Hero.Position, VECTOR2(128.0f, 128.0f));
}

TEST_F(LOAD_MAP, NewMapReplacesEveryOldTile) {
    PlayAWhile();
    WriteMap(11, "0 0 0 -1 0 0 3 -1");
    EXPECT_TRUE(World.LoadMap(11, &Hero));
    EXPECT_EQ(Log().find("No map data"), std::string::npos);
    EXPECT_EQ(Log().find("Faulty"), std::string::npos);
    EXPECT_EQ(World.MapWidth(), 3);
    EXPECT_EQ(World.MapHeight(), 2);
    EXPECT_EQ(World.GetTile(0, 0), 0);
    EXPECT_EQ(World.GetTile(64, 64), 0);
    EXPECT_EQ(World.GetTile(128, 64), 3);
    EXPECT_EQ(Hero.Position, VECTOR2(704.0f, 448.0f));
    EXPECT_EQ(Deleted, 2);
}

// Malformed files of every kind: nothing crashes, nothing lands outside
// the grid, and whatever lands follows the layout rule.
TEST(MapFuzz, MalformedFilesStayInsideTheGrid) {
    std::vector<std::string> inputs = {
        "",
        "-1",
        "30 30 30",
        "99999999999999999999999999999999 -1",
        "2147483647 -2147483648 -1",
        "abc def -1",
        std::string("1 2 3\0 4 -1", 11),
        std::string(5000, '7'),
        std::string(3000, '-'),
        "-",
        "+",
    };
    std::string manyRows;
    for (int r = 0; r < 10000; ++r) {
        manyRows += "1 2 3 -1\n";
    }
    inputs.push_back(manyRows);
    std::string longRow;
    for (int c = 0; c < 5000; ++c) {
        longRow += std::to_string(c % 40) + ' ';
    }
    inputs.push_back(longRow + "-1 1 -1");

    // Random bytes, and random mixes of the map's own tokens.
    std::mt19937 rng(4);
    const char* tokens[] = {"-1", "0", "1", "30", "31", "-7", "2147483648", "x", "\n", " ", "\t"};
    for (int n = 0; n < 300; ++n) {
        std::string s;
        int length = int(rng() % 4000);
        if (n % 3 == 0) {
            for (int i = 0; i < length; ++i) {
                s += char(rng() & 0xFF);
            }
        } else {
            for (int i = 0; i < length; ++i) {
                s += tokens[rng() % (n % 3 == 1 ? 6 : 11)];
                s += ' ';
            }
        }
        inputs.push_back(s);
    }
    for (const std::string& s : inputs) {
        std::string fault = CheckMapBytes(reinterpret_cast<const uint8_t*>(s.data()), s.size());
        EXPECT_EQ(fault, "") << "input of " << s.size() << " bytes: " << s.substr(0, 60);
    }

    // The 10 000 rows through the whole loader.
    TEMP_DIR dir;
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    world.LevelTable[0] = dir.File("rows.map");
    TEST_SUPPORT::WriteText(world.LevelTable[0], manyRows);
    EXPECT_TRUE(world.LoadMap(0, &hero));
    EXPECT_EQ(world.MapHeight(), 10000);
    EXPECT_EQ(world.GetTile(128, 14 * 64), 3);
    EXPECT_EQ(world.GetTile(192, 0), 0);
}

}  // namespace
