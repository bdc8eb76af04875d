// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "objects/object.h"

// A pickup dropped by a stomped small hat: it falls to the ground and is
// taken when the hero touches it lying still; then it fades away.
class ITEM final : public OBJECT {
public:
    static constexpr int32_t CARROT = 0;  // health back to full
    static constexpr int32_t HOTDOG = 1;  // one more life

    // At world pixel (x, y); kind CARROT or HOTDOG (anything else is taken
    // for a carrot).
    ITEM(DEVICE* device, float x, float y, WORLD* world, int32_t kind);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;
    bool TouchHero(HERO* hero) override;

    VECTOR2 Velocity;        // px/s; only y changes, 0 once it rests
    int32_t Kind;            // CARROT or HOTDOG
    int32_t Points;          // added to the hero's score when taken
    float Alpha = 1.0f;      // 0..1, opacity; falls by 1 per s once taken
    bool Collected = false;  // taken: fading, never taken again
};
