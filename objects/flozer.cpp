// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/flozer.h"

#include <algorithm>
#include <cmath>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

constexpr float DRIFT_TIME = 3.0f;      // s of age spent drifting before it stops
constexpr float LIFE_TIME = 15.0f;      // s of age before it fades
constexpr float FADE_RATE = 1.0f;       // opacity per s
constexpr float REACH = 20.0f;          // px from the centre to the blade tips (probes, box)
constexpr float SPIN_UP_RATE = 0.2f;    // per s: five seconds to full spin
constexpr float TOP_SPIN = 40.0f;       // rad/s at full spin
constexpr float LAUNCH_SPEED = 500.0f;  // px/s, straight at where the hero was
constexpr float DAMAGE = 0.3f;          // health
constexpr float HURT_GUARD = 2.5f;      // s of invulnerability after a cut
constexpr float KNOCK_BACK = 800.0f;    // px/s sideways, away from the blade

// On the bubble sheet, ever more charged as it spins up.
constexpr RECT FLOZER_FRAMES[3] = {
    {240, 0, 300, 60},
    {300, 0, 360, 60},
    {360, 0, 420, 60},
};

}  // namespace

FLOZER::FLOZER(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float delay)
    : OBJECT(device, world, {x, y}, {30.0f, 30.0f}), Age(-delay), Velocity(vx, vy) {
    Sound.Play(SOUND_FLOZER_THROWN, false);
}

void FLOZER::Update(float dt) {
    bool youngBefore = Age <= DRIFT_TIME;
    Age += dt;
    Position += Velocity * dt;

    if (Age > LIFE_TIME) {
        Fading = true;
    }
    if (Fading) {
        Alpha -= FADE_RATE * dt;
    }

    if (World) {
        TILE_PROBES tiles = ProbeTiles(*World, Position, REACH);
        if (tiles.Below) {
            Velocity.y = -Velocity.y;
            Sound.Play(SOUND_FLOZER_HIT, false);
        }
        if (tiles.Side) {
            Velocity.x = -Velocity.x;
            Sound.Play(SOUND_FLOZER_HIT, false);
        }
    }

    Box = BoxAbout(Position, REACH);

    if (Age > DRIFT_TIME && SpinUp < 1.0f) {
        if (youngBefore) {
            Sound.Play(SOUND_FLOZER, false);  // the first frame past drifting
        }
        Velocity = {0.0f, 0.0f};
        SpinUp += SPIN_UP_RATE * dt;
        // Launched once, at where the hero is now; with no hero ever seen it
        // just keeps spinning where it stopped.
        if (SpinUp > 1.0f && Target) {
            Velocity = (Target->Position - Position).Normalised() * LAUNCH_SPEED;
        }
    }

    Angle -= SpinUp * TOP_SPIN * dt;
}

bool FLOZER::TouchHero(HERO* hero) {
    if (!hero) {
        return false;
    }
    Target = hero;
    if (!hero->Active || hero->InvulnerableTime > 0.0f) {
        return false;
    }
    if (!BoxesTouch(hero->Box, Box) && !BoxesTouch(Box, hero->Box)) {
        return false;
    }
    if (SpinUp == 0.0f) {
        // Still drifting: it pops and does the hero no harm.
        if (!Fading) {
            Fading = true;
            Sound.Play(SOUND_LAUNCH, false);
        }
        return false;
    }
    Sound.Play(SOUND_FLOZER_HIT, false);
    hero->Health -= DAMAGE;
    hero->InvulnerableTime = HURT_GUARD;
    bool toRight = hero->Position.x > Position.x;
    float push = toRight ? KNOCK_BACK : -KNOCK_BACK;
    if (hero->OnGround) {
        hero->Slide.x = push;
        hero->Facing = toRight ? 0 : 1;
        hero->Stumbling = true;
    } else {
        hero->Velocity.x = push;
        hero->Facing = toRight ? 0 : 1;
        hero->Animation = ANIM_STUMBLING;  // knocked through the air
        hero->Step = 0;
    }
    return false;  // the blade does its own damage; the hero does not bounce
}

void FLOZER::Render(SPRITE* sprite, float zoom) {
    int frame = std::min(int(SpinUp * 3.0f), 2);
    VECTOR2 centre = Anchor * zoom;
    DrawFrame(sprite, BubbleSheet, FLOZER_FRAMES[frame], zoom, 1.0f, &centre, Angle,
              WhiteWithAlpha(Alpha));
}
