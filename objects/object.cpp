// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "objects/object.h"

#include <cmath>

#include "platform/sprite.h"
#include "world/world.h"

bool BoxesTouch(const BOX& a, const BOX& b) {
    auto inside = [&b](int32_t x, int32_t y) {
        return b.left <= x && x <= b.right && b.top <= y && y <= b.bottom;
    };
    return inside(a.left, a.top) || inside(a.right, a.top) || inside(a.left, a.bottom) ||
           inside(a.right, a.bottom);
}

bool OBJECT::TouchHero(HERO*) {
    return false;
}
void OBJECT::Hit() {}

void OBJECT::DrawFrame(SPRITE* sprite, const TEXTURE* sheet, const RECT& frame, float zoom,
                       float scale, const VECTOR2* centre, float rotation, ARGB colour) const {
    DrawFrameAt(sprite, sheet, frame, zoom, Position, Anchor, scale, centre, rotation, colour);
}

void OBJECT::DrawFrameAt(SPRITE* sprite, const TEXTURE* sheet, const RECT& frame, float zoom,
                         const VECTOR2& at, const VECTOR2& anchor, float scale,
                         const VECTOR2* centre, float rotation, ARGB colour) const {
    if (!sprite || !World) {
        return;
    }
    VECTOR2 s = World->WorldToScreen(at.x, at.y, zoom) - anchor * (zoom * scale);
    VECTOR2 scaling{zoom * scale, zoom * scale};
    sprite->Draw(sheet, &frame, &scaling, centre, rotation, &s, colour);
}

BOX BoxAbout(VECTOR2 centre, float reach) {
    return {int32_t(std::trunc(centre.x - reach)), int32_t(std::trunc(centre.y - reach)),
            int32_t(std::trunc(centre.x + reach)), int32_t(std::trunc(centre.y + reach))};
}

TILE_PROBES ProbeTiles(const WORLD& world, VECTOR2 centre, float reach) {
    int x = int(std::trunc(centre.x));
    int y = int(std::trunc(centre.y));
    TILE_PROBES probes;
    probes.Below = world.GetTile(x, int(std::trunc(centre.y + reach))) > 0;
    probes.Side = world.GetTile(int(std::trunc(centre.x - reach)), y) > 0 ||
                  world.GetTile(int(std::trunc(centre.x + reach)), y) > 0;
    return probes;
}
