// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/spark.h"

#include <cmath>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

constexpr float LIFE_TIME = 10.0f;   // s of flight before it fades
constexpr float FADE_RATE = 1.0f;    // opacity per s
constexpr float REACH = 20.0f;       // px from the centre (wall probes, box)
constexpr float SPIN_RATE = 10.0f;   // rad/s
constexpr float FRAME_RATE = 6.0f;   // frames per s of the crackle
constexpr float DAMAGE = 0.3f;       // health, damaging kind
constexpr float STUN = 2.0f;         // s, both stunned and invulnerable
constexpr float SHOCK_BRAKE = 0.3f;  // share of the hero's speed kept when shocked
constexpr float PUSH_BRAKE = 0.3f;   // share of its own speed a pushing spark keeps

// On the bubble sheet.
constexpr RECT DAMAGING_FRAMES[3] = {
    {420, 0, 480, 60},
    {480, 0, 540, 60},
    {540, 0, 600, 60},
};
constexpr RECT PUSHING_FRAME = {660, 0, 720, 60};

}  // namespace

SPARK::SPARK(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, int32_t pushing)
    : OBJECT(device, world, {x, y}, {30.0f, 30.0f}),
      Spin(float(Rand() % 6280) / 1000.0f),
      Velocity(vx, vy),
      Pushing(pushing) {}

void SPARK::Update(float dt) {
    Age += dt;
    Position += Velocity * dt;
    if (Age > LIFE_TIME) {
        Fading = true;
    }
    if (Fading) {
        Alpha -= FADE_RATE * dt;
    }
    // A wall puts it out, but it flies on through while it fades.
    if (World) {
        TILE_PROBES tiles = ProbeTiles(*World, Position, REACH);
        if (tiles.Below || tiles.Side) {
            Fading = true;
        }
    }
    Box = BoxAbout(Position, REACH);
    Spin += SPIN_RATE * dt;
}

bool SPARK::TouchHero(HERO* hero) {
    if (!hero || Fading || !hero->Active || hero->InvulnerableTime > 0.0f) {
        return false;
    }
    if (!BoxesTouch(hero->Box, Box) && !BoxesTouch(Box, hero->Box)) {
        return false;
    }
    Fading = true;
    if (Pushing == 0) {
        hero->Health -= DAMAGE;
        hero->InvulnerableTime = STUN;
        hero->StunTime = STUN;
        hero->Electrocuted = true;
        hero->Animation = ANIM_DYING;  // the shocked pose
        hero->Velocity *= SHOCK_BRAKE;
        hero->Aiming = false;
        Sound.Play(SOUND_ELECTROCUTED, false);
        return false;
    }
    // The pushing kind shoves the hero along its own flight and lets the
    // hero's contact rule take it as a side contact.
    if (hero->OnGround) {
        hero->Slide.x = Velocity.x;
        hero->Stumbling = true;
    } else {
        hero->Velocity.x = Velocity.x;
        hero->Animation = ANIM_STUMBLING;  // knocked through the air
        hero->Step = 0;
    }
    hero->Facing = hero->Position.x > Position.x ? 0 : 1;
    hero->Velocity.y = 0.0f;
    Velocity *= PUSH_BRAKE;
    return true;
}

void SPARK::Render(SPRITE* sprite, float zoom) {
    const RECT& frame = Pushing == 0 ? DAMAGING_FRAMES[int(Age * FRAME_RATE) % 3] : PUSHING_FRAME;
    VECTOR2 centre = Anchor * zoom;
    DrawFrame(sprite, BubbleSheet, frame, zoom, 1.0f, &centre, Spin, WhiteWithAlpha(Alpha));
}
