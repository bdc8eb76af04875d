// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// A short-lived cloud of dust or smoke: it grows, drifts, spins and runs
// through the six puff stages of the effects sheet, then goes.
class PUFF final : public OBJECT {
public:
    // capBase: the least the puff grows to; it grows up to 0.4 more.
    PUFF(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float capBase,
         float ax, float ay, float ageRate);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;

    float Age = 0.0f;       // 0 at birth; the puff goes once it passes 1.2
    float Scale = 0.0f;     // drawing scale, grows 1 per s
    float MaxScale = 0.0f;  // where the growth stops
    float AgeRate = 1.0f;   // age per s
    float Rotation = 0.0f;  // rad, turning 2 per s
    VECTOR2 Velocity;       // px/s
    VECTOR2 Acceleration;   // px/s²; negative y makes the puff rise
};
