// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "objects/object.h"

// A small electric ball flying in a straight line. The damaging kind
// (third boss, small hats of kind 2) electrocutes the hero; the pushing
// kind (small hats of kinds 3 and 4) shoves him away.
class SPARK final : public OBJECT {
public:
    // At world pixel (x, y), flying at (vx, vy) px/s; pushing 0 makes the
    // damaging kind, anything else the pushing kind. Silent: its creator
    // plays any firing sound. The creator adds it to the world.
    SPARK(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, int32_t pushing);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override { return Alpha < 0.0f; }
    bool TouchHero(HERO* hero) override;

    float Age = 0.0f;     // s
    float Spin;           // rad, drawing rotation; +10 per s
    float Alpha = 1.0f;   // 0..1, opacity while fading
    VECTOR2 Velocity;     // px/s
    bool Fading = false;  // after 10 s, on a wall or after a hit; can no longer hit
    int32_t Pushing;      // 0 damaging kind, otherwise pushing kind
};
