// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// The third boss's sweeping beam: a half-line hanging from a pivot 50 px
// above Position, turning through a quarter circle in two seconds and
// electrocuting a hero whose centre comes within 100 px of it.
class DEATHRAY final : public OBJECT {
public:
    // At world pixel (x, y), the pivot 50 px above; angle (rad) 0 hangs
    // straight down, a positive angle swings the beam towards +x. Crackles
    // with "deathray"; the creator adds it to the world.
    DEATHRAY(DEVICE* device, float x, float y, WORLD* world, float angle);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;
    bool TouchHero(HERO* hero) override;

    // The pivot the beam turns about, in world pixels.
    VECTOR2 Pivot() const;

    float Age = 0.0f;  // s
    float Angle;       // rad; falls by π/4 per s
};
