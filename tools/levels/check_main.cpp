// Checks the levels against the rules the game's fixed cast sets them:
//   vortigan_levelcheck --data DIR --sources DIR
//
// Each level is loaded by the game's own map loader with its own cast. The
// hero must start standing on ground and not inside a wall; the toilet and
// the bomb must stand on top of a solid tile with room above; each boss must
// fly its whole tour in open air; the drawn markers must sit where the game
// puts the hero, the toilet and the bomb. Small hats fly where they like,
// but never through a patrol point buried in rock.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "objects/bomb.h"
#include "objects/boss.h"
#include "objects/hero.h"
#include "objects/smallhat.h"
#include "objects/toilet.h"
#include "tools/levels/level_source.h"
#include "world/world.h"

namespace {

const char* const NAMES[LEVEL_COUNT] = {"stage1-1", "stage1-2", "stage1-3", "stage1-boss",
                                        "stage2-1", "stage2-2", "stage2-3", "stage2-boss",
                                        "stage3-1", "stage3-2", "stage3-3", "stage3-boss"};

int Errors = 0;

void Error(int level, const std::string& what) {
    std::printf("%s: error: %s\n", NAMES[level], what.c_str());
    ++Errors;
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    std::string data, sources;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--data") {
            data = argv[i + 1];
        } else if (a == "--sources") {
            sources = argv[i + 1];
        }
    }
    if (data.empty() || sources.empty()) {
        std::fprintf(stderr, "usage: vortigan_levelcheck --data DIR --sources DIR\n");
        return 2;
    }
    sources = std::filesystem::absolute(sources).string();
    std::filesystem::current_path(data);
    WORLD world(nullptr);
    HERO hero(nullptr, &world);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        LEVEL_SOURCE source;
        std::string error;
        if (!ParseLevelSource(ReadFile(sources + "/" + NAMES[level] + ".txt"), &source, &error)) {
            Error(level, "the drawing cannot be read: " + error);
            continue;
        }
        if (!world.LoadMap(level, &hero)) {
            Error(level, "the map file cannot be loaded");
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
        std::printf("%s: %d objects checked\n", NAMES[level], int(world.Objects().size()));
    }
    std::printf("%d error(s)\n", Errors);
    return Errors == 0 ? 0 : 1;
}
