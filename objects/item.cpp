// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/item.h"

#include <cmath>

#include "objects/hero.h"
#include "objects/sprites.h"
#include "platform/sound.h"
#include "world/world.h"

namespace {

// One row per kind, indexed by Kind.
struct ITEM_KIND {
    RECT Frame;         // on the bubble sheet, 60 x 60
    int32_t Points;     // given on collection
    SOUND_ID Sound;     // played on collection
    float GroundProbe;  // px below Position where it looks for ground
};

constexpr ITEM_KIND ITEM_KINDS[2] = {
    // frame                 points sound            probe
    {{720, 0, 780, 60}, 150, SOUND_CARROT, 6.0f},   // carrot: health to full
    {{600, 0, 660, 60}, 300, SOUND_HOTDOG, 14.0f},  // hot dog: a life; sits 8 px lower
};

constexpr float FALL_LIMIT = 3000.0f;  // px, world y; below this it fell out of the level
constexpr float FADE_RATE = 1.0f;      // opacity per s once taken

}  // namespace

ITEM::ITEM(DEVICE* device, float x, float y, WORLD* world, int32_t kind)
    // Anchored at the middle of the frame; drawn over the hero, so that a
    // pickup he stands in stays visible.
    : OBJECT(device, world, {x, y}, {30.0f, 30.0f}, LAYER_OVER_HERO),
      Kind(kind == HOTDOG ? HOTDOG : CARROT),
      Points(ITEM_KINDS[Kind].Points) {}

void ITEM::Update(float dt) {
    Box = {int32_t(std::trunc(Position.x - 20.0f)), int32_t(std::trunc(Position.y - 7.0f)),
           int32_t(std::trunc(Position.x + 20.0f)), int32_t(std::trunc(Position.y + 7.0f))};
    int probeY = int(std::trunc(Position.y + ITEM_KINDS[Kind].GroundProbe));
    if (World && World->GetTile(int(std::trunc(Position.x)), probeY) > 0) {
        Velocity.y = 0.0f;  // resting: now it can be taken
    } else {
        Velocity += GRAVITY * dt;
    }
    Position += Velocity * dt;
    if (Collected && Alpha > 0.0f) {
        Alpha -= FADE_RATE * dt;
    }
}

bool ITEM::IsDead() {
    return Alpha <= 0.0f || Position.y > FALL_LIMIT;
}

bool ITEM::TouchHero(HERO* hero) {
    // Only an item lying still can be taken, and only once.
    if (!hero || Collected || Velocity.y != 0.0f) {
        return false;
    }
    if (BoxesTouch(hero->Box, Box) || BoxesTouch(Box, hero->Box)) {
        hero->Score += Points;
        if (Kind == CARROT) {
            hero->Health = 1.0f;
        } else {
            hero->Lives += 1;
        }
        Sound.Play(ITEM_KINDS[Kind].Sound, false);
        Collected = true;
    }
    return false;  // a pickup never hurts
}

void ITEM::Render(SPRITE* sprite, float zoom) {
    VECTOR2 centre = Anchor * zoom;
    DrawFrame(sprite, BubbleSheet, ITEM_KINDS[Kind].Frame, zoom, 1.0f, &centre, 0.0f,
              WhiteWithAlpha(Alpha));
}
