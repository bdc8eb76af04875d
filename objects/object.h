// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "math/colour.h"
#include "math/vector2.h"
#include "platform/types.h"

class WORLD;
class HERO;
class DEVICE;
class SPRITE;
class TEXTURE;

// A collision box in world pixels, bounds inclusive.
struct BOX {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// True when a corner of a lies inside b. Callers test both ways round.
bool BoxesTouch(const BOX& a, const BOX& b);

// A square box `reach` px about a centre, each bound cut to whole pixels
// towards zero.
BOX BoxAbout(VECTOR2 centre, float reach);

// What a small thrown object finds in the tiles: a solid tile `reach` px
// below its centre, or one as far to its left or right at its height.
struct TILE_PROBES {
    bool Below = false;
    bool Side = false;
};
TILE_PROBES ProbeTiles(const WORLD& world, VECTOR2 centre, float reach);

// What everything that falls falls with: px/s².
inline constexpr VECTOR2 GRAVITY{0.0f, 500.0f};

// When an object is drawn: before the hero, or after (over) it.
inline constexpr uint8_t LAYER_UNDER_HERO = 0;
inline constexpr uint8_t LAYER_OVER_HERO = 1;

// Everything in a level that is not a tile. The world owns the objects in
// its list and asks each one every frame whether it is finished.
class OBJECT {
public:
    OBJECT(const OBJECT&) = delete;
    OBJECT& operator=(const OBJECT&) = delete;
    // Virtual so that the world's delete of a finished object runs the
    // derived class's destructor too.
    virtual ~OBJECT() = default;

    virtual void Update(float dt) = 0;  // dt in s
    virtual void Render(SPRITE* sprite, float zoom) = 0;
    virtual bool IsDead() { return false; }
    // Applies the object's own effect on contact; true when it hurts.
    virtual bool TouchHero(HERO* hero);
    // The hero landed on this object from above.
    virtual void Hit();

    WORLD* World = nullptr;
    VECTOR2 Position;  // px, world
    VECTOR2 Anchor;    // px of the frame drawn at Position
    uint8_t Layer = LAYER_UNDER_HERO;
    BOX Box;  // px, world, recomputed by each class's update
    DEVICE* Device = nullptr;

protected:
    OBJECT() = default;
    // What every object starts with: its world and device, where it stands
    // (px, world) and which pixel of its frame stands there.
    OBJECT(DEVICE* device, WORLD* world, VECTOR2 position, VECTOR2 anchor,
           uint8_t layer = LAYER_UNDER_HERO)
        : World(world), Position(position), Anchor(anchor), Layer(layer), Device(device) {}

    // The one way a frame goes on screen: at WorldToScreen(Position) minus
    // zoom × scale × Anchor, scaled by zoom × scale, turned about centre
    // (in scaled frame pixels) by rotation (rad, anticlockwise on screen).
    void DrawFrame(SPRITE* sprite, const TEXTURE* sheet, const RECT& frame, float zoom,
                   float scale = 1.0f, const VECTOR2* centre = nullptr, float rotation = 0.0f,
                   ARGB colour = COLOUR_WHITE) const;
    // The same draw for a part of an object that is not at Position: the
    // frame's anchor pixel lands on the world point at.
    void DrawFrameAt(SPRITE* sprite, const TEXTURE* sheet, const RECT& frame, float zoom,
                     const VECTOR2& at, const VECTOR2& anchor, float scale = 1.0f,
                     const VECTOR2* centre = nullptr, float rotation = 0.0f,
                     ARGB colour = COLOUR_WHITE) const;
};
