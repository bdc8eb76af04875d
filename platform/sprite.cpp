// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sprite.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/device.h"
#include "platform/draw_record.h"
#include "platform/texture.h"

namespace {

constexpr ARGB FULL_ALPHA = 0xFF000000u;

// An opaque part drawn at full alpha looks the same copied as blended, and
// the software renderer copies it several times faster. Turned or mirrored
// draws keep blending as before: SDL's software renderer turns them by a
// path of its own, which without blending would mask every draw.
bool Blends(const TEXTURE& texture, const SDL_Rect& source, ARGB colour, double degrees, int flip) {
    return (colour & FULL_ALPHA) != FULL_ALPHA || degrees != 0.0 || flip != SDL_FLIP_NONE ||
           !texture.Opacity.Opaque(source.x, source.y, source.w, source.h);
}

}  // namespace

void SPRITE::Begin() {}
void SPRITE::End() {}

void SPRITE::Draw(const TEXTURE* texture, const RECT* source, const VECTOR2* scaling,
                  const VECTOR2* centre, float rotation, const VECTOR2* translation, ARGB colour) {
    if (!texture || !texture->Handle || !Device || !Device->Renderer()) {
        return;
    }
    // The source rectangle in logical texels, cut to the texture.
    float left = 0, top = 0, right = float(texture->Width), bottom = float(texture->Height);
    if (source) {
        left = float(source->left);
        top = float(source->top);
        right = float(source->right);
        bottom = float(source->bottom);
    }
    float cutLeft = std::max(left, 0.0f);
    float cutTop = std::max(top, 0.0f);
    float cutRight = std::min(right, float(texture->Width));
    float cutBottom = std::min(bottom, float(texture->Height));
    if (cutRight <= cutLeft || cutBottom <= cutTop) {
        return;
    }
    float sx = scaling ? scaling->x : 1.0f;
    float sy = scaling ? scaling->y : 1.0f;
    if (sx == 0.0f || sy == 0.0f) {
        return;
    }
    // Where the cut picture's top-left lies in the scaled picture's space.
    float offX = (cutLeft - left) * sx;
    float offY = (cutTop - top) * sy;
    float w = (cutRight - cutLeft) * sx;
    float h = (cutBottom - cutTop) * sy;
    int flip = SDL_FLIP_NONE;
    // A negative scale mirrors: SDL wants a positive size and a flip.
    if (w < 0) {
        offX += w;
        w = -w;
        flip |= SDL_FLIP_HORIZONTAL;
    }
    if (h < 0) {
        offY += h;
        h = -h;
        flip |= SDL_FLIP_VERTICAL;
    }
    float tx = translation ? translation->x : 0.0f;
    float ty = translation ? translation->y : 0.0f;
    float cx = centre ? centre->x : 0.0f;
    float cy = centre ? centre->y : 0.0f;

    // The texels to read, scaled from logical onto the decoded image.
    float kx = float(texture->ImageWidth) / float(texture->Width);
    float ky = float(texture->ImageHeight) / float(texture->Height);
    SDL_Rect src;
    src.x = int(std::lround(cutLeft * kx));
    src.y = int(std::lround(cutTop * ky));
    src.w = std::max(1, int(std::lround(cutRight * kx)) - src.x);
    src.h = std::max(1, int(std::lround(cutBottom * ky)) - src.y);

    SDL_FRect dst;
    SDL_FPoint pivot;
    double degrees = 0.0;
    if (rotation == 0.0f) {
        dst = {tx + offX, ty + offY, w, h};
        pivot = {0, 0};
    } else {
        // Turning the picture about the centre is the same as turning the
        // cut rectangle about the centre relative to its own corner.
        dst = {tx + offX, ty + offY, w, h};
        pivot = {cx - offX, cy - offY};
        degrees = -double(rotation) * 180.0 / M_PI;
    }
    if (Device->Blind) {
        ++Device->DrawCalls;
        return;
    }
    SDL_SetTextureColorMod(texture->Handle, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF,
                           colour & 0xFF);
    SDL_SetTextureAlphaMod(texture->Handle, (colour >> 24) & 0xFF);
    const bool blend = Blends(*texture, src, colour, degrees, flip);
    SDL_SetTextureBlendMode(texture->Handle, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    if (DRAW_RECORD* record = DRAW_RECORD::Listening()) {
        record->Copy(texture->Handle, &src, &dst, degrees, &pivot, flip, colour, blend);
    }
    SDL_RenderCopyExF(Device->Renderer(), texture->Handle, &src, &dst, degrees, &pivot,
                      static_cast<SDL_RendererFlip>(flip));
    ++Device->DrawCalls;
}
