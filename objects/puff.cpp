// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/puff.h"

#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

constexpr float PUFF_LIFE = 1.2f;    // age at which a puff is gone
constexpr int PUFF_LAST_STAGE = 5;   // frames 0..5 of the effects sheet
constexpr float PUFF_SPIN = 2.0f;    // rad/s
constexpr float PUFF_GROWTH = 1.0f;  // scale per s
constexpr float PUFF_PIVOT = 15.0f;  // px of the unscaled frame it turns about

}  // namespace

PUFF::PUFF(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float capBase,
           float ax, float ay, float ageRate)
    : OBJECT(device, world, {x, y}, {16.0f, 16.0f}, LAYER_OVER_HERO) {
    // Three draws, always in this order, so a replay throws the same dust.
    Scale = 0.1f + static_cast<float>(Rand() % 400) / 1000.0f;
    MaxScale = capBase + static_cast<float>(Rand() % 400) / 1000.0f;
    Rotation = static_cast<float>(Rand() % 6280) / 1000.0f;
    AgeRate = ageRate;
    Velocity = {vx, vy};
    Acceleration = {ax, ay};
}

void PUFF::Update(float dt) {
    Age += dt * AgeRate;
    Scale += PUFF_GROWTH * dt;
    if (Scale > MaxScale) {
        Scale = MaxScale;
    }
    Velocity += Acceleration * dt;
    Position += Velocity * dt;
    Rotation += PUFF_SPIN * dt;
}

bool PUFF::IsDead() {
    return Age > PUFF_LIFE;
}

void PUFF::Render(SPRITE* sprite, float zoom) {
    if (!sprite || !World) {
        return;
    }
    int stage = static_cast<int>(5.0f * Age);
    if (stage > PUFF_LAST_STAGE) {
        stage = PUFF_LAST_STAGE;
    }
    if (stage < 0) {
        stage = 0;
    }
    // The frame's corner stays put while it grows; it turns about a point
    // near its middle.
    VECTOR2 scaling{zoom * Scale, zoom * Scale};
    VECTOR2 centre{PUFF_PIVOT * zoom * Scale, PUFF_PIVOT * zoom * Scale};
    VECTOR2 at = World->WorldToScreen(Position.x, Position.y, zoom) - Anchor * zoom;
    sprite->Draw(FxSheet, &FxFrames[stage], &scaling, &centre, Rotation, &at, COLOUR_WHITE);
}
