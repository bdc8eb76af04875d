// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "objects/object.h"

// The small hats' kinds, by what they fire. Each has its own picture in its
// column of the small-hats sheet.
enum SMALLHAT_KIND : int32_t {
    HAT_BUBBLES,  // blows bubbles
    HAT_FLOZERS,  // launches flozers, slowly
    HAT_SPARKS,   // rapid damaging sparks
    HAT_FAN,      // a fan of three shoving sparks
    HAT_PUSHER,   // one shoving spark
    HAT_KINDS
};

// The common enemy of the normal levels: floats along its patrol path and
// every few seconds shoots its kind's weapon at a hero within 1000 px. It
// never hurts by touch; a hero hitting it faster than 500 px/s destroys it.
class SMALLHAT final : public OBJECT {
public:
    // position is in tiles. With followsPath the hat copies path (in tiles)
    // and starts on its point startIndex; otherwise it circles a small
    // triangle of its own around the position.
    SMALLHAT(DEVICE* device, VECTOR2 position, WORLD* world, int kind, bool followsPath,
             const std::vector<VECTOR2>& path, int startIndex);

    void Update(float dt) override;
    void Render(SPRITE* sprite, float zoom) override;
    bool IsDead() override;
    bool TouchHero(HERO* hero) override;
    void Hit() override;

    // Appearance and patrol
    float Alpha = 1.0f;          // 0..1, opacity while dying
    float Speed = 40.0f;         // px/s along the path
    float FireInterval = 0.0f;   // s, the kind's base time between shots
    float FireTimer = 0.0f;      // s to the next shot
    bool Dying = false;          // destroyed: fading, no longer fires or touches
    bool FollowsPath = false;    // true for a path from the level set-up
    int32_t Kind = HAT_BUBBLES;  // a SMALLHAT_KIND: the weapon, rate and points
    int32_t WaypointIndex = 0;   // path point the hat is moving to
    int32_t Points = 0;          // score for destroying it
    std::vector<VECTOR2> Path;   // px, world
    HERO* Hero = nullptr;        // seen at the last contact test; not owned

private:
    void Fire();
};
