// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/vector2.h"
#include "platform/types.h"

class DEVICE;
class SPRITE;
class TEXTURE;
class OBJECT;
class HERO;
class BINK;

inline constexpr int TILE_SIZE = 64;      // px
inline constexpr int MAP_COLUMNS = 1000;  // tiles
inline constexpr int MAP_ROWS = 15;       // tiles
inline constexpr int LEVEL_COUNT = 12;
inline constexpr int SPEECH_MARKS = 100;
inline constexpr int TILE_IMAGES = 30;     // tile values 1..30 pick an image
inline constexpr int STAGE_BACKDROPS = 2;  // stages 2 and 3 have backdrops of their own

// Where the hero stands when a level starts, px, world.
extern const VECTOR2 HERO_STARTS[LEVEL_COUNT];

// The level: the tile grid from the map file, the camera, and the list of
// live objects it owns.
class WORLD {
public:
    explicit WORLD(DEVICE* device);
    WORLD(const WORLD&) = delete;
    WORLD& operator=(const WORLD&) = delete;
    ~WORLD();

    // Switches to a level: tiles, camera, hero placement, the level's cast.
    bool LoadMap(int level, HERO* hero);

    int GetTile(int x, int y) const;  // x, y in px, world
    VECTOR2 WorldToScreen(float x, float y, float zoom) const;
    void DrawWorld(SPRITE* sprite, float zoom);
    // What DrawWorld draws behind the level's tiles: its stage's picture, or
    // the meadow's when that one is missing.
    TEXTURE* Backdrop() const;

    void Update(float dt, HERO* hero, BINK* bink);
    void RenderObjects(SPRITE* sprite, float zoom, uint8_t layer);
    void AddObject(OBJECT* object);
    void AddObjectFront(OBJECT* object);

    std::vector<OBJECT*>& Objects() { return ObjectList; }
    int LevelIndex() const { return Level; }
    float LevelClock() const { return Clock; }
    int MapWidth() const { return Width; }
    int MapHeight() const { return Height; }
    // For tools and tests that build a grid by hand.
    void SetTile(int column, int row, int value);

    DEVICE* Device;
    TEXTURE* TileTexture = nullptr;
    TEXTURE* Background = nullptr;  // the meadow's, and any stage's without its own
    TEXTURE* StageBackgrounds[STAGE_BACKDROPS] = {};  // the cave's, the fortress's
    RECT TileImages[TILE_IMAGES];                     // index = tile value - 1
    int32_t Width = 0;                                // tiles, the longest row read
    int32_t Height = 0;                               // tiles, rows read
    VECTOR2 CameraTarget{400.0f, 300.0f};             // px
    VECTOR2 CameraLead;                               // px, wanted look-ahead
    VECTOR2 CurrentLead;                              // px, applied look-ahead
    int32_t Grid[MAP_COLUMNS * MAP_ROWS] = {};        // column by column
    int Level = 0;
    float Clock = 0.0f;  // s since the level was loaded
    uint8_t SpeechMarks[SPEECH_MARKS] = {};
    std::vector<OBJECT*> ObjectList;
    std::vector<std::string> LevelTable;

private:
    // The world point at the screen's top-left corner at the zoom, px, with
    // the camera kept from showing anything below the map.
    VECTOR2 CameraCorner(float zoom) const;

    // Where the object pass stands, so an object added at the front during
    // the pass does not make the pass visit anything twice, and where it
    // ends, so objects added at the back wait for the next frame.
    size_t PassIndex = 0;
    size_t PassEnd = 0;
    bool InPass = false;
};
