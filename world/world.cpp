// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "objects/hero.h"
#include "objects/object.h"
#include "platform/data_file.h"
#include "platform/log.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "world/level_contents.h"
#include "world/map_file.h"
#include "world/speech_cues.h"

const VECTOR2 HERO_STARTS[LEVEL_COUNT] = {
    {320.0f, 384.0f}, {640.0f, 384.0f}, {128.0f, 384.0f}, {448.0f, 384.0f},
    {128.0f, 384.0f}, {320.0f, 384.0f}, {128.0f, 128.0f}, {320.0f, 256.0f},
    {192.0f, 384.0f}, {192.0f, 512.0f}, {192.0f, 512.0f}, {704.0f, 448.0f},
};

namespace {

const char* const MAP_FILES[LEVEL_COUNT] = {
    "map/stage1-1.map", "map/stage1-2.map", "map/stage1-3.map", "map/stage1-boss.map",
    "map/stage2-1.map", "map/stage2-2.map", "map/stage2-3.map", "map/stage2-boss.map",
    "map/stage3-1.map", "map/stage3-2.map", "map/stage3-3.map", "map/stage3-boss.map",
};

// The backdrops of stages 2 and 3; the meadow's bg.jpg stands in for one
// that is missing.
const char* const STAGE_BACKDROP_FILES[STAGE_BACKDROPS] = {"textures/bg2.jpg", "textures/bg3.jpg"};

constexpr float SCREEN_WIDTH = 800.0f;   // px
constexpr float SCREEN_HEIGHT = 600.0f;  // px
constexpr float LEAD_EASING = 2.0f;      // 1/s; the look-ahead closes this share per second

// Float to int for cell indices, kept far inside int's range so a wild
// camera cannot overflow the conversion.
int TruncToInt(float v) {
    if (!(v > -1.0e8f)) {
        return -100000000;  // also catches NaN
    }
    if (v > 1.0e8f) {
        return 100000000;
    }
    return static_cast<int>(v);
}

}  // namespace

WORLD::WORLD(DEVICE* device) : Device(device) {
    for (int i = 0; i < TILE_IMAGES; ++i) {
        int c = i % 10;
        int r = i / 10;
        TileImages[i] = {TILE_SIZE * c, TILE_SIZE * r, TILE_SIZE * c + TILE_SIZE,
                         TILE_SIZE * r + TILE_SIZE};
    }
    TileTexture = TEXTURE::LoadExact(device, "textures/tiles.bmp", 640, 192);
    Background = TEXTURE::LoadExact(device, "textures/bg.jpg", 800, 600);
    for (int i = 0; i < STAGE_BACKDROPS; ++i) {
        StageBackgrounds[i] = TEXTURE::LoadExact(device, STAGE_BACKDROP_FILES[i], 800, 600);
    }
    LevelTable.assign(std::begin(MAP_FILES), std::end(MAP_FILES));
}

WORLD::~WORLD() {
    for (OBJECT* o : ObjectList) {
        delete o;
    }
    delete TileTexture;
    delete Background;
    for (TEXTURE* t : StageBackgrounds) {
        delete t;
    }
}

bool WORLD::LoadMap(int level, HERO* hero) {
    // A map that is no plain file, is far too large or fails part-way
    // through counts as one that is not there.
    std::string text;
    bool opened =
        level >= 0 && level < int(LevelTable.size()) &&
        FILES::Read(LevelTable[size_t(level)], FILES::KIND::MAP, &text) == FILES::RESULT::OK;
    Width = 0;
    Height = 0;
    Level = level;
    Clock = 0.0f;
    std::memset(SpeechMarks, 0, sizeof SpeechMarks);
    if (!opened) {
        LOG().WriteLine("Faulty map file to load");
        return false;
    }

    std::istringstream file(std::move(text));
    MAP_DATA map = ReadMap(file);
    Width = map.Width;
    Height = map.Height;
    if (!PlaceMap(map, Grid, MAP_COLUMNS, MAP_ROWS)) {
        LOG().WriteLine("No map data in map file");
    }

    CameraTarget = {SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2};
    CameraLead = {0.0f, 0.0f};
    CurrentLead = {0.0f, 0.0f};

    // Taken out of the list before deleting, so nothing a destructor does
    // can reach a half-deleted list.
    std::vector<OBJECT*> old;
    old.swap(ObjectList);
    for (OBJECT* o : old) {
        delete o;
    }

    if (hero) {
        // Full health, in play, at the start point, and nothing of how the
        // last level ended (a fall, a stun, a charge) carried over.
        hero->ResetForLevel(level >= 0 && level < LEVEL_COUNT ? HERO_STARTS[level]
                                                              : hero->Position);
    }
    CreateLevelContents(this, Device, level);
    return true;
}

int WORLD::GetTile(int x, int y) const {
    // Integer division truncates toward zero, as the tile test wants:
    // x = -10 still lies in column 0.
    int column = x / TILE_SIZE;
    int row = y / TILE_SIZE;
    if (column < 0 || column >= MAP_COLUMNS || row < 0 || row >= MAP_ROWS) {
        return 0;
    }
    return Grid[column * MAP_ROWS + row];
}

VECTOR2 WORLD::CameraCorner(float zoom) const {
    float left = (CameraTarget.x + CurrentLead.x) * zoom - (SCREEN_WIDTH / 2) / zoom;
    float top = (CameraTarget.y + CurrentLead.y) * zoom - (SCREEN_HEIGHT / 2) / zoom;
    // The camera never shows what lies below the map's bottom row.
    float bottom = float(Height) * TILE_SIZE;
    if (bottom < top + SCREEN_HEIGHT / zoom) {
        top = bottom - SCREEN_HEIGHT / zoom;
    }
    return {left, top};
}

VECTOR2 WORLD::WorldToScreen(float x, float y, float zoom) const {
    VECTOR2 corner = CameraCorner(zoom);
    return {(x - corner.x) * zoom, (y - corner.y) * zoom};
}

TEXTURE* WORLD::Backdrop() const {
    int stage = StageOf(Level);
    TEXTURE* own = stage > 0 ? StageBackgrounds[stage - 1] : nullptr;
    return own ? own : Background;
}

void WORLD::DrawWorld(SPRITE* sprite, float zoom) {
    try {
        if (!sprite) {
            return;
        }
        // The background moves by a sixth of the hero's movement, whatever
        // the zoom, and repeats every 800 px.
        float scroll = std::trunc(-CameraTarget.x * zoom / 6.0f);
        int shift = std::isfinite(scroll) ? int(std::fmod(scroll, SCREEN_WIDTH)) : 0;
        TEXTURE* backdrop = Backdrop();
        VECTOR2 at{float(shift) + SCREEN_WIDTH, 0.0f};
        sprite->Draw(backdrop, nullptr, nullptr, nullptr, 0.0f, &at, COLOUR_WHITE);
        at = {float(shift), 0.0f};
        sprite->Draw(backdrop, nullptr, nullptr, nullptr, 0.0f, &at, COLOUR_WHITE);

        VECTOR2 corner = CameraCorner(zoom);
        float left = corner.x;
        float top = corner.y;

        int fc = TruncToInt(left / TILE_SIZE);
        int fr = TruncToInt(top / TILE_SIZE);
        int lc = TruncToInt(SCREEN_WIDTH / TILE_SIZE / zoom + float(fc) + 1.0f);
        int lr = TruncToInt(SCREEN_HEIGHT / TILE_SIZE / zoom + float(fr) + 1.0f);
        float ox = left - float(TILE_SIZE) * float(fc);
        float oy = top - float(TILE_SIZE) * float(fr);
        // A tile's edges are rounded to whole screen pixels and each tile
        // reaches exactly to where its neighbour starts: drawn at the
        // fractional places a zoom gives, the tiles would leave hairline
        // seams between them.
        auto edge = [zoom](float cells, float offset) {
            return std::floor(zoom * (TILE_SIZE * cells - offset) + 0.5f);
        };

        // Cells left of or above the grid are counted (i, j) but never
        // visited, so even a wild camera costs no more than the window.
        for (int r = std::max(fr, 0); r <= lr && r < MAP_ROWS; ++r) {
            float j = float(r - fr);
            float y0 = edge(j, oy);
            float y1 = edge(j + 1.0f, oy);
            for (int c = std::max(fc, 0); c <= lc && c < MAP_COLUMNS; ++c) {
                int v = Grid[c * MAP_ROWS + r];
                if (v < 1 || v > TILE_IMAGES) {
                    continue;  // empty, or a value no image belongs to
                }
                float i = float(c - fc);
                float x0 = edge(i, ox);
                float x1 = edge(i + 1.0f, ox);
                VECTOR2 scaling{(x1 - x0) / TILE_SIZE, (y1 - y0) / TILE_SIZE};
                VECTOR2 s{x0, y0};
                sprite->Draw(TileTexture, &TileImages[v - 1], &scaling, nullptr, 0.0f, &s,
                             COLOUR_WHITE);
            }
        }
    } catch (...) {
        LOG().WriteLine("Error in DrawWorld()");
    }
}

void WORLD::Update(float dt, HERO* hero, BINK* bink) {
    Clock += dt;
    CurrentLead += (CameraLead - CurrentLead) * (dt * LEAD_EASING);

    // Objects add objects from inside their Update: at the front (which
    // moves the current one back, so PassIndex follows it) or at the back
    // (beyond PassEnd, first updated next frame). So every object that was
    // here when the pass began is visited once, in order.
    InPass = true;
    PassIndex = 0;
    PassEnd = ObjectList.size();
    try {
        while (PassIndex < PassEnd && PassIndex < ObjectList.size()) {
            OBJECT* o = ObjectList[PassIndex];
            if (o->IsDead()) {
                // Only one object retires per frame; the rest wait.
                ObjectList.erase(ObjectList.begin() + std::ptrdiff_t(PassIndex));
                InPass = false;
                delete o;
                break;
            }
            o->Update(dt);
            ++PassIndex;
        }
    } catch (...) {
        // A failing object ends the pass for this frame; the game goes on.
    }
    InPass = false;

    TestSpeechCues(this, hero, bink);
}

void WORLD::RenderObjects(SPRITE* sprite, float zoom, uint8_t layer) {
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        if (ObjectList[i]->Layer == layer) {
            ObjectList[i]->Render(sprite, zoom);
        }
    }
}

void WORLD::AddObject(OBJECT* object) {
    if (object) {
        ObjectList.push_back(object);
    }
}

void WORLD::AddObjectFront(OBJECT* object) {
    if (!object) {
        return;
    }
    ObjectList.insert(ObjectList.begin(), object);
    if (InPass) {
        ++PassIndex;
        ++PassEnd;
    }
}

void WORLD::SetTile(int column, int row, int value) {
    if (column >= 0 && column < MAP_COLUMNS && row >= 0 && row < MAP_ROWS) {
        Grid[column * MAP_ROWS + row] = value;
    }
}
