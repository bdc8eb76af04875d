// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "objects/object.h"

inline constexpr int BOSS_KINDS = 3;  // one per stage

// The enemy of each stage's last level, in three kinds (one per stage). It
// tours three waypoints, attacks at each stop, and after enough stomps
// turns over and falls out of the level, which ends the level.
class BOSS final : public OBJECT {
public:
    // x, y in px, world; kind 0, 1 or 2.
    BOSS(DEVICE* device, float x, float y, WORLD* world, int kind);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;
    bool TouchHero(HERO* hero) override;
    void Hit() override;

    static constexpr float ARRIVED = 30.0f;  // px from a waypoint counts as there

    int32_t Kind = 0;                // 0..BOSS_KINDS-1, selects every per-boss constant
    int32_t WaypointIndex = 0;       // waypoint the boss is flying to
    int32_t Points = 0;              // score per hit; five times as much for the last
    float Angle = 0.0f;              // rad, turn of the picture
    float HurtTimer = 0.0f;          // s; blinks and cannot be touched while > 0
    float WaitTimer = 2.0f;          // s; stands still while > 0 (appearing, pausing)
    float Speed = 0.0f;              // px/s
    float Pause = 0.0f;              // s, the stop at each waypoint
    float DeathTime = 0.0f;          // s spent falling after turning over
    float Health = 1.0f;             // 1 unhurt; dead at or below 0
    bool Dying = false;              // set by the killing hit
    bool Arrived = false;            // at a waypoint until it moves again
    bool Appeared = false;           // the appearance sound has played
    std::vector<VECTOR2> Waypoints;  // px, world, toured in order
    HERO* Hero = nullptr;            // who last touched it; not owned

private:
    void Step(float dt);
    void Attack();
    void SpawnExplosion();
    void DrawGauge(SPRITE* sprite) const;
};
