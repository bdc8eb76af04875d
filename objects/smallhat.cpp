// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/smallhat.h"

#include <cmath>

#include "objects/bubble.h"
#include "objects/flozer.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "objects/puff.h"
#include "objects/spark.h"
#include "objects/sprites.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

enum class SHOT { BUBBLE, FLOZER, DAMAGING_SPARK, THREE_PUSHING_SPARKS, PUSHING_SPARK };

struct KIND_ROW {
    float FireInterval;  // s between shots, plus a random 0..5 s each time
    int32_t Points;      // score for destroying one
    SHOT Shot;           // what it fires at the hero
    float ShotSpeed;     // share of SHOT_SPEED; the fan's sparks fly at FAN_SPEED
    bool FireSound;      // whether firing is heard
};

// By SMALLHAT_KIND; each kind's picture is its column of the small-hats
// sheet.
constexpr KIND_ROW KINDS[HAT_KINDS] = {
    {2.0f, 70, SHOT::BUBBLE, 0.5f, false},                // HAT_BUBBLES
    {5.0f, 90, SHOT::FLOZER, 0.4f, false},                // HAT_FLOZERS
    {1.0f, 150, SHOT::DAMAGING_SPARK, 1.4f, false},       // HAT_SPARKS
    {2.5f, 110, SHOT::THREE_PUSHING_SPARKS, 1.0f, true},  // HAT_FAN
    {3.0f, 50, SHOT::PUSHING_SPARK, 1.0f, true},          // HAT_PUSHER
};

constexpr int FRAME_SIZE = 128;        // px, one kind's picture
constexpr float REACH = 1000.0f;       // px; a hero farther away is left alone
constexpr float SHOT_SPEED = 200.0f;   // px/s of the basic aimed shot
constexpr float FAN_SPEED = 240.0f;    // px/s of each spark of the fan
constexpr float ARRIVED = 30.0f;       // px from a path point counts as there
constexpr float SMASH_SPEED = 500.0f;  // px/s the hero needs to destroy a hat

}  // namespace

SMALLHAT::SMALLHAT(DEVICE* device, VECTOR2 position, WORLD* world, int kind, bool followsPath,
                   const std::vector<VECTOR2>& path, int startIndex)
    : OBJECT(device, world, position * static_cast<float>(TILE_SIZE), {64.0f, 64.0f}) {
    // An unknown kind would read past the table; the mildest hat stands in.
    Kind = (kind >= 0 && kind < HAT_KINDS) ? kind : HAT_PUSHER;
    FollowsPath = followsPath;
    if (FollowsPath && !path.empty()) {
        for (const VECTOR2& point : path) {
            Path.push_back(point * static_cast<float>(TILE_SIZE));
        }
        // A start index past the end wraps round rather than reading past it.
        int count = static_cast<int>(Path.size());
        WaypointIndex = ((startIndex % count) + count) % count;
        Position = Path[WaypointIndex];
    } else {
        // Without a path (or with an empty one) the hat circles a small
        // triangle around where it was put.
        FollowsPath = false;
        Path = {Position + VECTOR2{-300.0f, 0.0f}, Position + VECTOR2{0.0f, -150.0f},
                Position + VECTOR2{300.0f, 0.0f}};
        WaypointIndex = 0;
    }
    FireInterval = KINDS[Kind].FireInterval;
    Points = KINDS[Kind].Points;
    FireTimer = FireInterval;
}

void SMALLHAT::Update(float dt) {
    Box = {static_cast<int32_t>(Position.x - 45.0f), static_cast<int32_t>(Position.y - 30.0f),
           static_cast<int32_t>(Position.x + 45.0f), static_cast<int32_t>(Position.y + 20.0f)};
    if (Dying) {
        Alpha -= dt;
    }

    // A destroyed hat drifts on along its path while it fades.
    VECTOR2 target = Path[WaypointIndex];
    Position += (target - Position).Normalised() * (Speed * dt);
    if ((target - Position).Length() < ARRIVED) {
        ++WaypointIndex;
        if (WaypointIndex >= static_cast<int32_t>(Path.size())) {
            WaypointIndex = 0;
            // A map path runs across the level once and starts again from
            // its first point; the hat's own triangle simply closes.
            if (FollowsPath) {
                Position = Path[0];
            }
        }
    }

    FireTimer -= dt;
    if (FireTimer <= 0.0f && !Dying) {
        FireTimer = static_cast<float>(Rand() % 5000) / 1000.0f + FireInterval;
        Fire();
    }
}

void SMALLHAT::Fire() {
    if (!Hero || (Hero->Position - Position).Length() >= REACH) {
        return;
    }
    // Aimed at a point 30 px above the hero's feet.
    VECTOR2 aimVector = (Hero->Position - VECTOR2{0.0f, 30.0f}) - Position;
    VECTOR2 aim = aimVector.Normalised() * SHOT_SPEED;
    const KIND_ROW& k = KINDS[Kind];
    VECTOR2 v = aim * k.ShotSpeed;
    float x = Position.x;
    float y = Position.y;
    switch (k.Shot) {
        case SHOT::PUSHING_SPARK:
            World->AddObjectFront(new SPARK(Device, x, y, v.x, v.y, World, 1));
            break;
        case SHOT::BUBBLE:
            World->AddObjectFront(new BUBBLE(Device, x, y, v.x, v.y, World, 0.0f));
            break;
        case SHOT::FLOZER:
            World->AddObjectFront(new FLOZER(Device, x, y, v.x, v.y, World, 0.0f));
            break;
        case SHOT::THREE_PUSHING_SPARKS: {
            // The fan's side shots bend by a fixed offset, so the spread
            // narrows as the hero gets farther away.
            const VECTOR2 spread{150.0f, 150.0f};
            const VECTOR2 fan[3] = {aimVector.Normalised() * FAN_SPEED,
                                    (aimVector + spread).Normalised() * FAN_SPEED,
                                    (aimVector - spread).Normalised() * FAN_SPEED};
            for (const VECTOR2& s : fan) {
                World->AddObjectFront(new SPARK(Device, x, y, s.x, s.y, World, 1));
            }
            break;
        }
        case SHOT::DAMAGING_SPARK:
            World->AddObjectFront(new SPARK(Device, x, y, v.x, v.y, World, 0));
            break;
    }
    if (k.FireSound) {
        Sound.Play(SOUND_SMALLHAT_FIRE, false);
    }
}

bool SMALLHAT::TouchHero(HERO* hero) {
    if (!hero || Dying) {
        return false;
    }
    Hero = hero;
    if (!hero->Active) {
        return false;
    }
    if (!BoxesTouch(hero->Box, Box) && !BoxesTouch(Box, hero->Box)) {
        return false;
    }
    if (hero->Velocity.Length() > SMASH_SPEED) {
        Hit();
        hero->Velocity *= 0.7f;
    }
    // Never a hurting contact: the hero does not bounce off a hat.
    return false;
}

void SMALLHAT::Hit() {
    if (Dying) {
        return;
    }
    Dying = true;
    // Six puffs a little less than 60° apart (0.333, not a true third).
    for (int i = 0; i < 6; ++i) {
        float a = static_cast<float>(i) * 3.14159265f * 0.333f;
        VECTOR2 direction{std::cos(a), std::sin(a)};
        VECTOR2 at = Position + direction * 7.0f;
        VECTOR2 v = direction * 20.0f;
        World->AddObject(new PUFF(Device, at.x, at.y, v.x, v.y, World, 6.0f, 0.0f, 0.0f, 0.6f));
    }
    // One hat in three leaves a carrot or a hot dog behind.
    if (Rand() % 3 == 0) {
        int itemKind = Rand() % 2;
        World->AddObject(new ITEM(Device, Position.x, Position.y, World, itemKind));
    }
    if (Hero) {
        Hero->Score += Points;
    }
    Sound.Play(SOUND_SMALLHAT_HURT, false);
}

bool SMALLHAT::IsDead() {
    return Dying && Alpha <= 0.0f;
}

void SMALLHAT::Render(SPRITE* sprite, float zoom) {
    RECT frame{FRAME_SIZE * Kind, 0, FRAME_SIZE * Kind + FRAME_SIZE, FRAME_SIZE};
    VECTOR2 centre{64.0f * zoom, 64.0f * zoom};
    DrawFrame(sprite, SmallHatsSheet, frame, zoom, 1.0f, &centre, 0.0f, WhiteWithAlpha(Alpha));
}
