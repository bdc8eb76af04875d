// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/draw_record.h"

#include <SDL.h>

#include "platform/device.h"

namespace {

static_assert(sizeof(SDL_Vertex) % alignof(SDL_Vertex) == 0, "vertex pool stays aligned");

DRAW_RECORD* Current = nullptr;

}  // namespace

DRAW_RECORD::DRAW_RECORD() = default;

DRAW_RECORD::~DRAW_RECORD() {
    Stop();
}

void DRAW_RECORD::Start() {
    Forget();
    Current = this;
}

void DRAW_RECORD::Stop() {
    if (Current == this) {
        Current = nullptr;
    }
}

bool DRAW_RECORD::Recording() const {
    return Current == this;
}

void DRAW_RECORD::Forget() {
    Ops.clear();
    Vertices.clear();
    Indices.clear();
}

size_t DRAW_RECORD::Copies() const {
    size_t copies = 0;
    for (const OP& op : Ops) {
        copies += op.Kind == KIND::COPY ? 1 : 0;
    }
    return copies;
}

size_t DRAW_RECORD::Unblended() const {
    size_t unblended = 0;
    for (const OP& op : Ops) {
        unblended += op.Kind == KIND::COPY && !op.Blend ? 1 : 0;
    }
    return unblended;
}

DRAW_RECORD* DRAW_RECORD::Listening() {
    return Current;
}

void DRAW_RECORD::Clear(uint8_t r, uint8_t g, uint8_t b) {
    OP op;
    op.Kind = KIND::CLEAR;
    op.Argb = 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    Ops.push_back(op);
}

void DRAW_RECORD::Copy(SDL_Texture* texture, const SDL_Rect* source, const SDL_FRect* target,
                       double degrees, const SDL_FPoint* pivot, int flip, uint32_t argb,
                       bool blend) {
    OP op;
    op.Kind = KIND::COPY;
    op.Texture = texture;
    op.Argb = argb;
    op.Source[0] = source->x;
    op.Source[1] = source->y;
    op.Source[2] = source->w;
    op.Source[3] = source->h;
    op.Target[0] = target->x;
    op.Target[1] = target->y;
    op.Target[2] = target->w;
    op.Target[3] = target->h;
    op.Pivot[0] = pivot->x;
    op.Pivot[1] = pivot->y;
    op.Degrees = degrees;
    op.Flip = flip;
    op.Blend = blend;
    Ops.push_back(op);
}

void DRAW_RECORD::Geometry(SDL_Texture* texture, const SDL_Vertex* vertices, int vertexCount,
                           const int* indices, int indexCount) {
    OP op;
    op.Kind = KIND::GEOMETRY;
    op.Texture = texture;
    op.FirstVertex = int(Vertices.size() / sizeof(SDL_Vertex));
    op.VertexCount = vertexCount;
    op.FirstIndex = int(Indices.size());
    op.IndexCount = indexCount;
    const auto* bytes = reinterpret_cast<const unsigned char*>(vertices);
    Vertices.insert(Vertices.end(), bytes, bytes + size_t(vertexCount) * sizeof(SDL_Vertex));
    Indices.insert(Indices.end(), indices, indices + indexCount);
    Ops.push_back(op);
}

void DRAW_RECORD::Present() {
    OP op;
    op.Kind = KIND::PRESENT;
    Ops.push_back(op);
}

void DRAW_RECORD::Replay(DEVICE* device, BLENDING blending) const {
    SDL_Renderer* renderer = device ? device->Renderer() : nullptr;
    if (!renderer) {
        return;
    }
    for (const OP& op : Ops) {
        switch (op.Kind) {
            case KIND::CLEAR:
                SDL_SetRenderDrawColor(renderer, (op.Argb >> 16) & 0xFF, (op.Argb >> 8) & 0xFF,
                                       op.Argb & 0xFF, 0xFF);
                SDL_RenderClear(renderer);
                break;
            case KIND::COPY: {
                SDL_SetTextureColorMod(op.Texture, (op.Argb >> 16) & 0xFF, (op.Argb >> 8) & 0xFF,
                                       op.Argb & 0xFF);
                SDL_SetTextureAlphaMod(op.Texture, (op.Argb >> 24) & 0xFF);
                const bool blend = op.Blend || blending == BLENDING::ALL;
                SDL_SetTextureBlendMode(op.Texture,
                                        blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
                SDL_Rect src{op.Source[0], op.Source[1], op.Source[2], op.Source[3]};
                SDL_FRect dst{op.Target[0], op.Target[1], op.Target[2], op.Target[3]};
                SDL_FPoint pivot{op.Pivot[0], op.Pivot[1]};
                SDL_RenderCopyExF(renderer, op.Texture, &src, &dst, op.Degrees, &pivot,
                                  static_cast<SDL_RendererFlip>(op.Flip));
                break;
            }
            case KIND::GEOMETRY: {
                // SDL_Vertex holds floats and bytes only, 20 bytes a vertex,
                // so every batch in the pool starts suitably aligned.
                const auto* vertices = reinterpret_cast<const SDL_Vertex*>(
                    Vertices.data() + size_t(op.FirstVertex) * sizeof(SDL_Vertex));
                SDL_RenderGeometry(renderer, op.Texture, vertices, op.VertexCount,
                                   Indices.data() + op.FirstIndex, op.IndexCount);
                break;
            }
            case KIND::PRESENT:
                SDL_RenderPresent(renderer);
                break;
        }
    }
}
