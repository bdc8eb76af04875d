// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// A spinning blade fired by the second boss and by flozer-throwing small
// hats. It drifts and bounces, then stops, spins up for five seconds and
// launches itself once at where the hero was. Touched while drifting it
// pops harmlessly; once it spins it hurts and knocks the hero away.
class FLOZER final : public OBJECT {
public:
    // At world pixel (x, y), moving at (vx, vy) px/s; it drifts for
    // delay + 3 s before it spins up. Announces itself with "flozer2"; the
    // creator adds it to the world.
    FLOZER(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float delay);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override { return Alpha <= 0.0f; }
    bool TouchHero(HERO* hero) override;

    float Angle = 0.0f;      // rad, drawing rotation
    float Age;               // s since the start; negative during the delay
    float SpinUp = 0.0f;     // 0 drifting, grows past 1 while spinning up, then launched
    float Alpha = 1.0f;      // 0..1, opacity while fading
    bool Fading = false;     // from age 15, or popped by the hero
    VECTOR2 Velocity;        // px/s
    HERO* Target = nullptr;  // the hero, remembered from TouchHero; not owned
};
