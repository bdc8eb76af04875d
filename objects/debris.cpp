// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/debris.h"

#include "objects/puff.h"
#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sprite.h"
#include "world/world.h"

namespace {

constexpr float DEBRIS_SPIN = 2.0f;      // rad/s
constexpr float DEBRIS_FLOOR = 1200.0f;  // px; below this the chunk is lost
constexpr int DEBRIS_FIRST_FRAME = 6;    // chunks are effects frames 6..9
constexpr int BURST_PUFFS = 5;
constexpr float BURST_CAP = 1.3f;     // puff scale cap base
constexpr float BURST_RISE = -30.0f;  // px/s², the dust drifts up
constexpr float BURST_AGE_RATE = 1.0f;

}  // namespace

DEBRIS::DEBRIS(DEVICE* device, float x, float y, float vx, float vy, WORLD* world)
    : OBJECT(device, world, {x, y}, {16.0f, 16.0f}) {
    Rotation = static_cast<float>(Rand() % 6280) / 1000.0f;
    Variant = Rand() % 4;
    Velocity = {vx, vy};
}

void DEBRIS::Update(float dt) {
    Velocity += GRAVITY * dt;
    Position += Velocity * dt;
    Rotation += DEBRIS_SPIN * dt;
    if (Position.y > DEBRIS_FLOOR) {
        Dead = true;
    }
    if (World && World->GetTile(static_cast<int>(Position.x), static_cast<int>(Position.y)) > 0) {
        Dead = true;
        for (int i = 0; i < BURST_PUFFS; ++i) {
            // The drift's y is drawn before its x.
            float vy = static_cast<float>(Rand() % 100) / 50.0f - 1.0f;
            float vx = static_cast<float>(Rand() % 100) / 50.0f - 1.0f;
            World->AddObject(new PUFF(Device, Position.x, Position.y, vx, vy, World, BURST_CAP,
                                      0.0f, BURST_RISE, BURST_AGE_RATE));
        }
    }
}

bool DEBRIS::IsDead() {
    return Dead;
}

void DEBRIS::Render(SPRITE* sprite, float zoom) {
    VECTOR2 centre{15.0f * zoom, 15.0f * zoom};
    DrawFrame(sprite, FxSheet, FxFrames[DEBRIS_FIRST_FRAME + (Variant & 3)], zoom, 1.0f, &centre,
              Rotation);
}
