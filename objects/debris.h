// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "objects/object.h"

// A chunk of rock knocked off a wall by a fast hero. It flies under
// gravity, spinning, and bursts into dust on the first solid tile it meets.
class DEBRIS final : public OBJECT {
public:
    DEBRIS(DEVICE* device, float x, float y, float vx, float vy, WORLD* world);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;

    float Rotation = 0.0f;  // rad, turning 2 per s
    VECTOR2 Velocity;       // px/s
    int32_t Variant = 0;    // which of the four chunk pictures
    bool Dead = false;      // left the level or burst
};
