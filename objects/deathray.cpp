// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/deathray.h"

#include <cmath>
#include <numbers>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/sound.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

constexpr float LIFE_TIME = 2.0f;                            // s
constexpr float SWEEP_RATE = std::numbers::pi_v<float> / 4;  // rad/s: a quarter turn in 2 s
constexpr float PIVOT_HEIGHT = 50.0f;                        // px from Position up to the pivot
constexpr float REACH = 100.0f;  // px from the beam's centre line that still burns
constexpr float DAMAGE = 0.25f;  // health
constexpr float STUN = 2.0f;     // s, both stunned and invulnerable

// The beam picture: one seamless 200 x 200 segment, centred on x 100,
// repeated down the beam and scrolled downwards.
constexpr int SEGMENT = 200;            // px
constexpr float HALF_WIDTH = 100.0f;    // px
constexpr float SCROLL_RATE = 400.0f;   // px/s
constexpr float BEAM_BOTTOM = 2000.0f;  // px, world y where the column of segments ends

}  // namespace

// Anchored at the top middle of the beam.
DEATHRAY::DEATHRAY(DEVICE* device, float x, float y, WORLD* world, float angle)
    : OBJECT(device, world, {x, y}, {HALF_WIDTH, 0.0f}), Angle(angle) {
    Sound.Play(SOUND_DEATHRAY, false);
}

VECTOR2 DEATHRAY::Pivot() const {
    return Position - VECTOR2{0.0f, PIVOT_HEIGHT};
}

void DEATHRAY::Update(float dt) {
    Age += dt;
    Angle -= dt * SWEEP_RATE;
}

bool DEATHRAY::IsDead() {
    return Age > LIFE_TIME;
}

bool DEATHRAY::TouchHero(HERO* hero) {
    if (!hero) {
        return false;
    }
    // Measured from the hero's centre to the point of the beam as far from
    // the pivot as he is. The drawing turns a picture hanging below the
    // pivot anticlockwise for a positive angle, which swings it towards +x:
    // (sin, cos) is the same direction, so this is the beam as drawn.
    VECTOR2 pivot = Pivot();
    float d = (hero->Position - pivot).Length();
    VECTOR2 onBeam = pivot + VECTOR2{std::sin(Angle), std::cos(Angle)} * d;
    if ((hero->Position - onBeam).Length() >= REACH) {
        return false;
    }
    if (!hero->Active || hero->InvulnerableTime > 0.0f) {
        return false;
    }
    hero->Health -= DAMAGE;
    hero->InvulnerableTime = STUN;
    hero->StunTime = STUN;
    hero->Electrocuted = true;
    hero->Animation = ANIM_DYING;  // the shocked pose
    hero->Velocity = {0.0f, 0.0f};
    hero->Aiming = false;
    Sound.Play(SOUND_ELECTROCUTED, false);
    return false;  // the shock is the whole effect
}

void DEATHRAY::Render(SPRITE* sprite, float zoom) {
    if (!sprite || !World) {
        return;
    }
    VECTOR2 scaling{zoom, zoom};
    // Every segment turns about the same pivot, given from the segment's
    // own top-left corner: k px above that corner.
    auto drawSegment = [&](const RECT& source, float top, float k) {
        VECTOR2 at = World->WorldToScreen(Position.x, top, zoom) - VECTOR2{HALF_WIDTH, 0.0f} * zoom;
        VECTOR2 centre{HALF_WIDTH * zoom, -k * zoom};
        sprite->Draw(DeathRaySheet, &source, &scaling, &centre, Angle, &at, COLOUR_WHITE);
    };

    int scrolled = int(Age * SCROLL_RATE);
    int g = scrolled % SEGMENT;
    // First the lowest g rows of a segment, so the pattern moves down.
    if (g > 0) {
        drawSegment(RECT{0, SEGMENT - g, SEGMENT, SEGMENT}, Position.y, PIVOT_HEIGHT);
    }
    const RECT whole{0, 0, SEGMENT, SEGMENT};
    float k = PIVOT_HEIGHT + float(g);
    for (float y = Position.y + float(g); y < BEAM_BOTTOM; y += float(SEGMENT)) {
        drawSegment(whole, y, k);
        k += float(SEGMENT);
    }
}
