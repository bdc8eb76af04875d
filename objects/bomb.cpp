// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/bomb.h"

#include "objects/hero.h"
#include "objects/puff.h"
#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

constexpr float DRAIN = 0.005f;          // charge per second: 200 s from full
constexpr float LANDING_COST = 0.25f;    // charge per hard landing
constexpr float HARD_LANDING = 300.0f;   // px/s downwards the hero must beat
constexpr float BOUNCE = 0.7f;           // share of the landing speed sent back up
constexpr float HURT_TIME = 2.5f;        // s of blinking after a landing
constexpr float EXPLOSION_RATE = 4.0f;   // explosion time per second
constexpr float EXPLOSION_END = 21.0f;   // explosion time that ends the game (5.25 s)
constexpr float PULL = 40.0f;            // px/s per explosion time² drawing the hero in
constexpr RECT PICTURE{0, 0, 301, 119};  // on the stuff2 sheet

}  // namespace

BOMB::BOMB(DEVICE* device, VECTOR2 position, WORLD* world)
    : OBJECT(device, world, position * static_cast<float>(TILE_SIZE), {150.0f, 116.0f}) {}

void BOMB::Update(float dt) {
    // Only a flat strip across the top of the casing can be landed on.
    Box = {static_cast<int32_t>(Position.x - 65.0f), static_cast<int32_t>(Position.y - 91.0f),
           static_cast<int32_t>(Position.x + 55.0f), static_cast<int32_t>(Position.y - 66.0f)};
    if (HurtTimer > 0.0f) {
        HurtTimer -= dt;
    }
    Charge -= DRAIN * dt;
    if (Charge <= 0.0f) {
        Explode(dt);
    }
}

void BOMB::Explode(float dt) {
    float squared = ExplosionTime * ExplosionTime;
    if (Hero) {
        Hero->Active = false;
        // Drawn towards the bomb ever faster; straight down while there is
        // no direction yet.
        VECTOR2 pull = ((Position - Hero->Position) * squared).Normalised();
        if (pull.Length() == 0.0f) {
            pull = {0.0f, 1.0f};
        }
        Hero->Position += pull * (dt * PULL * squared);
    }
    HurtTimer = 1.0f;  // keeps blinking
    bool wasBelow = ExplosionTime <= EXPLOSION_END;
    ExplosionTime += EXPLOSION_RATE * dt;

    if (static_cast<int>(ExplosionTime * 100.0f) % 50 == 0) {
        int r1 = Rand() % 70;
        int r2 = Rand() % 300;
        int r3 = Rand() % 100 - 50;
        int r4 = Rand() % 100 - 50;
        World->AddObject(new PUFF(Device, Position.x + static_cast<float>(r2) - 150.0f,
                                  Position.y - static_cast<float>(r1), static_cast<float>(r4),
                                  static_cast<float>(r3), World, 4.0f, 0.0f, 0.0f, 0.7f));
    }

    if (ExplosionTime > EXPLOSION_END && wasBelow) {
        Sound.Play(SOUND_EXPLOSION, false);
        if (Hero) {
            Hero->LevelOver = true;
            Hero->GameOver = true;
        }
    }
}

bool BOMB::TouchHero(HERO* hero) {
    if (!hero || HurtTimer > 0.0f) {
        return false;
    }
    Hero = hero;
    if (!BoxesTouch(hero->Box, Box) && !BoxesTouch(Box, hero->Box)) {
        return false;
    }
    // Only a hard landing on top bounces the hero and knocks charge off.
    if (hero->Velocity.y > HARD_LANDING) {
        hero->Velocity.y = -hero->Velocity.y * BOUNCE;
        HurtTimer = HURT_TIME;
        Charge -= LANDING_COST;
        if (Charge < 0.0f) {
            Charge = 0.0f;
        }
    }
    return false;
}

void BOMB::Render(SPRITE* sprite, float zoom) {
    // Blinks sixteen times a second while hurt or exploding.
    if (HurtTimer > 0.0f && static_cast<int>(HurtTimer * 16.0f) % 2 == 1) {
        return;
    }
    // White when full, red when empty.
    ARGB colour = ColourFromFloats(1.0f, Charge, Charge, 1.0f);
    VECTOR2 centre{150.0f * zoom, 116.0f * zoom};
    DrawFrame(sprite, Stuff2Sheet, PICTURE, zoom, 1.0f, &centre, 0.0f, colour);
}
