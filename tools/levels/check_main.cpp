// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Checks the levels against the rules the game's fixed cast sets them:
//   vortigan_levelcheck --data DIR --sources DIR [--design] [--table]
//
// Each level is loaded by the game's own map loader with its own cast. The
// hero must start standing on ground and not inside a wall; the toilet and
// the bomb must stand on top of a solid tile with room above; each boss must
// fly its whole tour in open air; the drawn markers must sit where the game
// puts the hero, the toilet and the bomb; no small hat's patrol point may be
// buried in rock.
//
// The levels' design rules are checked too, as notes, or as errors with
// --design: every small hat's whole flight line runs in open air with half
// a tile to spare, and neither end of the map lets the hero walk or hop out
// (see level_measure.h for both).
//
// After the rule lines a table gives each level's width, pits, highest
// step, buried hats and ends. --table prints the table alone and passes
// whatever the rules find.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "objects/bomb.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "objects/smallhat.h"
#include "objects/toilet.h"
#include "tools/levels/level_measure.h"
#include "tools/levels/level_source.h"
#include "world/world.h"

namespace {

const char* const NAMES[LEVEL_COUNT] = {"stage1-1", "stage1-2", "stage1-3", "stage1-boss",
                                        "stage2-1", "stage2-2", "stage2-3", "stage2-boss",
                                        "stage3-1", "stage3-2", "stage3-3", "stage3-boss"};

int Errors = 0;
bool DesignRules = false;  // --design: the design rules fail the run
bool TableOnly = false;    // --table: no rule lines, and the run passes

void Error(int level, const std::string& what) {
    if (!TableOnly) {
        std::printf("%s: error: %s\n", NAMES[level], what.c_str());
    }
    ++Errors;
}

// The rules the levels are being redrawn to meet: errors with --design,
// notes until then.
void DesignRule(int level, const std::string& what) {
    if (DesignRules) {
        Error(level, what);
    } else if (!TableOnly) {
        std::printf("%s: note: %s\n", NAMES[level], what.c_str());
    }
}

bool Solid(const WORLD& world, float x, float y) {
    return world.GetTile(int(x), int(y)) > 0;
}

// Any solid tile under the rectangle, sampled every 8 px and at its edges.
bool AreaSolid(const WORLD& world, float left, float top, float right, float bottom) {
    for (float y = top;; y += 8.0f) {
        y = std::min(y, bottom);
        for (float x = left;; x += 8.0f) {
            x = std::min(x, right);
            if (Solid(world, x, y)) {
                return true;
            }
            if (x >= right) {
                break;
            }
        }
        if (y >= bottom) {
            break;
        }
    }
    return false;
}

std::string Where(float x, float y) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f) px, tile (%d, %d)", x, y, int(x) / TILE_SIZE,
                  int(y) / TILE_SIZE);
    return text;
}

// Something that stands: solid under its feet, open air where it stands.
void CheckStanding(int level, const WORLD& world, const char* what, VECTOR2 p, float halfWidth,
                   float height) {
    if (!Solid(world, p.x, p.y + 1.0f)) {
        Error(level, std::string(what) + " stands in the air at " + Where(p.x, p.y));
    }
    if (AreaSolid(world, p.x - halfWidth, p.y - height, p.x + halfWidth, p.y - 1.0f)) {
        Error(level, std::string(what) + " is inside a wall at " + Where(p.x, p.y));
    }
}

void CheckMarker(int level, const LEVEL_SOURCE& source, char marker, const char* what, VECTOR2 p) {
    int column, row;
    if (!FindMarker(source, marker, &column, &row)) {
        Error(level, std::string("the drawing has no '") + marker + "' for " + what);
        return;
    }
    // A marker stands in the cell above the tile that carries it.
    int wantColumn = int(std::floor(p.x / TILE_SIZE));
    int wantRow = int(std::floor(p.y / TILE_SIZE)) - 1;
    if (column != wantColumn || row != wantRow) {
        Error(level, std::string("'") + marker + "' is drawn at (" + std::to_string(column) + ", " +
                         std::to_string(row) + ") but the game puts " + what + " in cell (" +
                         std::to_string(wantColumn) + ", " + std::to_string(wantRow) + ")");
    }
}

void CheckBossTour(int level, WORLD& world, BOSS* boss) {
    // Fly the tour for two full rounds: the box must never meet a tile.
    const float dt = 1.0f / 60.0f;
    bool reported = false;
    for (int frame = 0; frame < 60 * 120 && !reported; ++frame) {
        boss->Update(dt);
        const BOX& b = boss->Box;
        if (b.right <= b.left) {
            continue;  // still appearing: no box yet
        }
        if (AreaSolid(world, float(b.left), float(b.top), float(b.right), float(b.bottom))) {
            Error(level, "the boss's tour runs into rock near " +
                             Where(boss->Position.x, boss->Position.y));
            reported = true;
        }
    }
}

std::string Tiles(VECTOR2 p) {
    char text[48];
    std::snprintf(text, sizeof text, "(%g, %g)", p.x / TILE_SIZE, p.y / TILE_SIZE);
    return text;
}

std::string Cell(CELL c) {
    return "(" + std::to_string(c.Column) + ", " + std::to_string(c.Row) + ")";
}

// One line of the table.
struct TABLE_ROW {
    int Width = 0;
    std::vector<PIT> Pits;
    STEP Step;
    int Hats = 0;
    int BuriedHats = 0;
    bool LeftClosed = false;
    bool RightClosed = false;
};

// The flight lines of the level's small hats must run in open air.
void CheckFlightLines(int level, WORLD& world, TABLE_ROW* row) {
    static const BOX body = HatBody();
    for (const FLIGHT_LINE& line : FlightLines(world.Objects())) {
        int hats = int(line.Kinds.size());
        row->Hats += hats;
        std::vector<BURIED_LEG> buried = BuriedLegs(world, body, line);
        if (!buried.empty()) {
            row->BuriedHats += hats;
        }
        for (const BURIED_LEG& leg : buried) {
            DesignRule(level, "small hats fly through rock from " + Tiles(leg.From) + " to " +
                                  Tiles(leg.To) + " tiles, first at tile " + Cell(leg.Rock));
        }
    }
}

void CheckEnd(int level, const char* which, const MAP_END& end, bool* closed) {
    *closed = end.Closed;
    if (end.Closed) {
        return;
    }
    if (!end.Ground) {
        DesignRule(level, std::string("the ") + which +
                              " end is open: no ground near it to stand its wall on");
        return;
    }
    std::string open = std::string("the ") + which + " end is open: ";
    if (end.Ground->Column == end.Gap->Column) {
        DesignRule(level, open + "the hero can stand in its outermost column, in cell " +
                              Cell(*end.Ground));
    } else {
        DesignRule(level, open + "the hero standing in cell " + Cell(*end.Ground) +
                              " gets past the outermost column through cell " + Cell(*end.Gap));
    }
}

void PrintTable(const std::vector<TABLE_ROW>& rows) {
    std::printf("\n%-12s %5s %6s %6s %6s %6s  %s\n", "level", "width", "step", "hats", "left",
                "right", "pits (column+width)");
    for (int level = 0; level < int(rows.size()); ++level) {
        const TABLE_ROW& r = rows[level];
        std::string step = "-";
        if (r.Step.Height > 0) {
            step = std::to_string(r.Step.Height) + "@" + std::to_string(r.Step.Column);
        }
        std::string hats = std::to_string(r.BuriedHats) + "/" + std::to_string(r.Hats);
        std::string pits;
        for (const PIT& pit : r.Pits) {
            pits += (pits.empty() ? "" : " ") + std::to_string(pit.Column) + "+" +
                    std::to_string(pit.Width);
        }
        std::printf("%-12s %5d %6s %6s %6s %6s  %s\n", NAMES[level], r.Width, step.c_str(),
                    hats.c_str(), r.LeftClosed ? "closed" : "open",
                    r.RightClosed ? "closed" : "open", pits.empty() ? "-" : pits.c_str());
    }
    std::printf(
        "step: tallest rise of the ground walking right, tiles@column, end walls left out; "
        "hats: buried/all\n");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    std::string data, sources;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--data" && i + 1 < argc) {
            data = argv[++i];
        } else if (a == "--sources" && i + 1 < argc) {
            sources = argv[++i];
        } else if (a == "--design") {
            DesignRules = true;
        } else if (a == "--table") {
            TableOnly = true;
        } else {
            data.clear();
            break;
        }
    }
    if (data.empty() || sources.empty()) {
        std::fprintf(stderr,
                     "usage: vortigan_levelcheck --data DIR --sources DIR [--design] [--table]\n");
        return 2;
    }
    sources = std::filesystem::absolute(sources).string();
    std::filesystem::current_path(data);
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    std::vector<TABLE_ROW> table(LEVEL_COUNT);
    bool unreadable = false;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        LEVEL_SOURCE source;
        std::string error;
        if (!ParseLevelSource(ReadFile(sources + "/" + NAMES[level] + ".txt"), &source, &error)) {
            Error(level, "the drawing cannot be read: " + error);
            unreadable = true;
            continue;
        }
        if (!world.LoadMap(level, &hero)) {
            Error(level, "the map file cannot be loaded");
            unreadable = true;
            continue;
        }
        TABLE_ROW& measures = table[level];
        measures.Width = world.Width;
        measures.Pits = Pits(world);
        measures.Step = HighestStep(world);
        // Before the bosses fly their tours, which fill the list with shots.
        CheckFlightLines(level, world, &measures);
        CheckEnd(level, "left", LeftEnd(world), &measures.LeftClosed);
        CheckEnd(level, "right", RightEnd(world), &measures.RightClosed);
        if (TableOnly) {
            continue;
        }

        // The hero's box is 30 px wide and reaches 60 px above his feet.
        CheckStanding(level, world, "the hero", hero.Position, 15.0f, 60.0f);
        CheckMarker(level, source, 'S', "the hero", hero.Position);
        bool toilet = false, bomb = false, pathChecked = false;
        std::vector<BOSS*> bosses;
        for (OBJECT* object : world.Objects()) {
            if (dynamic_cast<TOILET*>(object)) {
                toilet = true;
                // The toilet's picture is 74 px wide and 84 px tall about its feet.
                CheckStanding(level, world, "the toilet", object->Position, 24.0f, 84.0f);
                CheckMarker(level, source, 'T', "the toilet", object->Position);
            } else if (dynamic_cast<BOMB*>(object)) {
                bomb = true;
                CheckStanding(level, world, "the bomb", object->Position, 60.0f, 110.0f);
                CheckMarker(level, source, 'B', "the bomb", object->Position);
            } else if (auto* boss = dynamic_cast<BOSS*>(object)) {
                bosses.push_back(boss);
            } else if (auto* hat = dynamic_cast<SMALLHAT*>(object)) {
                // The hats of a level share one path: look at it once.
                if (pathChecked) {
                    continue;
                }
                pathChecked = true;
                for (const VECTOR2& p : hat->Path) {
                    if (Solid(world, p.x, p.y)) {
                        Error(level,
                              "a small hat's patrol point lies in rock at " + Where(p.x, p.y));
                    }
                }
            }
        }
        int column, row;
        if (!toilet && FindMarker(source, 'T', &column, &row)) {
            Error(level, "a toilet is drawn but the level has none");
        }
        if (!bomb && FindMarker(source, 'B', &column, &row)) {
            Error(level, "a bomb is drawn but the level has none");
        }
        for (BOSS* boss : bosses) {
            CheckBossTour(level, world, boss);
        }
        if (!TableOnly) {
            std::printf("%s: %d objects checked\n", NAMES[level], int(world.Objects().size()));
        }
    }
    if (!TableOnly) {
        std::printf("%d error(s)\n", Errors);
    }
    PrintTable(table);
    if (TableOnly) {
        return unreadable ? 1 : 0;
    }
    return Errors == 0 ? 0 : 1;
}
