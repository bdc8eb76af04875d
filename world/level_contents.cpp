// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "world/level_contents.h"

#include <vector>

#include "math/vector2.h"
#include "objects/bomb.h"
#include "objects/boss.h"
#include "objects/smallhat.h"
#include "objects/toilet.h"
#include "world/world.h"

namespace {

using PATH = std::vector<VECTOR2>;

// Patrol paths, in tiles. Each runs from the right end of its level to
// column -20, left of the map; negative rows lie above the map.
const PATH A1 = {{240, 9}, {197, 6}, {180, 1}, {150, 0}, {121, 3}, {96, 0}, {69, 2}, {-20, 5}};
const PATH A2 = {{245, 9}, {212, 6}, {192, 2}, {179, 0}, {151, 2}, {126, 4},
                 {91, 2},  {59, 3},  {44, 2},  {21, 2},  {-20, 7}};
const PATH A4 = {{240, 4}, {194, 4}, {183, 0}, {161, 6}, {144, 6}, {135, 0}, {109, 3},
                 {96, -3}, {75, -4}, {60, 5},  {44, -1}, {20, 3},  {-20, 8}};
const PATH A5 = {{240, 8}, {205, -4}, {181, -2}, {167, 1}, {154, 0}, {128, 7}, {115, 3},
                 {95, 5},  {80, 8},   {71, -4},  {60, -1}, {43, 7},  {19, 1},  {-20, 7}};
const PATH A6 = {{240, 1}, {197, 0},  {185, 4}, {172, 0}, {151, 6}, {141, 1}, {128, 0},
                 {115, 4}, {102, -2}, {83, 6},  {48, 6},  {37, 0},  {3, 2},   {-20, 2}};
const PATH A8 = {{240, 3}, {216, 0}, {191, 2}, {162, -3}, {143, 2}, {123, 1}, {97, -2},
                 {71, 4},  {59, -3}, {34, -1}, {13, -2},  {0, 9},   {-20, 9}};
const PATH A9 = {{240, 10}, {207, 10}, {200, 0}, {186, -2}, {168, 0}, {141, 5}, {113, -2},
                 {99, 0},   {82, 5},   {55, 5},  {46, -2},  {27, -2}, {6, 1},   {-20, 8}};
const PATH A10 = {{240, 0}, {205, -2}, {183, 5},  {175, -2}, {157, -2},
                  {148, 8}, {121, 9},  {111, -3}, {100, -1}, {90, 4},
                  {60, 4},  {42, -2},  {30, 1},   {15, 9},   {-20, 8}};

enum class CAST { SMALLHAT, TOILET, BOSS, BOMB };

// One object of a level's cast. Small hats, the toilet and the bomb stand
// on tiles; a boss is placed in pixels.
struct CAST_ENTRY {
    CAST What;
    VECTOR2 Position;            // tiles, or px for a boss
    int Kind = 0;                // small-hat kind or boss kind
    const PATH* Path = nullptr;  // a small hat's patrol, or none
    int StartIndex = 0;          // path point the small hat starts on
};

CAST_ENTRY Hat(const PATH& path, SMALLHAT_KIND kind, int startIndex) {
    return {CAST::SMALLHAT, {0, 0}, kind, &path, startIndex};
}
CAST_ENTRY Toilet(float column, float row) {
    return {CAST::TOILET, {column, row}};
}

// The cast of each level, in creation order, which is also the order the
// objects are updated and drawn in. The hats on a path are spread along it
// by their start points, roughly every 1.2 or 1.3 points.
const std::vector<CAST_ENTRY> LEVELS[LEVEL_COUNT] = {
    // 0: one lone hat circling its own triangle before the exit.
    {{CAST::SMALLHAT, {60, 4}, HAT_PUSHER, nullptr, 0}, Toilet(217, 8)},
    // 1
    {Hat(A1, HAT_PUSHER, 0), Hat(A1, HAT_PUSHER, 1), Hat(A1, HAT_BUBBLES, 2),
     Hat(A1, HAT_PUSHER, 3), Hat(A1, HAT_BUBBLES, 4), Toilet(217, 11)},
    // 2
    {Hat(A2, HAT_PUSHER, 0), Hat(A2, HAT_PUSHER, 1), Hat(A2, HAT_BUBBLES, 2),
     Hat(A2, HAT_PUSHER, 3), Hat(A2, HAT_BUBBLES, 5), Hat(A2, HAT_PUSHER, 6),
     Hat(A2, HAT_BUBBLES, 7), Toilet(217, 10)},
    // 3: the first boss alone.
    {{CAST::BOSS, {2048, 256}, 0}},
    // 4
    {Hat(A4, HAT_PUSHER, 0), Hat(A4, HAT_PUSHER, 1), Hat(A4, HAT_BUBBLES, 2),
     Hat(A4, HAT_PUSHER, 3), Hat(A4, HAT_BUBBLES, 4), Hat(A4, HAT_PUSHER, 6),
     Hat(A4, HAT_BUBBLES, 7), Hat(A4, HAT_FLOZERS, 8), Hat(A4, HAT_PUSHER, 9), Toilet(217, 7)},
    // 5
    {Hat(A5, HAT_PUSHER, 0), Hat(A5, HAT_FLOZERS, 1), Hat(A5, HAT_BUBBLES, 2),
     Hat(A5, HAT_PUSHER, 3), Hat(A5, HAT_BUBBLES, 5), Hat(A5, HAT_PUSHER, 6),
     Hat(A5, HAT_BUBBLES, 7), Hat(A5, HAT_FLOZERS, 9), Hat(A5, HAT_PUSHER, 10),
     Hat(A5, HAT_FLOZERS, 11), Toilet(217, 10)},
    // 6
    {Hat(A6, HAT_PUSHER, 0), Hat(A6, HAT_FLOZERS, 1), Hat(A6, HAT_BUBBLES, 2), Hat(A6, HAT_FAN, 3),
     Hat(A6, HAT_BUBBLES, 5), Hat(A6, HAT_PUSHER, 6), Hat(A6, HAT_BUBBLES, 7),
     Hat(A6, HAT_FLOZERS, 9), Hat(A6, HAT_FAN, 10), Hat(A6, HAT_FLOZERS, 11), Toilet(219, 2)},
    // 7: the second boss alone.
    {{CAST::BOSS, {1920, 256}, 1}},
    // 8
    {Hat(A8, HAT_PUSHER, 0), Hat(A8, HAT_FLOZERS, 1), Hat(A8, HAT_SPARKS, 2), Hat(A8, HAT_FAN, 3),
     Hat(A8, HAT_BUBBLES, 4), Hat(A8, HAT_PUSHER, 6), Hat(A8, HAT_BUBBLES, 7),
     Hat(A8, HAT_FLOZERS, 8), Hat(A8, HAT_FAN, 9), Hat(A8, HAT_SPARKS, 10), Toilet(219, 2)},
    // 9
    {Hat(A9, HAT_PUSHER, 0), Hat(A9, HAT_FLOZERS, 1), Hat(A9, HAT_SPARKS, 2), Hat(A9, HAT_FAN, 3),
     Hat(A9, HAT_BUBBLES, 4), Hat(A9, HAT_PUSHER, 6), Hat(A9, HAT_BUBBLES, 7),
     Hat(A9, HAT_SPARKS, 8), Hat(A9, HAT_FAN, 9), Hat(A9, HAT_SPARKS, 10), Toilet(218, 13)},
    // 10
    {Hat(A10, HAT_PUSHER, 0), Hat(A10, HAT_FLOZERS, 1), Hat(A10, HAT_SPARKS, 2),
     Hat(A10, HAT_FAN, 3), Hat(A10, HAT_BUBBLES, 4), Hat(A10, HAT_SPARKS, 6),
     Hat(A10, HAT_BUBBLES, 7), Hat(A10, HAT_SPARKS, 8), Hat(A10, HAT_FAN, 9),
     Hat(A10, HAT_SPARKS, 10), Toilet(217, 2)},
    // 11: the bomb ticking on the floor, then the third boss.
    {{CAST::BOMB, {20, 13}}, {CAST::BOSS, {1280, 128}, 2}},
};

}  // namespace

int StageOf(int level) {
    if (level < 0 || level >= STAGE_COUNT * LEVELS_PER_STAGE) {
        return 0;
    }
    return level / LEVELS_PER_STAGE;
}

bool IsBossLevel(int level) {
    if (level < 0 || level >= LEVEL_COUNT) {
        return false;
    }
    for (const CAST_ENTRY& e : LEVELS[level]) {
        if (e.What == CAST::BOSS) {
            return true;
        }
    }
    return false;
}

void CreateLevelContents(WORLD* world, DEVICE* device, int level) {
    if (!world || level < 0 || level >= LEVEL_COUNT) {
        return;
    }
    static const PATH NO_PATH;
    for (const CAST_ENTRY& e : LEVELS[level]) {
        OBJECT* object = nullptr;
        switch (e.What) {
            case CAST::SMALLHAT:
                object = new SMALLHAT(device, e.Position, world, e.Kind, e.Path != nullptr,
                                      e.Path ? *e.Path : NO_PATH, e.StartIndex);
                break;
            case CAST::TOILET:
                object = new TOILET(device, e.Position, world);
                break;
            case CAST::BOSS:
                object = new BOSS(device, e.Position.x, e.Position.y, world, e.Kind);
                break;
            case CAST::BOMB:
                object = new BOMB(device, e.Position, world);
                break;
        }
        world->AddObject(object);
    }
}
