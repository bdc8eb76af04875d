// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// The time bomb of the last level. Its charge runs down by itself in about
// 200 s and by a quarter with every hard landing on its top; when it is
// empty the bomb explodes, pulls the hero in and, 5.25 s later, the game is
// lost. Only beating the boss first gets the hero out.
class BOMB final : public OBJECT {
public:
    // position in tiles.
    BOMB(DEVICE* device, VECTOR2 position, WORLD* world);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    // Stays until the level is left.
    bool IsDead() override { return false; }
    bool TouchHero(HERO* hero) override;

    float Charge = 1.0f;         // 1 full; explodes at or below 0
    float HurtTimer = 0.0f;      // s; blinks and lets the hero through while > 0
    float ExplosionTime = 0.0f;  // grows by 4 a second once exploding; 21 ends the game
    HERO* Hero = nullptr;        // seen at the last contact test; not owned

private:
    void Explode(float dt);
};
