// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// A soap bubble blown by the first boss and by bubble-blowing small hats.
// It rises, bounces softly off walls, homes in on a free hero and traps
// him: inside, he is carried along, cannot act and slowly loses health
// until the bubble bursts.
class BUBBLE final : public OBJECT {
public:
    // At world pixel (x, y), moving at (vx, vy) px/s; spin (rad) is the
    // starting turn of the trapped-hero picture. Pops into being with
    // "bubblepop"; the creator adds it to the world.
    BUBBLE(DEVICE* device, float x, float y, float vx, float vy, WORLD* world, float spin);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    // Bursts when its time is up, letting the hero out.
    bool IsDead() override;
    bool TouchHero(HERO* hero) override;

    float Lifetime;           // s left before it bursts
    float Spin;               // rad, turn of the trapped-hero picture; +1 per s
    float LastDt = 0.0f;      // s, the latest update's dt, for homing in TouchHero
    HERO* Captive = nullptr;  // the trapped hero; not owned
    VECTOR2 Velocity;         // px/s
};
