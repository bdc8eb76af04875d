// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "objects/object.h"

// The level exit: the hero walks into the post in the middle of it, the lid
// closes over him, the toilet climbs, hovers, fades out and ends the level.
class TOILET final : public OBJECT {
public:
    // Stands on the top edge of tile row position.y at column position.x
    // (both in tiles); the level set-up places one in every normal level.
    TOILET(DEVICE* device, VECTOR2 position, WORLD* world);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override { return false; }  // stays until the level goes
    bool TouchHero(HERO* hero) override;

    VECTOR2 Velocity;                  // px/s; only y changes
    int32_t Lid = 1;                   // frame: 1 open and waiting, 0 closed over the hero
    bool RiseSoundPlayed = false;      // "toiletrise" at the start of braking
    bool TeleportSoundPlayed = false;  // "teleport" at the start of the fade
    HERO* Rider = nullptr;             // the hero inside until the level is over; not owned
    float Alpha = 1.0f;                // 0..1, opacity
    float Timer = 0.0f;                // s since the hero stepped in
};
