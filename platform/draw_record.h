// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class DEVICE;
struct SDL_Texture;
struct SDL_Rect;
struct SDL_FRect;
struct SDL_FPoint;
struct SDL_Vertex;

// The renderer calls of some frames, written down as the platform makes
// them, so they can be played again straight into SDL with nothing of the
// game around them. That bare replay is what a frame's drawing costs at
// least; the benchmarks measure the game against it.
class DRAW_RECORD {
public:
    DRAW_RECORD();
    ~DRAW_RECORD();
    DRAW_RECORD(const DRAW_RECORD&) = delete;
    DRAW_RECORD& operator=(const DRAW_RECORD&) = delete;

    // Forgets what was recorded and writes every later call down, until
    // Stop. One record listens at a time; starting another stops this one.
    void Start();
    void Stop();
    bool Recording() const;
    void Forget();

    // Calls written down: picture copies, glyph batches, clears, presents.
    size_t Calls() const { return Ops.size(); }
    size_t Copies() const;
    // Of those, the ones the game copied without blending.
    size_t Unblended() const;

    // How a replay blends the copies: as the game chose for each, or every
    // one blended, as every picture was drawn before opaque ones were
    // copied (the baseline that choice is measured against).
    enum class BLENDING : uint8_t { AS_RECORDED, ALL };

    // Makes the recorded calls again, in order, on `device`'s renderer:
    // the same textures with the same colour and alpha, the same rectangles,
    // turns and flips, the same triangles. The textures must still exist.
    void Replay(DEVICE* device, BLENDING blending = BLENDING::AS_RECORDED) const;

    // What the platform calls while a record listens (null when none does).
    static DRAW_RECORD* Listening();
    void Clear(uint8_t r, uint8_t g, uint8_t b);
    void Copy(SDL_Texture* texture, const SDL_Rect* source, const SDL_FRect* target, double degrees,
              const SDL_FPoint* pivot, int flip, uint32_t argb, bool blend);
    void Geometry(SDL_Texture* texture, const SDL_Vertex* vertices, int vertexCount,
                  const int* indices, int indexCount);
    void Present();

private:
    enum class KIND : uint8_t { CLEAR, COPY, GEOMETRY, PRESENT };
    struct OP {
        KIND Kind = KIND::COPY;
        SDL_Texture* Texture = nullptr;
        uint32_t Argb = 0;     // colour and alpha modulation; the clear colour
        int Source[4] = {};    // texels: x, y, w, h
        float Target[4] = {};  // px: x, y, w, h
        float Pivot[2] = {};   // px from the target's corner
        double Degrees = 0.0;  // clockwise on screen
        int Flip = 0;          // SDL's flip bits
        bool Blend = true;     // false: copied without blending
        int FirstVertex = 0;   // glyph batch: where its vertices and
        int VertexCount = 0;   // indices start in the pools, and how many
        int FirstIndex = 0;
        int IndexCount = 0;
    };
    std::vector<OP> Ops;
    // The SDL vertices of every glyph batch, byte for byte, one batch after
    // another, so a replay hands them to SDL as they are.
    std::vector<unsigned char> Vertices;
    std::vector<int> Indices;
};
