// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/bubble.h"

#include <algorithm>
#include <cmath>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

constexpr float LIFETIME_BASE = 10.0f;  // s; plus up to 6.999 s drawn at random
constexpr int LIFETIME_SPREAD = 7000;   // ms
constexpr float LIFT = 10.0f;           // px/s², upward acceleration
constexpr float FLOOR_BOUNCE = 0.2f;    // share of vertical speed kept off a floor
constexpr float WALL_BOUNCE = 0.5f;     // share of horizontal speed kept off a wall
constexpr float REACH = 20.0f;          // px from the centre to the skin (tile probes, box)
constexpr float SPIN_RATE = 1.0f;       // rad/s, the trapped hero turning inside
constexpr float DRAIN = 0.08f;          // health per s lost by the trapped hero
constexpr float CAPTURE_BONUS = 1.0f;   // s added to the lifetime on capture...
constexpr float CAPTURE_LIMIT = 3.0f;   // s ...but never more than this left
constexpr float HOMING = 30.0f;         // px/s², pull towards a free hero
constexpr float TOP_SPEED = 100.0f;     // px/s while homing
constexpr float RELEASE_GUARD = 2.5f;   // s of invulnerability when set free

// On the bubble sheet.
constexpr RECT BUBBLE_FRAMES[3] = {
    {0, 0, 60, 60},
    {60, 0, 120, 60},
    {120, 0, 180, 60},
};
constexpr RECT TRAPPED_HERO_FRAME = {180, 0, 240, 60};

}  // namespace

BUBBLE::BUBBLE(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float spin)
    : OBJECT(device, world, {x, y}, {30.0f, 30.0f}),
      Lifetime(LIFETIME_BASE + float(Rand() % LIFETIME_SPREAD) / 1000.0f),
      Spin(spin),
      Velocity(vx, vy) {
    Sound.Play(SOUND_BUBBLE_POP, false);
}

void BUBBLE::Update(float dt) {
    Lifetime -= dt;
    LastDt = dt;

    Velocity.y -= LIFT * dt;
    Position += Velocity * dt;

    if (World) {
        TILE_PROBES tiles = ProbeTiles(*World, Position, REACH);
        if (tiles.Below) {
            Velocity.y = -Velocity.y * FLOOR_BOUNCE;
        }
        if (tiles.Side) {
            Velocity.x = -Velocity.x * WALL_BOUNCE;
        }
    }

    Box = BoxAbout(Position, REACH);

    Spin += SPIN_RATE * dt;

    if (Captive) {
        Captive->Health -= DRAIN * dt;
        if (Captive->Health < 0.0f) {
            Lifetime = 0.0f;  // burst now and let the hero's own dying take over
        }
    }
}

bool BUBBLE::TouchHero(HERO* hero) {
    if (!hero || Captive) {
        return false;
    }
    // A hero already held by another bubble, or still blinking, is left alone.
    if (!hero->Active || hero->InvulnerableTime > 0.0f) {
        return false;
    }
    if (BoxesTouch(hero->Box, Box) || BoxesTouch(Box, hero->Box)) {
        Captive = hero;
        hero->Active = false;
        hero->Aiming = false;
        Lifetime = std::min(Lifetime + CAPTURE_BONUS, CAPTURE_LIMIT);
        Sound.Play(SOUND_IN_BUBBLE, false);
    }
    if (hero->Active) {
        Velocity += (hero->Position - Position).Normalised() * (LastDt * HOMING);
        float speed = Velocity.Length();
        if (speed > TOP_SPEED) {
            Velocity *= TOP_SPEED / speed;
        }
    }
    return false;  // the hero never bounces off a bubble
}

bool BUBBLE::IsDead() {
    if (Lifetime > 0.0f) {
        return false;
    }
    if (Captive) {
        Captive->InvulnerableTime = RELEASE_GUARD;
        Captive->Position = Position;
        Captive->Active = true;
        Captive->Animation = ANIM_DYING;  // dazed
        Captive->Step = 0;
        Captive->Velocity = {0.0f, 0.0f};
        Captive = nullptr;
    }
    Sound.Play(SOUND_BUBBLE_POP, false);
    return true;
}

void BUBBLE::Render(SPRITE* sprite, float zoom) {
    VECTOR2 centre = Anchor * zoom;
    if (Captive) {
        DrawFrame(sprite, BubbleSheet, TRAPPED_HERO_FRAME, zoom, 1.0f, &centre, Spin);
        // The hero rides inside, frame by frame.
        Captive->Position = Position;
    }
    int frame = int(Lifetime * 3.0f) % 3;
    if (frame < 0) {
        frame = 0;  // a lifetime run below zero still draws a bubble
    }
    DrawFrame(sprite, BubbleSheet, BUBBLE_FRAMES[frame], zoom, 1.0f, &centre, 0.0f);
}
