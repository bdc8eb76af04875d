// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/toilet.h"

#include <cmath>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

// The ride, in seconds since the hero stepped in, and its numbers.
constexpr float CLIMB_END = 2.0f;     // s; accelerating upwards until then
constexpr float BRAKE_END = 4.0f;     // s; slowing back to a halt until then
constexpr float CLIMB_RATE = 15.0f;   // px/s², both speeding up and braking
constexpr float FADE_RATE = 0.5f;     // opacity per s: two seconds to vanish
constexpr float RIDER_GUARD = 10.0f;  // s of invulnerability, longer than the ride
constexpr int32_t EXIT_POINTS = 400;

// On the stuff2 sheet, indexed by Lid: closed, then open.
constexpr RECT LID_FRAMES[2] = {
    {0, 118, 49, 202},    // 49 x 84, the lid shut over the hero
    {49, 118, 123, 202},  // 74 x 84, open and waiting
};

}  // namespace

// The foot of the bowl stands on Position.
TOILET::TOILET(DEVICE* device, VECTOR2 position, WORLD* world)
    : OBJECT(device, world, position * float(TILE_SIZE), {23.0f, 84.0f}) {}

void TOILET::Update(float dt) {
    // Only a post 6 px wide in the middle counts, so the hero has to walk
    // right into the toilet rather than brush its side.
    Box = {int32_t(std::trunc(Position.x - 3.0f)), int32_t(std::trunc(Position.y - 60.0f)),
           int32_t(std::trunc(Position.x + 3.0f)), int32_t(std::trunc(Position.y - 5.0f))};
    if (!Rider) {
        return;
    }
    Rider->Position = Position;  // carried along, hidden inside
    Timer += dt;
    Position += Velocity * dt;
    if (Timer < CLIMB_END) {
        Velocity.y -= CLIMB_RATE * dt;
    } else if (Timer < BRAKE_END) {
        if (!RiseSoundPlayed) {
            RiseSoundPlayed = true;
            Sound.Play(SOUND_TOILET_RISE, false);
        }
        Velocity.y += CLIMB_RATE * dt;
    } else {
        if (!TeleportSoundPlayed) {
            TeleportSoundPlayed = true;
            Sound.Play(SOUND_TELEPORT, false);
        }
        Alpha -= FADE_RATE * dt;
        if (Alpha < 0.0f) {
            Alpha = 0.0f;
            Rider->LevelOver = true;
            Rider = nullptr;  // gone: the toilet stays here, invisible
        }
    }
}

bool TOILET::TouchHero(HERO* hero) {
    // One rider per level: once the lid has shut, nothing enters again, so a
    // second touch can never pay the exit points twice.
    if (!hero || Lid != 1) {
        return false;
    }
    if (BoxesTouch(hero->Box, Box) || BoxesTouch(Box, hero->Box)) {
        Lid = 0;
        Rider = hero;
        hero->Active = false;
        hero->InvulnerableTime = RIDER_GUARD;
        hero->Score += EXIT_POINTS;
        Sound.Play(SOUND_DOOR_CLOSE, false);
    }
    return false;  // the exit never hurts
}

void TOILET::Render(SPRITE* sprite, float zoom) {
    VECTOR2 centre = Anchor * zoom;
    DrawFrame(sprite, Stuff2Sheet, LID_FRAMES[Lid == 0 ? 0 : 1], zoom, 1.0f, &centre, 0.0f,
              WhiteWithAlpha(Alpha));
}
